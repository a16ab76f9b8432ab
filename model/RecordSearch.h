// The Lister's find command on the Records page: which entry holds the text,
// in its cells or its decoded fields, looking on from the selected entry.
// The entries are read in UTF-8, decoded from the file's code page; the
// matching rules are the report page's own (SearchRules).
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "formats/FormatTable.h"
#include "standards/CodePage.h"

namespace corvelle {

// The first entry after `from` (before it with kSearchBackwards) whose cells
// or fields, decoded by `decoder`, hold `needle` (UTF-8) under the host's
// `flags`. A first search (kSearchFindFirst), or `from` naming no entry,
// looks from the first entry (the last one backwards) on, that entry included.
std::optional<size_t> FindEntry(const DecodedDatabase& database, TextDecoder& decoder, const std::string& needle,
                                std::optional<size_t> from, int flags);

}  // namespace corvelle
