// The module Double Commander loads, through its entry points as the host
// calls them: the settings it is pointed to, the names it takes, its
// commands, and handles that are not (or no longer) its viewers.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextEdit>

#include <cstring>
#include <vector>

#include "qt/QtEdge.h"
#include "tools/fixtures/PalmDocWriter.h"
#include "tools/fixtures/PalmWriter.h"

namespace {

struct Module {
    Module() : handle(dlopen(CORVELLE_QT_MODULE, RTLD_NOW | RTLD_LOCAL)) {
        if (handle == nullptr) return;
        Find(loadW, "ListLoadW");
        Find(load, "ListLoad");
        Find(close, "ListCloseWindow");
        Find(command, "ListSendCommand");
        Find(searchW, "ListSearchTextW");
        Find(defaults, "ListSetDefaultParams");
        Find(detect, "ListGetDetectString");
    }
    template <class Function>
    void Find(Function& function, const char* name) {
        function = reinterpret_cast<Function>(dlsym(handle, name));
    }
    void* handle;
    void* (*loadW)(void*, const uint16_t*, int) = nullptr;
    void* (*load)(void*, const char*, int) = nullptr;
    void (*close)(void*) = nullptr;
    int (*command)(void*, int, int) = nullptr;
    int (*searchW)(void*, const uint16_t*, int) = nullptr;
    void (*defaults)(void*) = nullptr;
    void (*detect)(char*, int) = nullptr;
};

Module& Plugin() {
    static Module module;  // never unloaded, as by the host
    return module;
}

const uint16_t* Wide(const QString& text) { return reinterpret_cast<const uint16_t*>(text.utf16()); }

// Double Commander's record: size, version, then the INI name in 32000 bytes.
void PointTo(const QString& iniPath) {
    std::vector<char> record(32012, '\0');
    const int32_t words[3] = {32012, 0, 2};
    std::memcpy(record.data(), words, sizeof words);
    const QByteArray name = QFile::encodeName(iniPath);
    std::memcpy(record.data() + 12, name.constData(), static_cast<size_t>(name.size()));
    Plugin().defaults(record.data());
}

bool Write(const QString& path, const std::string& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
                                                  static_cast<qint64>(bytes.size());
}

class LinuxPlugin : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(Plugin().handle, nullptr) << dlerror();
        ASSERT_TRUE(Plugin().loadW && Plugin().close && Plugin().command && Plugin().searchW && Plugin().defaults);
        ASSERT_TRUE(folder.isValid());
        memos = folder.filePath("Memos.pdb");
        ASSERT_TRUE(Write(memos, corvelle::samples::SerializePalmDatabase(corvelle::samples::MemoSample())));
        PointTo(folder.filePath("wlx.ini"));
        host.resize(640, 480);
    }
    QTemporaryDir folder;
    QString memos;
    QWidget host;
};

TEST_F(LinuxPlugin, TakesOnlyItsNamesAndCarriesOutTheHostsCommands) {
    const std::string names[] = {"/palm/Memos.txt", "Memos.pdb", "/palm/..pdb", ""};
    for (const std::string& name : names) EXPECT_EQ(Plugin().load(&host, name.c_str(), 0), nullptr) << name;
    EXPECT_EQ(Plugin().loadW(nullptr, Wide(memos), 0), nullptr) << "no parent";
    void* viewer = Plugin().loadW(&host, Wide(memos), 0);
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(static_cast<QWidget*>(viewer)->parentWidget(), &host);
    EXPECT_EQ(Plugin().command(viewer, 3, 0), 0);  // select all
    EXPECT_EQ(Plugin().command(viewer, 1, 0), 0);  // copy
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith("Header Information :\n"));
    EXPECT_EQ(Plugin().searchW(viewer, Wide("MemoDB"), 1), 0);
    EXPECT_EQ(Plugin().searchW(viewer, Wide("no such text"), 1), 1);
    EXPECT_EQ(Plugin().command(viewer, 99, 0), 1);
    int foreign = 0;
    EXPECT_EQ(Plugin().command(&foreign, 1, 0), 1);
    Plugin().close(&foreign);  // not ours: left alone
    QPointer<QWidget> watched(static_cast<QWidget*>(viewer));
    Plugin().close(viewer);
    EXPECT_TRUE(watched.isNull());
    Plugin().close(viewer);  // already gone: nothing happens
    // The host may destroy its window, and the viewer with it, without closing it first.
    auto* window = new QWidget;
    void* orphan = Plugin().loadW(window, Wide(memos), 0);
    ASSERT_NE(orphan, nullptr);
    delete window;
    EXPECT_EQ(Plugin().command(orphan, 1, 0), 1);
    Plugin().close(orphan);
    char detect[64];
    Plugin().detect(detect, sizeof detect);
    EXPECT_STREQ(detect, "EXT=\"PDB\" | EXT=\"PRC\" | EXT=\"PQA\"");
}

// The options beside the host's INI file and the host's viewer fonts.
TEST_F(LinuxPlugin, FollowsTheOptionsAndTheHostsFonts) {
    ASSERT_TRUE(Write(folder.filePath("corvelle.ini"), "[Options]\nEncoding=cp1251\nStartPage=text\n"));
    ASSERT_TRUE(Write(folder.filePath("doublecmd.xml"),
                      "<?xml version=\"1.0\"?>\n<doublecmd><Fonts><Main><Name>Serif</Name></Main>"
                      "<Viewer><Name>DejaVu Sans Mono</Name><Size>13</Size><Style>1</Style></Viewer>"
                      "<ViewerBook><Name>DejaVu Serif</Name><Size>15</Size><Style>2</Style></ViewerBook>"
                      "</Fonts></doublecmd>\n"));
    const QString book = folder.filePath("Book.pdb");
    ASSERT_TRUE(Write(book, corvelle::samples::SerializePalmDatabase(corvelle::samples::PalmDocBook("B", "\xC4\xEE\xEC\n"))));
    auto* viewer = static_cast<QWidget*>(Plugin().loadW(&host, Wide(book), 0));
    ASSERT_NE(viewer, nullptr);
    auto* tabs = viewer->findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->currentIndex(), 3) << "StartPage=text";
    auto* text = viewer->findChild<QTextEdit*>("text");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->toPlainText(), QString::fromUtf8("\xD0\x94\xD0\xBE\xD0\xBC\n"));
    EXPECT_EQ(text->font().family(), "DejaVu Serif");
    EXPECT_TRUE(text->font().italic());
    const QFont report = viewer->findChild<QPlainTextEdit*>("report")->font();
    EXPECT_EQ(report.family(), "DejaVu Sans Mono");
    EXPECT_EQ(report.pointSizeF(), 13);
    EXPECT_TRUE(report.bold());
    Plugin().close(viewer);
    // A record that names no INI file: the options and fonts are the defaults.
    PointTo(QString());
    viewer = static_cast<QWidget*>(Plugin().loadW(&host, Wide(book), 0));
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->findChild<QTabWidget*>()->currentIndex(), 0);
    Plugin().close(viewer);
}

}  // namespace
