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

HostFonts ReadViewerFonts(const QByteArray& doublecmdXml) {
    QXmlStreamReader xml(doublecmdXml);
    // The path of elements down to the one being read.
    QStringList path;
    HostFonts fonts;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
            case QXmlStreamReader::StartElement: {
                path.append(xml.name().toString());
                const bool inFont = path.size() == 4 && path[0] == "doublecmd" && path[1] == "Fonts";
                std::optional<HostFontSetting>* font = !inFont                  ? nullptr
                                                       : path[2] == "Viewer"     ? &fonts.viewer
                                                       : path[2] == "ViewerBook" ? &fonts.book
                                                                                 : nullptr;
                if (font == nullptr) break;
                if (!*font) font->emplace();
                HostFontSetting& setting = **font;
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
    // A configuration cut short is none.
    if (xml.hasError()) return HostFonts{};
    return fonts;
}

QFont FontOf(const std::optional<HostFontSetting>& setting, bool fixedPitch) {
    QFont font = QFontDatabase::systemFont(fixedPitch ? QFontDatabase::FixedFont : QFontDatabase::GeneralFont);
    if (!setting) return font;
    if (!setting->name.isEmpty() && setting->name.compare("default", Qt::CaseInsensitive) != 0) {
        font.setFamily(setting->name);
        if (fixedPitch) font.setStyleHint(QFont::TypeWriter);
    }
    if (setting->points > 0 && setting->points < 200) font.setPointSizeF(setting->points);
    font.setBold(setting->bold);
    font.setItalic(setting->italic);
    return font;
}

HostFonts ReadHostFonts(const std::string& configDir) {
    if (configDir.empty()) return {};
    QFile file(QFile::decodeName((configDir + "/doublecmd.xml").c_str()));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMostConfigurationBytes) return {};
    return ReadViewerFonts(file.read(kMostConfigurationBytes));
}

}  // namespace corvelle::qt
