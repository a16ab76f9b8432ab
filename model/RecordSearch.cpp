#include "model/RecordSearch.h"

#include "formats/EntryText.h"
#include "model/SearchRules.h"

namespace corvelle {
namespace {

// The row's cells, each closed by a TAB so that a whole-word match cannot
// run from one cell into the next, then the entry's fields. Decoded, a
// byte of the code page's own becomes a character of two or three bytes of
// 80h and above, each still a letter to the rules, and ASCII stays as it is:
// the rules find what they found in the code page's bytes.
bool EntryHolds(const DecodedDatabase& database, TextDecoder& decoder, size_t index, const std::string& needle,
                int flags, std::string& bytes, std::string& text) {
    bytes.clear();
    for (size_t column = 0; column < ColumnCount(database.Model()); ++column) {
        AppendCell(database, index, column, bytes);
        bytes += '\t';
    }
    bytes += '\n';
    bytes += EntryFieldsText(database, index);
    text.clear();
    decoder.AppendUtf8(bytes, text);
    // Any place in the entry will do, so the direction does not matter here.
    const int within = (flags & ~kSearchBackwards) | kSearchFindFirst;
    return FindMatch(text, needle, TextRange{0, 0}, within).has_value();
}

}  // namespace

std::optional<size_t> FindEntry(const DecodedDatabase& database, TextDecoder& decoder, const std::string& needle,
                                std::optional<size_t> from, int flags) {
    const size_t count = database.Model().Count();
    if (needle.empty() || count == 0) return std::nullopt;
    const bool backwards = (flags & kSearchBackwards) != 0;
    const bool fromStart = (flags & kSearchFindFirst) != 0 || !from || *from >= count;
    std::string bytes, text;
    if (!backwards) {
        for (size_t i = fromStart ? 0 : *from + 1; i < count; ++i) {
            if (EntryHolds(database, decoder, i, needle, flags, bytes, text)) return i;
        }
        return std::nullopt;
    }
    for (size_t i = fromStart ? count : *from; i-- > 0;) {
        if (EntryHolds(database, decoder, i, needle, flags, bytes, text)) return i;
    }
    return std::nullopt;
}

}  // namespace corvelle
