#include "qt/QtEdge.h"

#include <QKeyEvent>

namespace corvelle::qt {
namespace {

unsigned char Byte(std::string_view text, size_t at) { return static_cast<unsigned char>(text[at]); }

}  // namespace

size_t Utf16Length(std::string_view utf8) {
    // Every byte but a continuation starts a unit; a four-byte character
    // (F0h and above) is a pair.
    size_t units = 0;
    for (size_t at = 0; at < utf8.size(); ++at) {
        const unsigned char byte = Byte(utf8, at);
        if ((byte & 0xC0) != 0x80) units += byte >= 0xF0 ? 2 : 1;
    }
    return units;
}

size_t Utf8OffsetOfUnits(std::string_view utf8, size_t units) {
    size_t at = 0;
    while (at < utf8.size() && units > 0) {
        const unsigned char byte = Byte(utf8, at);
        const size_t taken = byte >= 0xF0 ? 2 : 1;
        if (taken > units) break;  // inside a pair: the character stays whole after
        units -= taken;
        ++at;
        while (at < utf8.size() && (Byte(utf8, at) & 0xC0) == 0x80) ++at;
    }
    return at;
}

KeyStroke StrokeOf(const QKeyEvent& event) {
    KeyStroke stroke;
    const Qt::KeyboardModifiers held = event.modifiers();
    stroke.ctrl = (held & Qt::ControlModifier) != 0;
    stroke.alt = (held & Qt::AltModifier) != 0;
    stroke.shift = (held & Qt::ShiftModifier) != 0;
    const int key = event.key();
    // Qt's codes of letters and digits are their upper-case ASCII, as the table's.
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
        stroke.key = static_cast<uint32_t>(key);
        return stroke;
    }
    switch (key) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab: stroke.key = key::kTab; break;
        case Qt::Key_Insert: stroke.key = key::kInsert; break;
        case Qt::Key_Menu: stroke.key = key::kMenu; break;
        case Qt::Key_F10: stroke.key = key::kF10; break;
        case Qt::Key_Escape: stroke.key = key::kEscape; break;
        default: stroke.key = 0x10000u + static_cast<uint32_t>(key & 0xFFFF); break;
    }
    return stroke;
}

}  // namespace corvelle::qt
