// The model's texts as a rich-edit 1.0 control holds them: UTF-8 with LF
// line ends as UTF-16 with CR LF, so that a position is the control's own
// (it counts CR LF as two characters). For the Text page also the styled
// runs at those positions, kept level with the model's text as the document
// is read (model/PageText.h). Free of Win32 so that the conversion is
// checked natively.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/PageText.h"

namespace corvelle {

class RichEditText {
public:
    // Converts what `page` holds beyond what was converted before; `page`
    // only ever grows.
    void CatchUp(const PageText& page);
    // Bytes of the model's text converted so far.
    size_t ConvertedBytes() const { return m_converted; }

    const std::u16string& Units() const { return m_units; }
    size_t Size() const { return m_units.size(); }
    std::vector<StyledRun> RunsIn(size_t from, size_t to) const {
        return RunsBetween(m_runs, m_units.size(), from, to);
    }

private:
    std::u16string m_units;
    std::vector<StyledRun> m_runs;
    size_t m_converted = 0;
};

// Appends UTF-8 as UTF-16, each LF that no CR precedes as CR LF; a byte
// that is not UTF-8 as U+FFFD.
void AppendRichEditUnits(std::string_view utf8, std::u16string& out);

// Where the piece of `text` that starts at `start` ends: at most `wanted`
// units on, after the last paragraph end in that span; without one, after
// its last space; without one, where it reaches, but never between CR and LF
// or inside a surrogate pair. At least one character; never beyond the text.
size_t RichEditPieceEnd(std::u16string_view text, size_t start, size_t wanted);

}  // namespace corvelle
