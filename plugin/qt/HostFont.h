// The Lister font on Linux: Double Commander's viewer font, from its
// configuration (doublecmd.xml, <Fonts><Viewer>), which its own viewer draws
// text in. Where none is configured the system's monospace font serves.
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

// The viewer font of Double Commander's configuration text; none when the
// text holds none (or is not its configuration).
std::optional<HostFontSetting> ReadViewerFont(const QByteArray& doublecmdXml);

// The font a viewer draws in: the setting's face and size where it names
// them, else the system's fixed-pitch font.
QFont ListerFontOf(const std::optional<HostFontSetting>& setting);

// The host's setting read from the configuration folder `configDir`; the
// file is read only so far (a configuration of a few hundred kilobytes).
std::optional<HostFontSetting> ReadHostViewerFont(const std::string& configDir);

}  // namespace corvelle::qt
