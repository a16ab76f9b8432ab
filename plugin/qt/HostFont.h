// The Lister font on Linux: Double Commander's viewer font, from its
// configuration (doublecmd.xml, <Fonts><Viewer>), which its own viewer draws
// text in, and its book font (<Fonts><ViewerBook>) for a book's text, as its
// own viewer shows a book. Where none is configured the system's monospace
// font serves for the first and its usual font for the second.
#pragma once

#include <QFont>
#include <QString>

#include <optional>
#include <string>

namespace corvelle::qt {

struct HostFontSetting {
    QString name;     // "default" or empty: the system's own
    double points = 0;
    bool bold = false;
    bool italic = false;
};

struct HostFonts {
    std::optional<HostFontSetting> viewer;
    std::optional<HostFontSetting> book;
};

// The viewer's fonts of Double Commander's configuration text; none where
// the text holds none (or is not its configuration).
HostFonts ReadViewerFonts(const QByteArray& doublecmdXml);

// The font a page draws in: the setting's face and size where it names
// them, else the system's font of that kind (QFontDatabase's fixed or general).
QFont FontOf(const std::optional<HostFontSetting>& setting, bool fixedPitch);

// The host's settings read from the configuration folder `configDir`; a file
// too big to be its configuration is not read.
HostFonts ReadHostFonts(const std::string& configDir);

}  // namespace corvelle::qt
