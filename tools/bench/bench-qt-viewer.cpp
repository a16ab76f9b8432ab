// The Linux plug-in's figures, printed rather than asserted, measured as the
// Win32 viewer's are (tools/bench/bench-viewer.cpp): a host program of our
// own loads corvelle.wlx as Double Commander does, gives it a window, and
// times from the entry point or the key until the page is drawn. Run under
// a display (tools/bench-qt-viewer.sh starts Xvfb): the pages are painted.
//
//   bench-qt-viewer MODULE [FOLDER]
#include <dlfcn.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tools/fixtures/PalmDocWriter.h"
#include "tools/fixtures/PalmWriter.h"

namespace {

using LoadW = void* (*)(void*, const uint16_t*, int);
using Close = void (*)(void*);

struct Module {
    LoadW load = nullptr;
    Close close = nullptr;
};

// Whether a widget has been painted since the flag was last lowered.
class PaintWatch final : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted = true;
        return false;
    }
};

double Elapsed(const QElapsedTimer& clock) { return static_cast<double>(clock.nsecsElapsed()) / 1e6; }

// Runs the loop until `widget` has been drawn; the longest single turn of the
// loop meanwhile goes to `longest`.
void UntilPainted(QWidget* widget, double* longest = nullptr) {
    PaintWatch watch;
    widget->installEventFilter(&watch);
    QElapsedTimer limit;
    limit.start();
    while (!watch.painted && limit.elapsed() < 60000) {
        QElapsedTimer turn;
        turn.start();
        QApplication::processEvents(QEventLoop::AllEvents);
        if (longest != nullptr) *longest = std::max(*longest, Elapsed(turn));
    }
    widget->removeEventFilter(&watch);
}

std::string Write(const QTemporaryDir& folder, const char* name, const std::string& bytes) {
    const std::string path = folder.filePath(name).toStdString();
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

const uint16_t* Wide(const QString& text) { return reinterpret_cast<const uint16_t*>(text.utf16()); }

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

// A host window as Double Commander's viewer gives one, and the viewer in it.
struct Opened {
    Opened(const Module& module, const std::string& path) {
        window.resize(1000, 750);
        window.show();
        QApplication::processEvents();
        clock.start();
        viewer = static_cast<QWidget*>(module.load(&window, Wide(QString::fromStdString(path)), 0));
        loaded = Elapsed(clock);
        if (viewer != nullptr) viewer->resize(window.size());
    }
    QWidget window;
    QWidget* viewer = nullptr;
    QElapsedTimer clock;
    double loaded = 0;
};

void Press(QWidget* viewer, int key) {
    QWidget* target = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : viewer;
    QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier);
    QApplication::sendEvent(target, &press);
}

// F3 (the entry point) until the report's first screen is drawn; for a big
// report also until all of it is in, and the longest turn of the loop meanwhile.
void BenchReport(const Module& module, const std::string& path, const char* what, bool whole) {
    std::vector<double> drawn;
    for (int run = 0; run < 5; ++run) {
        Opened opened(module, path);
        if (opened.viewer == nullptr) return (void)std::printf("%s: no viewer\n", what);
        UntilPainted(opened.viewer->findChild<QPlainTextEdit*>("report")->viewport());
        drawn.push_back(Elapsed(opened.clock));
        if (whole && run == 4) {
            QTabWidget* tabs = opened.viewer->findChild<QTabWidget*>();
            double longest = 0;
            while (tabs->tabText(0) != "Image Dump") {
                QElapsedTimer turn;
                turn.start();
                QApplication::processEvents(QEventLoop::AllEvents);
                longest = std::max(longest, Elapsed(turn));
            }
            std::printf("%s: whole report in after %.0f ms, longest turn of the host's loop %.0f ms, "
                        "resident memory %ld MB\n",
                        what, Elapsed(opened.clock), longest, ResidentKilobytes() / 1024);
        }
        module.close(opened.viewer);
    }
    std::sort(drawn.begin(), drawn.end());
    std::printf("%s: F3 (ListLoadW) to a drawn report %.1f ms best, %.1f ms median of 5\n", what, drawn[0], drawn[2]);
}

// Ctrl+N on a viewer whose first page is drawn, until page N's control is drawn.
void BenchPage(const Module& module, const std::string& path, const char* what, int key, const char* control) {
    std::vector<double> drawn;
    for (int run = 0; run < 5; ++run) {
        Opened opened(module, path);
        if (opened.viewer == nullptr) return (void)std::printf("%s: no viewer\n", what);
        UntilPainted(opened.viewer->findChild<QPlainTextEdit*>("report")->viewport());
        QElapsedTimer clock;
        clock.start();
        Press(opened.viewer, key);
        QAbstractScrollArea* area = opened.viewer->findChild<QAbstractScrollArea*>(control);
        if (area == nullptr) return (void)std::printf("%s: no page\n", what);
        UntilPainted(area->viewport());
        drawn.push_back(Elapsed(clock));
        module.close(opened.viewer);
    }
    std::sort(drawn.begin(), drawn.end());
    std::printf("%s: %.1f ms best, %.1f ms median of 5\n", what, drawn[0], drawn[2]);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench-qt-viewer MODULE\n");
        return 2;
    }
    QApplication application(argc, argv);
    void* handle = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) return std::fprintf(stderr, "%s\n", dlerror()), 1;
    Module module;
    module.load = reinterpret_cast<LoadW>(dlsym(handle, "ListLoadW"));
    module.close = reinterpret_cast<Close>(dlsym(handle, "ListCloseWindow"));
    if (module.load == nullptr || module.close == nullptr) return std::fprintf(stderr, "no entry points\n"), 1;

    using namespace corvelle::samples;
    QTemporaryDir folder;
    const std::string small = Write(folder, "small.pdb", SerializePalmDatabase(SyntheticRecordDatabase(10)));
    const std::string big = Write(folder, "big.pdb", SerializePalmDatabase(SyntheticRecordDatabase(65535)));
    // A PalmDOC book of about 10 MB of text, as the Win32 figures' book.
    const std::string book = Write(folder, "book.pdb", SerializePalmDatabase(PalmDocBook("Book", SampleBookText(45000))));
    std::printf("Linux plug-in %s, Qt %s, %ld processors online\n", argv[1], qVersion(), sysconf(_SC_NPROCESSORS_ONLN));
    BenchReport(module, small, "small database (10 records)", false);
    BenchReport(module, big, "65535 records", true);
    BenchPage(module, big, "Records page of 65535 records: Ctrl+3 to a drawn list", Qt::Key_3, "records");
    BenchPage(module, book, "Text page of a 10 MB PalmDOC book: Ctrl+4 to a drawn first screen", Qt::Key_4, "text");
    return 0;
}
