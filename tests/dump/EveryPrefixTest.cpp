// Every prefix of every fixture of the organizer databases and the books through everything that
// reads a database (EveryPrefix.h): bombs, damaged records, tables in themselves, owner IDs and
// headers whose records lie past the end among them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EveryPrefix.h"
#include "TestFolder.h"

namespace corvelle {
namespace {

struct FixtureSet {
    const char* name;
    // Writes the fixtures into `folder` where they are not kept in tests/data/books.
    const char* writer;
    std::vector<const char*> files;  // in `folder`, or in tests/data/books without a writer
    DocumentBound bound;
};

const FixtureSet kFixtureSets[] = {
    {"Organizer",
     "mkdir records exports && perl " CORVELLE_SOURCE_DIR "/tools/perl/write-record-databases.pl records && "
     "perl " CORVELLE_SOURCE_DIR "/tools/export/write-export-databases.pl exports && "
     "/usr/bin/python3 " CORVELLE_SOURCE_DIR "/tools/export/write-tasks-database.py .",
     {"records/calendar.pdb", "records/memos.pdb", "exports/calendar.pdb", "exports/address-ja.pdb", "tasks.pdb"},
     {}},
    {"ExpenseJFileNotePadPhotosMail",
     "/usr/bin/python3 " CORVELLE_SOURCE_DIR "/tools/records/write-expense-database.py . && "
     "/usr/bin/python3 " CORVELLE_SOURCE_DIR "/tools/records/write-jfile-database.py . && "
     "perl " CORVELLE_SOURCE_DIR "/tools/records/write-mail-database.pl . >/dev/null && "
     "/usr/bin/python3 " CORVELLE_SOURCE_DIR "/tools/records/write-notepad-database.py . && "
     "/usr/bin/python3 " CORVELLE_SOURCE_DIR "/tools/records/write-photos-databases.py .",
     {"expense.pdb", "jfile.pdb", "jfile-short-appinfo.pdb", "mail.pdb", "notepad.pdb", "album.pdb", "sunset.pdb",
      "missing.pdb", "shuffled.pdb"},
     {}},
    {"EReaderTealDocISilo",
     nullptr,
     {"ereader-palmdoc.pdb", "ereader-older.pdb", "ereader-protected.pdb", "calibre-rich.pdb", "calibre-long.pdb",
      "tealdoc.pdb", "isilo.pdb", "bomb.pdb", "past-the-end.pdb"},
     {}},
    // zTXT books are bounded by their stated text length plus 64 KB, and by what zlib can make of
    // their bytes (1032 times at most), not by one record's room.
    {"ZtxtPlucker",
     nullptr,
     {"ztxt-random.pdb", "ztxt-stream.pdb", "ztxt-damaged.pdb", "ztxt-bomb.pdb", "plucker-rich.pdb", "plucker-doc.pdb",
      "plucker-cp1251.pdb", "plucker-owner.pdb", "plucker-bomb.pdb"},
     {1032, 65536 * 2}},
};

class EveryPrefix : public testing::TestWithParam<FixtureSet> {};

TEST_P(EveryPrefix, OfEveryFixtureIsReadSafely) {
    const FixtureSet& set = GetParam();
    const TemporaryFolder folder;
    if (set.writer != nullptr) {
        ASSERT_EQ(folder.Run(set.writer), 0);
    }
    for (const char* name : set.files) {
        const std::string bytes = set.writer != nullptr ? folder.Read(name)
                                                        : ReadAll(std::string(CORVELLE_TEST_DATA "/books/") + name);
        ASSERT_GT(bytes.size(), 200u) << name;
        ExpectEveryPrefixSafe(name, bytes, set.bound);
        if (HasFatalFailure()) return;
    }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, EveryPrefix, testing::ValuesIn(kFixtureSets),
                         [](const testing::TestParamInfo<FixtureSet>& info) { return info.param.name; });

}  // namespace
}  // namespace corvelle
