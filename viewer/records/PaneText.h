// The Records page's own texts, free of Win32: what the entry pane says when
// there is no entry to show, and the engine's LF texts made CR LF for the
// rich-edit pane and the clipboard.
#pragma once

#include <string>

#include "dump/DatabaseModel.h"

namespace corvelle {

// How reading the viewed file into memory went.
enum class ReadResult { kRead, kNotOpened, kTooLarge, kNoMemory, kReadFailed };

// Why there is nothing to list, in one sentence; empty for kRead.
std::string ReadProblemText(ReadResult result);
// When the file was read but the model could not be built.
std::string NoMemoryToListText();

// What the pane says while no entry is selected: how to see one, and how
// many of the announced entries the file holds.
std::string NoSelectionText(const DatabaseModel& model);

// Every LF that no CR precedes becomes CR LF; everything else stays as it is.
std::string WithCrLf(const std::string& text);

}  // namespace corvelle
