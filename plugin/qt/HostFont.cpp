#include "plugin/qt/HostFont.h"

#include <QFile>
#include <QFontDatabase>
#include <QXmlStreamReader>

namespace corvelle::qt {
namespace {

// Double Commander's configuration is some hundreds of kilobytes; a bigger
// file is not its configuration and is not read.
constexpr qint64 kMostConfigurationBytes = 16 * 1024 * 1024;

// Lazarus's TFontStyles as Double Commander stores them: a set's bits.
constexpr int kStyleBold = 1, kStyleItalic = 2;

}  // namespace

std::optional<HostFontSetting> ReadViewerFont(const QByteArray& doublecmdXml) {
    QXmlStreamReader xml(doublecmdXml);
    // The path of elements down to the one being read.
    QStringList path;
    HostFontSetting setting;
    bool found = false;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
            case QXmlStreamReader::StartElement: {
                path.append(xml.name().toString());
                const bool inViewerFont = path.size() == 4 && path[0] == "doublecmd" && path[1] == "Fonts" &&
                                          path[2] == "Viewer";
                if (!inViewerFont) break;
                found = true;
                const QString field = path[3];
                const QString value = xml.readElementText().trimmed();
                path.removeLast();  // readElementText has read its end
                if (field == "Name") setting.name = value;
                if (field == "Size") setting.points = value.toDouble();
                if (field == "Style") {
                    const int style = value.toInt();
                    setting.bold = (style & kStyleBold) != 0;
                    setting.italic = (style & kStyleItalic) != 0;
                }
                break;
            }
            case QXmlStreamReader::EndElement:
                if (!path.isEmpty()) path.removeLast();
                break;
            default: break;
        }
    }
    if (!found) return std::nullopt;
    return setting;
}

QFont ListerFontOf(const std::optional<HostFontSetting>& setting) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (!setting) return font;
    if (!setting->name.isEmpty() && setting->name.compare("default", Qt::CaseInsensitive) != 0) {
        font.setFamily(setting->name);
        font.setStyleHint(QFont::TypeWriter);
    }
    if (setting->points > 0 && setting->points < 200) font.setPointSizeF(setting->points);
    font.setBold(setting->bold);
    font.setItalic(setting->italic);
    return font;
}

std::optional<HostFontSetting> ReadHostViewerFont(const std::string& configDir) {
    if (configDir.empty()) return std::nullopt;
    QFile file(QFile::decodeName((configDir + "/doublecmd.xml").c_str()));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMostConfigurationBytes) return std::nullopt;
    return ReadViewerFont(file.read(kMostConfigurationBytes));
}

}  // namespace corvelle::qt
