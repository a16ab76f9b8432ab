#include "plugin/qt/LinuxLoader.h"

#include <QApplication>

#include <set>

#include "model/TabStops.h"
#include "model/ViewedDatabase.h"
#include "plugin/Settings.h"
#include "plugin/qt/HostFont.h"
#include "plugin/qt/PosixSettingsPlatform.h"
#include "qt/ViewerWidget.h"

namespace corvelle::qt {
namespace {

// The options file, when none is beside the module: in the host's
// configuration folder.
constexpr char kOptionsFileName[] = "corvelle.ini";

std::string g_hostConfigDir;
// The viewers alive now. The host may destroy its window (and ours with it)
// without ListCloseWindow; a viewer leaves this set as it goes.
std::set<ViewerWidget*> g_viewers;

}  // namespace

void SetHostConfigDir(const std::string& suggestedIni) {
    const size_t slash = suggestedIni.rfind('/');
    g_hostConfigDir = slash == std::string::npos ? std::string() : suggestedIni.substr(0, slash);
}

ViewerWidget* LoadViewer(QWidget* parent, const std::string& path) {
    // A host of another toolkit has no Qt application to show widgets in.
    if (parent == nullptr || qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return nullptr;
    try {
        PosixSettingsPlatform platform(g_hostConfigDir);
        char options[kPathCapacity] = {};
        CopyCut(options, sizeof options, kOptionsFileName);
        LocateOptionsFile(platform, options, sizeof options);
        const CodePageInfo& encoding = ReadTextEncoding(platform, options);
        ViewerLooks looks;
        const HostFonts fonts = ReadHostFonts(g_hostConfigDir);
        looks.font = FontOf(fonts.viewer, true);
        looks.bookFont = FontOf(fonts.book, false);
        // Double Commander gives its font in points; the twips of the Lister
        // font, negative as Total Commander's, give the Win32 page's tab stops.
        const TabStops stops = TabStopsForFontHeight(-static_cast<int32_t>(looks.font.pointSizeF() * 20));
        looks.tabStops.assign(stops.begin(), stops.end());
        auto viewed = std::make_unique<ViewedDatabase>(path, encoding);
        if (viewed->HasDocument()) looks.startOnText = ReadStartOnText(platform, options);
        auto* viewer = new ViewerWidget(parent, std::move(viewed), looks);
        g_viewers.insert(viewer);
        QObject::connect(viewer, &QObject::destroyed, [viewer] { g_viewers.erase(viewer); });
        viewer->show();
        return viewer;
    } catch (...) {
        return nullptr;  // the viewer, if made, went with the unwinding
    }
}

ViewerWidget* FindViewer(void* handle) {
    auto* viewer = static_cast<ViewerWidget*>(handle);
    return g_viewers.count(viewer) != 0 ? viewer : nullptr;
}

}  // namespace corvelle::qt
