#include "cli/RecordsCommand.h"

#include <cstdio>
#include <string>

#include "cli/CommandFailure.h"
#include "cli/TextOutput.h"
#include "dump/DatabaseModel.h"
#include "formats/EntryText.h"
#include "io/MappedFile.h"

namespace corvelle_dump {
namespace {

// Handed to standard output whenever this much has gathered, as the report is.
constexpr size_t kChunk = 64 * 1024;

}  // namespace

int PrintRecords(const char* path, TextOutput& output) {
    corvelle::MappedFile file;
    if (!OpenOrSay(file, path)) return 1;
    const corvelle::DatabaseModel model(file.View(), file.Size());
    const corvelle::DecodedDatabase database(model);
    std::string out;
    out.reserve(kChunk + 1024);
    corvelle::AppendHeaderLine(model, out);
    for (size_t i = 0; i < model.Count(); ++i) {
        corvelle::AppendEntryLine(database, i, out);
        if (out.size() >= kChunk) {
            output.Write(out);
            out.clear();
        }
    }
    out += corvelle::EntryCountText(model);
    out.push_back('\n');
    output.Write(out);
    output.Finish();
    return 0;
}

int PrintRecord(unsigned long index, const char* path, TextOutput& output) {
    corvelle::MappedFile file;
    if (!OpenOrSay(file, path)) return 1;
    const corvelle::DatabaseModel model(file.View(), file.Size());
    if (index >= model.Count()) {
        const char* kind = model.HoldsResources() ? "resource" : "record";
        std::string holds = corvelle::EntryCountText(model);  // "The file holds 3 of 12 announced records."
        holds[0] = 't';
        holds.pop_back();
        return Fail(path, "no " + std::string(kind) + " " + std::to_string(index) + ": " + holds);
    }
    output.Write(corvelle::EntryText(corvelle::DecodedDatabase(model), index));
    output.Finish();
    return 0;
}

}  // namespace corvelle_dump
