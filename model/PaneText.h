// The Records page's own texts, for either front end: why there is nothing
// to list, what the entry pane says when there is no entry to show, and a
// copy of rows. LF line ends; bytes of the file's texts as they are.
#pragma once

#include <string>
#include <vector>

#include "dump/DatabaseModel.h"
#include "formats/FormatTable.h"
#include "io/WholeFileReader.h"

namespace corvelle {

// Why there is nothing to list, in one sentence; empty for kRead.
std::string ReadProblemText(ReadResult result);
// When the file was read but the model could not be built.
std::string NoMemoryToListText();

// What the pane says while no entry is selected: how to see one, and how
// many of the announced entries the file holds.
std::string NoSelectionText(const DatabaseModel& model);

// The header line of `corvelle-dump --records` and the line of each of
// `rows` under it, in their order: what a copy of the list's rows gives.
std::string RowsText(const DecodedDatabase& database, const std::vector<size_t>& rows);

}  // namespace corvelle
