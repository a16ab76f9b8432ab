#include <gtest/gtest.h>

#include "Fixtures.h"

namespace corvelle {
namespace {

using samples::PalmDatabase;
using testing::Block;
using testing::HasLine;
using testing::Lines;
using testing::ReportOf;

PalmDatabase OneRecord(uint8_t attributes, const char* type = "DATA") {
    PalmDatabase db;
    db.name = "Records";
    db.type = type;
    db.records.push_back({attributes, 0x001234, "data"});
    return db;
}

struct AttributeCase {
    const char* name;
    uint8_t attributes;
    std::vector<std::string> descriptions;
};

class RecordAttributes : public ::testing::TestWithParam<AttributeCase> {};

// Palm OS keeps the flags in the high four bits (expunged 80h, dirty 40h,
// deleted 20h, private 10h, archive 08h) and the category in the low four.
TEST_P(RecordAttributes, DescribeFlagsFromTheHighBitsAndCategoryFromTheLow) {
    const AttributeCase& c = GetParam();
    char attrbLine[32];
    std::snprintf(attrbLine, sizeof attrbLine, "\tattrb :\t%02Xh ", c.attributes);
    std::vector<std::string> expected = {"\tOffset:\t00000058h ", attrbLine};
    for (const std::string& d : c.descriptions) expected.push_back("\t\tRecord " + d);
    expected.push_back("\tID:\t001234h ");
    EXPECT_EQ(Block(ReportOf(OneRecord(c.attributes)), "\tOffset:\t00000058h "), expected);
}

const AttributeCase kAttributeCases[] = {
    {"Clear", 0x00,
     {"is not deleted.", "is not dirty. ", "is not expunged.", "is not private. ", "category number is 0 "}},
    {"DirtyCategoryOne", 0x41,
     {"is not deleted.", "is dirty. ", "is not expunged.", "is not private. ", "category number is 1 "}},
    {"PrivateCategoryEight", 0x18,
     {"is not deleted.", "is not dirty. ", "is not expunged.", "is private. ", "category number is 8 "}},
    {"DeletedNotArchived", 0x20,
     {"is deleted.", "is not dirty. ", "is not expunged.", "is not private. ",
      "is deleted/expunged and is not marked to be archived."}},
    {"DeletedArchived", 0x28,
     {"is deleted.", "is not dirty. ", "is not expunged.", "is not private. ",
      "is deleted/expunged and is marked to be archived."}},
    {"ExpungedOnly", 0x80,
     {"is not deleted.", "is not dirty. ", "is expunged.", "is not private. ",
      "is deleted/expunged and is not marked to be archived."}},
    {"EverythingSet", 0xFF,
     {"is deleted.", "is dirty. ", "is expunged.", "is private. ",
      "is deleted/expunged and is marked to be archived."}},
    {"CategoryFifteen", 0x0F,
     {"is not deleted.", "is not dirty. ", "is not expunged.", "is not private. ", "category number is 15 "}},
};

INSTANTIATE_TEST_SUITE_P(Attributes, RecordAttributes, ::testing::ValuesIn(kAttributeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EntryList, QueryApplicationRecordsHaveNoDescriptions) {
    const std::vector<std::string> expected = {"\tOffset:\t00000058h ", "\tattrb :\t41h ", "\tID:\t001234h "};
    EXPECT_EQ(Block(ReportOf(OneRecord(0x41, "pqa ")), "\tOffset:\t00000058h "), expected);
}

TEST(EntryList, ResourceIdIsBigEndian) {
    PalmDatabase db;
    db.type = "libr";
    db.resources.push_back({"tFRM", 1000, "x"});
    db.resources.push_back({"code", 0x8001, "y"});
    const std::string report = ReportOf(db);
    const std::vector<std::string> first = {"\ttype:\t4D524674h \t\"tFRM\"\tFormes", "\tID :\t03E8h ",
                                            "\tlocalID:\t00000064h "};
    EXPECT_EQ(Block(report, first[0]), first);
    EXPECT_TRUE(HasLine(report, "\tID :\t8001h "));
    EXPECT_TRUE(HasLine(report, "\tlocalID:\t00000065h "));
}

struct ListKindCase {
    const char* name;
    const char* type;
    uint16_t attributes;
    const char* title;
};

class ListKind : public ::testing::TestWithParam<ListKindCase> {};

// Only the type decides; the header's resource flag does not.
TEST_P(ListKind, DecidedByTheTypeAlone) {
    const ListKindCase& c = GetParam();
    PalmDatabase db;
    db.type = c.type;
    db.attributes = c.attributes;
    EXPECT_TRUE(HasLine(ReportOf(db), c.title));
}

const ListKindCase kListKindCases[] = {
    {"Application", "appl", 0, "Resources :"},  {"Library", "libr", 0, "Resources :"},
    {"UpperCaseAppl", "APPL", 1, "Records :"},  {"Query", "pqa ", 1, "Records :"},
    {"DataWithResourceFlag", "DATA", 1, "Records :"},
};

INSTANTIATE_TEST_SUITE_P(Types, ListKind, ::testing::ValuesIn(kListKindCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EntryList, EmptyListEndsWithItsTitle) {
    PalmDatabase db;
    const std::string report = ReportOf(db);
    const std::string tail = "\tNb :\t0000h \t(0)\r\n\r\nRecords :\r\n";
    ASSERT_GE(report.size(), tail.size());
    EXPECT_EQ(report.substr(report.size() - tail.size()), tail);
}

TEST(EntryList, CountBeyondTheFileSaysHowManyEntriesAreMissing) {
    std::string bytes = samples::SerializePalmDatabase(OneRecord(0));
    bytes.resize(78 + 8);
    bytes[76] = '\xFF';
    bytes[77] = '\xFF';
    const std::vector<std::string> lines = Lines(ReportOf(bytes));
    EXPECT_EQ(lines.back(), "\tThe file ends at byte 86: 65534 of 65535 entries are missing.");
    EXPECT_EQ(lines[lines.size() - 2], "");
    EXPECT_EQ(lines[lines.size() - 3], "\tID:\t001234h ");
}

TEST(EntryList, AllEntriesOfAFullDatabaseAreListed) {
    const std::string report = ReportOf(samples::SyntheticRecordDatabase(65535));
    EXPECT_TRUE(HasLine(report, "\tNb :\tFFFFh \t(65535)"));
    size_t blocks = 0;
    for (size_t at = report.find("\tOffset:\t"); at != std::string::npos; at = report.find("\tOffset:\t", at + 1))
        ++blocks;
    EXPECT_EQ(blocks, 65535u);
    EXPECT_EQ(report.find("entries are missing"), std::string::npos);
}

}  // namespace
}  // namespace corvelle
