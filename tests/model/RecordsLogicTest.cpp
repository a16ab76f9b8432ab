// The Records page's rules, built everywhere: which entry the find command
// lands on, and what the export menu offers and suggests. The page itself is
// tested under Wine; these are the parts a reader can check without it.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "model/ExportChoices.h"
#include "model/PaneText.h"
#include "model/RecordsView.h"
#include "model/SearchRules.h"
#include "tools/fixtures/PalmWriter.h"

using namespace corvelle;

namespace {

struct Bytes {
    explicit Bytes(const samples::PalmDatabase& database) : data(samples::SerializePalmDatabase(database)) {}
    DatabaseModel Model() const { return DatabaseModel(reinterpret_cast<const uint8_t*>(data.data()), data.size()); }
    std::string data;
};

samples::PalmDatabase Memos() {
    samples::PalmDatabase database;
    database.name = "MemoDB";
    database.type = "DATA";
    database.creator = "memo";
    database.appInfo = samples::CategoryAppInfo({"Unfiled", "Business"});
    database.records = {{0x40, 1, std::string("Shopping list\nBread\0", 20)},
                        {0x01, 2, std::string("bread and butter\0", 17)},
                        {0x00, 3, std::string("Car: oil change\0", 16)},
                        {0x00, 4, std::string("Breadth of a road\0", 18)},
                        {0x00, 5, std::string("Caf\xE9 cr\xE8me\0", 11)}};
    return database;
}

struct SearchRow {
    const char* name;
    const char* needle;
    std::optional<size_t> from;
    int flags;
    std::optional<size_t> found;
};

// The fields (the memo's text), the cells (the category's label, the
// attributes) and the flags all take part.
const SearchRow kSearches[] = {
    {"FirstSearchFromTheTop", "bread", 3, kSearchFindFirst, 0},
    {"NextAfterTheSelected", "bread", 0, 0, 1},
    {"MatchCaseSkipsOtherCases", "Bread", 0, kSearchMatchCase, 3},
    {"WholeWordsSkipsBreadth", "Bread", 1, kSearchWholeWords, std::nullopt},
    {"BackwardsFromTheSelected", "bread", 3, kSearchBackwards, 1},
    {"BackwardsFirstStartsAtTheEnd", "bread", std::nullopt, kSearchBackwards | kSearchFindFirst, 3},
    {"CategoryCellIsSearched", "Business", std::nullopt, kSearchFindFirst, 1},
    {"AttributesCellIsSearched", "dirty", std::nullopt, kSearchFindFirst, 0},
    {"NothingPastTheLast", "oil", 2, 0, std::nullopt},
    {"NoSelectionSearchesFromTheTop", "oil", std::nullopt, 0, 2},
    {"EmptyNeedleFindsNothing", "", std::nullopt, kSearchFindFirst, std::nullopt},
    // The needle is UTF-8, the memo cp1252: found as the user reads it.
    {"AccentedTextInTheFilesCodePage", "cr\xC3\xA8me", std::nullopt, kSearchFindFirst, 4},
    {"AccentedWholeWord", "Caf\xC3\xA9", std::nullopt, kSearchFindFirst | kSearchWholeWords, 4},
};

class FindEntryRows : public testing::TestWithParam<SearchRow> {};

TEST_P(FindEntryRows, LandsOnTheEntryThatHoldsTheText) {
    const SearchRow& row = GetParam();
    const Bytes bytes(Memos());
    const ViewedDatabase viewed("Memos.pdb", std::vector<uint8_t>(bytes.data.begin(), bytes.data.end()),
                                *FindCodePage("cp1252"));
    EXPECT_EQ(RecordsView(viewed).Find(row.needle, row.from, row.flags), row.found);
}

INSTANTIATE_TEST_SUITE_P(Memos, FindEntryRows, testing::ValuesIn(kSearches),
                         [](const testing::TestParamInfo<SearchRow>& info) { return std::string(info.param.name); });

struct MenuRow {
    const char* name;
    const char* type;
    const char* creator;
    bool resources;
    std::vector<std::string> titles;  // "Export all as …", in order; then the same for the selection
};

// Every export the table of formats feeds has a title of its own (none may
// pass for raw, which writes a folder and is never offered).
const MenuRow kMenus[] = {
    {"Memo", "DATA", "memo", false, {"text", "JSON"}},
    {"Memos", "DATA", "PMem", false, {"text", "JSON"}},
    {"Address", "DATA", "addr", false, {"vCard", "JSON"}},
    {"DateBook", "DATA", "date", false, {"iCalendar", "JSON"}},
    {"ToDo", "DATA", "todo", false, {"iCalendar", "JSON"}},
    {"PalmDoc", "TEXt", "REAd", false, {"text", "JSON"}},
    {"NoFormat", "DATA", "zzzz", false, {"JSON"}},
    {"Resources", "appl", "zzzz", true, {"JSON", "image files"}},
    {"NotePad", "DATA", "npad", false, {"JSON", "image files"}},
    {"Expense", "DATA", "exps", false, {"CSV", "JSON"}},
    {"Mail", "DATA", "mail", false, {"mbox", "JSON"}},
};

class ExportMenuRows : public testing::TestWithParam<MenuRow> {};

TEST_P(ExportMenuRows, OffersEachFittingExportForAllThenForTheSelection) {
    const MenuRow& row = GetParam();
    samples::PalmDatabase file;
    file.type = row.type;
    file.creator = row.creator;
    if (row.resources) {
        file.attributes = 0x0001;  // the header's resource flag
        file.resources = {{"tver", 1, std::string("1.0\0", 4)}};
    }
    const Bytes bytes(file);
    const DatabaseModel model = bytes.Model();
    const std::vector<ExportMenuItem> items = ExportMenuItems(DecodedDatabase(model));
    ASSERT_EQ(items.size(), 2 * row.titles.size());
    for (size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(i);
        const bool selected = i >= row.titles.size();
        const std::string& title = row.titles[i % row.titles.size()];
        EXPECT_EQ(items[i].text, std::string(selected ? "Export selected as " : "Export all as ") + title + "\u2026");
        EXPECT_EQ(items[i].selectedOnly, selected);
        EXPECT_NE(items[i].type, ExportType::kRaw);
        EXPECT_NE(items[i].command, 0u);
        for (size_t j = 0; j < i; ++j) EXPECT_NE(items[i].command, items[j].command);
    }
}

INSTANTIATE_TEST_SUITE_P(Databases, ExportMenuRows, testing::ValuesIn(kMenus),
                         [](const testing::TestParamInfo<MenuRow>& info) { return std::string(info.param.name); });

TEST(SaveDialog, SuggestsTheViewedNameWithTheExportsExtensionInItsFolder) {
    const struct {
        const char* viewed;
        ExportType type;
        const char* name;
        const char* folder;
    } cases[] = {
        {"C:\\Palm\\Memos.pdb", ExportType::kText, "Memos.txt", "C:\\Palm"},
        {"/home/ana/Palm/my.backup.PDB", ExportType::kVCard, "my.backup.vcf", "/home/ana/Palm"},
        {"C:\\Palm\\.pdb", ExportType::kJson, ".pdb.json", "C:\\Palm"},
        {"Dates", ExportType::kICalendar, "Dates.ics", ""},
        {"C:\\Palm\\NotePadDB.pdb", ExportType::kImages, "NotePadDB images", "C:\\Palm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.viewed);
        EXPECT_EQ(SuggestedExportName(c.viewed, c.type), c.name);
        EXPECT_EQ(FolderOf(c.viewed), c.folder);
    }
}

// The page's texts in UTF-8 whatever the file's code page, as the command line prints them.
TEST(RecordsView, SaysHowToSeeAnEntryAndGivesCellsPaneAndRowsInUtf8) {
    const Bytes bytes(Memos());
    const ViewedDatabase viewed("Memos.pdb", std::vector<uint8_t>(bytes.data.begin(), bytes.data.end()),
                                *FindCodePage("cp1252"));
    const RecordsView view(viewed);
    EXPECT_STREQ(view.Title(), "Records");
    EXPECT_EQ(view.PaneText(std::nullopt),
              "Select a record in the list above to see its fields and bytes here.\n\n"
              "The file holds 5 of 5 announced records.");
    std::string cell;
    view.AppendCell(4, view.ColumnCount() - 1, cell);
    EXPECT_EQ(cell, "Caf\xC3\xA9 cr\xC3\xA8me");
    EXPECT_NE(view.PaneText(4).find("Caf\xC3\xA9 cr\xC3\xA8me"), std::string::npos);
    const std::string rows = view.RowsText({4});
    EXPECT_EQ(rows.substr(0, rows.find('\n')), "#\toffset\tsize\tattributes\tcategory\tunique ID\tcontents");
    EXPECT_NE(rows.find("Caf\xC3\xA9"), std::string::npos);
    // A row or column that is not there gives nothing.
    cell.clear();
    view.AppendCell(5, 0, cell);
    view.AppendCell(0, view.ColumnCount(), cell);
    EXPECT_EQ(cell, "");
}

}  // namespace
