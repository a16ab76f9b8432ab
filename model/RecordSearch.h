// The Lister's find command on the Records page: which entry holds the text,
// in its cells or its decoded fields, looking on from the selected entry.
// Free of Win32; the matching rules are the report page's own (SearchRules).
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "formats/FormatTable.h"

namespace corvelle {

// The first entry after `from` (before it with kSearchBackwards) whose cells
// or fields hold `needle` under the host's `flags`. A first search
// (kSearchFindFirst), or `from` naming no entry, looks from the first entry
// (the last one backwards) on, that entry included.
std::optional<size_t> FindEntry(const DecodedDatabase& database, const std::string& needle,
                                std::optional<size_t> from, int flags);

}  // namespace corvelle
