// Contacts (DATA/PAdd) records cut or stopped at every part of their layout, the
// label codes beyond the named ones, the contents cell and the custom labels of
// AppInfo blocks of every length. Whole records of every field, label and blob
// are checked against the byte-by-byte writer's description by export-contacts
// (tools/export/check-contacts.py).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HeapFile.h"
#include "dump/records/ContactsRecord.h"
#include "formats/EntryText.h"
#include "tools/fixtures/BigEndianWriter.h"
#include "tools/fixtures/PalmWriter.h"

using namespace corvelle;

namespace {

// The fixed words: phone labels (shown phone in the top 4 bits), address and
// IM labels, both field-flag words, the company offset: 17 bytes.
std::string Head(uint32_t phones, uint16_t addresses, uint16_t ims, uint32_t flags1, uint32_t flags2) {
    std::string out;
    samples::Put32(out, phones);
    samples::Put16(out, addresses);
    samples::Put16(out, ims);
    samples::Put32(out, flags1);
    samples::Put32(out, flags2);
    samples::Put8(out, 0);
    return out;
}
std::string Blob(const char* id, const std::string& data) {
    std::string out(id, 4);
    samples::Put16(out, static_cast<uint32_t>(data.size()));
    return out + data;
}
std::string Text(const char* text) { return std::string(text) + '\0'; }

std::string ContactsFile(const std::vector<std::string>& records, const std::string& appInfo = "") {
    samples::PalmDatabase db;
    db.name = "ContactsDB-PAdd";
    db.creator = "PAdd";
    db.appInfo = appInfo;
    for (const std::string& data : records) db.records.push_back({0x40, 1, data});
    return samples::SerializePalmDatabase(db);
}

using File = HeapFile;

std::string FieldsOf(const std::string& record, const std::string& appInfo = "") {
    const File file(ContactsFile({record}, appInfo));
    return EntryFieldsText(file.Model(), 0);
}

constexpr uint32_t kLastName = 1u << 0, kFirstName = 1u << 1, kCompany = 1u << 2;
constexpr uint32_t kPhone1 = 1u << 4, kIm1 = 1u << 11, kCustom1 = 1u << 14, kCity1 = 1u << 24;
constexpr uint32_t kCustom9 = 1u << 22, kNote = 1u << 10;  // the note: in the second word
constexpr uint16_t kDec2004 = (100 << 9) | (12 << 5) | 5;  // 2004-12-05

struct CutRow {
    const char* name;
    std::string record;
    const char* fields;
};

class ContactsCut : public testing::TestWithParam<CutRow> {};

TEST_P(ContactsCut, DecodesAsFarAsItGoesAndSaysWhere) { EXPECT_EQ(FieldsOf(GetParam().record), GetParam().fields); }

const std::string kHead = Head(0, 0, 0, kLastName, 0);
std::string Birthday(uint32_t flags2, const std::string& tail) {
    std::string out = Head(0, 0, 0, 0, flags2);
    samples::Put16(out, kDec2004);
    return out + tail;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ContactsCut,
    testing::Values(
        CutRow{"Empty", "", "The record ends at byte 0, inside the phone labels.\n"},
        CutRow{"InTheImLabels", kHead.substr(0, 7), "The record ends at byte 7, inside the IM labels.\n"},
        CutRow{"InTheSecondFlags", kHead.substr(0, 14), "The record ends at byte 14, inside the second field flags.\n"},
        CutRow{"BeforeTheCompanyOffset", kHead.substr(0, 16),
               "The record ends at byte 16, inside the company offset.\n"},
        CutRow{"NoteWithoutItsZero", Head(0, 0, 0, 0, kNote) + "Hi",
               "Note:\tHi\nThe record ends at byte 19, inside the note.\n"},
        CutRow{"InTheBirthday", Head(0, 0, 0, 0, 0x0800) + "\x01",
               "The record ends at byte 18, inside the birthday.\n"},
        CutRow{"ReminderWithoutItsDays", Birthday(0x3800, std::string("\0\1", 2)),
               "Birthday:\t2004-12-05, reminder\nThe record ends at byte 21, inside the birthday's reminder days.\n"},
        CutRow{"InABlobsHeader", kHead + Text("A") + "Bd0",
               "Last name:\tA\nThe record ends at byte 22, inside a blob.\n"},
        CutRow{"BlobLeavingTheRecord", kHead + Text("A") + std::string("Xyzw\0\x10" "1234", 10),
               "Last name:\tA\nThe record ends at byte 29, inside a blob.\n"},
        CutRow{"PictureThatIsNoJpeg",
               kHead + Text("A") + Blob("Bd00", std::string("\0\0\x89PNG", 6)) + Blob("Zz00", ""),
               "Last name:\tA\nDecoding stops at byte 19, at the picture, which is not a JPEG image.\n"},
        CutRow{"PictureTooShortForItsStart", kHead + Text("A") + Blob("Bd00", std::string("\0\0\xFF", 3)),
               "Last name:\tA\nDecoding stops at byte 19, at the picture, which is not a JPEG image.\n"},
        CutRow{"AnniversaryOfOneByte", kHead + Text("A") + Blob("Bd01", "\x01"),
               "Last name:\tA\nAnniversary:\tnone\n"
               "Decoding stops at byte 19, at the anniversary, which is shorter than its 5 bytes.\n"},
        CutRow{"SecondPictureAndAnniversaryKeptAsBlobs",
               kHead + Text("A") + Blob("Bd00", std::string("\0\0\xFF\xD8", 4)) + Blob("Bd00", "abc") +
                   Blob("Bd01", std::string("\xC9\x85\0\1\x0Ezz", 7)) + Blob("Bd01", "") + Blob("\x01\xFF" "ab", ""),
               "Last name:\tA\nAnniversary:\t2004-12-05, reminder 14 days before\nPicture:\tJPEG, 2 bytes\n"
               "Blob Bd00:\t3 bytes\nBlob Bd01:\t0 bytes\nBlob ..ab:\t0 bytes\n"},
        CutRow{"LabelsBeyondTheNamedOnes",
               Head(0x0000000F, 0x0007, 0x0009, kPhone1 | kIm1 | kCity1, 0) + Text("p") + Text("i") + Text("c"),
               "Phone:\tp (shown in list)\nIM:\ti\nCity (Address):\tc\n"}),
    [](const auto& info) { return info.param.name; });

TEST(ContactsCells, LastFirstWhicheverIsThereElseTheCompany) {
    const struct {
        const char* name;
        std::string record;
        const char* cell;
    } cases[] = {
        {"Both", Head(0, 0, 0, kLastName | kFirstName | kCompany, 0) + Text("Doe") + Text("Jane") + Text("Acme"),
         "Doe, Jane"},
        {"FirstOnly", Head(0, 0, 0, kFirstName | kCompany, 0) + Text("Jane") + Text("Acme"), "Jane"},
        {"EmptyNamesGiveTheCompany", Head(0, 0, 0, kLastName | kCompany, 0) + Text("") + Text("Acme"), "Acme"},
        {"CutInTheFirstName", Head(0, 0, 0, kLastName | kFirstName, 0) + Text("Doe") + "Ja", "Doe, Ja"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const File file(ContactsFile({c.record}));
        std::string cell;
        AppendCellOf(DecodedDatabase(file.Model()), 0, ColumnId::kContents, cell);
        EXPECT_EQ(cell, c.cell);
    }
}

// The AppInfo block: 294 bytes of categories and colours, 2 reserved, 8 of renamed-label flags, then the labels.
std::string ContactsAppInfo(unsigned labels, const std::vector<std::pair<unsigned, std::string>>& named,
                            const std::string& after = "") {
    std::string block = samples::CategoryAppInfo({"Unfiled"}).substr(0, 276) + std::string(18 + 10, '\0');
    std::vector<std::string> texts(labels);
    for (const auto& [index, text] : named) texts[index] = text;
    for (std::string text : texts) {
        text.resize(16, '\0');
        block += text;
    }
    return block + after;
}

TEST(ContactsLabels, CustomLabelsWhereTheBlockHoldsThemElseTheirNumbers) {
    const std::string record = Head(0, 0, 0, kCustom1 | (1u << 15) | kCustom9, 0) + Text("a") + Text("b") + Text("i");
    const struct {
        const char* name;
        std::string appInfo;
        const char* fields;
        bool options;
    } cases[] = {
        {"NoBlock", "", "Custom 1:\ta\nCustom 2:\tb\nCustom 9:\ti\n", false},
        {"SixteenLabels", ContactsAppInfo(16, {{14, "Spouse"}, {15, ""}}), "Spouse:\ta\nCustom 2:\tb\nCustom 9:\ti\n",
         false},
        {"LastCustomLabelCut", ContactsAppInfo(22, {}) + "Ninth", "Custom 1:\ta\nCustom 2:\tb\nCustom 9:\ti\n",
         false},
        {"FortyNineLabels", ContactsAppInfo(49, {{14, "First"}, {22, "Ninth"}}, std::string("\x05\0\x01\0", 4)),
         "First:\ta\nCustom 2:\tb\nNinth:\ti\n", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FieldsOf(record, c.appInfo), c.fields);
        const File file(ContactsFile({record}, c.appInfo));
        const ContactsLabels labels = ReadContactsLabels(file.Model());
        EXPECT_EQ(labels.hasOptions && labels.sortByCompany && labels.country == 5, c.options);
    }
}

}  // namespace
