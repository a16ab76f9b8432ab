#include "model/PaneText.h"

#include "formats/EntryText.h"

namespace corvelle {

std::string ReadProblemText(ReadResult result) {
    switch (result) {
        case ReadResult::kRead: return {};
        case ReadResult::kNotOpened: return "The file cannot be opened.";
        case ReadResult::kTooLarge: return "The file is larger than 4 GB, which no Palm database can be.";
        case ReadResult::kNoMemory: return "There is not enough memory to read the file.";
        case ReadResult::kReadFailed: return "The file cannot be read.";
    }
    return "The file cannot be read.";
}

std::string NoMemoryToListText() { return "There is not enough memory to list the entries."; }

std::string NoSelectionText(const DatabaseModel& model) {
    const char* what = model.HoldsResources() ? "resource" : "record";
    return std::string("Select a ") + what + " in the list above to see its fields and bytes here.\n\n" +
           EntryCountText(model);
}

std::string RowsText(const DecodedDatabase& database, const std::vector<size_t>& rows) {
    std::string text;
    AppendHeaderLine(database.Model(), text);
    for (size_t row : rows) {
        if (row < database.Model().Count()) AppendEntryLine(database, row, text);
    }
    return text;
}

}  // namespace corvelle
