// The Qt front end's edge: the model speaks UTF-8 and byte positions, Qt
// QString and its UTF-16 positions (a QTextDocument's too: a paragraph's end
// counts one, as the model's LF does); keys become the commands table's.
#pragma once

#include <QString>

#include <cstddef>
#include <string>
#include <string_view>

#include "model/Commands.h"

class QKeyEvent;

namespace corvelle::qt {

inline QString FromUtf8(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<int>(utf8.size()));
}
inline std::string Utf8Of(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

// How many UTF-16 units the well-formed UTF-8 `utf8` becomes.
size_t Utf16Length(std::string_view utf8);
// The byte offset in `utf8` after its first `units` UTF-16 units (its size
// when it has fewer); never inside a character.
size_t Utf8OffsetOfUnits(std::string_view utf8, size_t units);

// A key as the commands table names it; a key the table does not know gets a
// code of its own that matches no row.
KeyStroke StrokeOf(const QKeyEvent& event);

// Twips (1440 an inch) as pixels at `dotsPerInch`.
inline qreal PixelsOfTwips(int twips, qreal dotsPerInch) { return twips * dotsPerInch / 1440.0; }

}  // namespace corvelle::qt
