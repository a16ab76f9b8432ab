// Every prefix of the Palm OS 5 organizer fixtures (Calendar and Memos written by Debian's Palm
// modules, Tasks by tools/export/write-tasks-database.py) through every line of --records, every
// --record N and every export that fits: the sanitizer build catches any read past the end, and each
// export must still be made.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/Export.h"
#include "formats/EntryText.h"
#include "tests/dump/TestFolder.h"

namespace corvelle {
namespace {

void ExpectEveryPrefixSafe(const std::string& name, const std::string& bytes) {
    for (size_t length = 0; length <= bytes.size(); ++length) {
        SCOPED_TRACE(name + " cut at " + std::to_string(length));
        const std::vector<uint8_t> file(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
        const DatabaseModel model(file.empty() ? nullptr : file.data(), file.size());
        const DecodedDatabase database(model);
        std::string line;
        for (size_t i = 0; i < model.Count(); ++i) {
            line.clear();
            AppendEntryLine(database, i, line);
            ASSERT_EQ(line.find('\n'), line.size() - 1) << line;
            ASSERT_EQ(EntryText(database, i).back(), '\n');
        }
        for (ExportType type : ExportTypesFor(database)) {
            if (type == ExportType::kRaw) continue;
            std::string out, error;
            std::vector<std::string> warnings;
            ExportOptions options;
            options.warnings = &warnings;
            options.withData = true;
            ASSERT_TRUE(ExportToText(database, type, options, out, error)) << error;
        }
    }
}

TEST(OrganizerFixtures, EveryPrefixOfEveryOne) {
    const TemporaryFolder folder;
    ASSERT_EQ(folder.Run("mkdir records exports && perl " CORVELLE_SOURCE_DIR "/tools/perl/write-record-databases.pl "
                         "records && perl " CORVELLE_SOURCE_DIR "/tools/export/write-export-databases.pl exports && "
                         "/usr/bin/python3 " CORVELLE_SOURCE_DIR "/tools/export/write-tasks-database.py ."),
              0);
    for (const char* name : {"records/calendar.pdb", "records/memos.pdb", "exports/calendar.pdb", "tasks.pdb"}) {
        const std::string bytes = folder.Read(name);
        ASSERT_GT(bytes.size(), 1000u) << name;
        ExpectEveryPrefixSafe(name, bytes);
    }
}

}  // namespace
}  // namespace corvelle
