// TealDoc: its tags read out of the text (each case also cut at every byte,
// as records cut lines), its records after the text shown as bookmarks, and
// the whole document through its reader. mobitool and txt2pdbdoc check the
// fixture in tools/books/check-books.py.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "dump/records/TealDocRecord.h"
#include "standards/CodePage.h"
#include "formats/EntryText.h"
#include "formats/FormatTable.h"
#include "formats/TealDocTags.h"
#include "tools/fixtures/BookWriter.h"

using namespace corvelle;

namespace {

// Headers as "#text" lines, rules as "---" lines, text as it is.
class Lines final : public TealDocOutput {
public:
    void Text(std::string_view bytes) override { out.append(bytes.data(), bytes.size()); }
    void Header(std::string_view bytes) override { out += "#" + std::string(bytes) + "\n"; }
    void Rule() override { out += "---\n"; }
    std::string out;
};

std::string Read(const std::vector<std::string_view>& pieces) {
    TealDocTags tags;
    Lines lines;
    for (std::string_view piece : pieces) tags.Add(piece, lines);
    tags.Finish(lines);
    return lines.out;
}

struct TagCase {
    const char* name;
    std::string text;
    std::string shown;
};

void PrintTo(const TagCase& c, std::ostream* out) { *out << c.name; }

const TagCase kTagCases[] = {
    {"HeaderIsALineOfItsOwn", "<HEADER TEXT=\"Chapter 1\" FONT=2 ALIGN=CENTER>\nText\n", "#Chapter 1\nText\n"},
    {"HeaderInsideALine", "Before <HEADER TEXT=\"H\"> after\n", "Before #H\n after\n"},
    {"RuleLeavesARule", "a\n<HRULE STYLE=1>\nb\n", "a\n---\nb\n"},
    {"LinkTextWhereItStands", "See <LINK TEXT=\"the end\" TAG=\"end\"> now.\n", "See the end now.\n"},
    {"LabelAndBookmarkLeaveNothing", "a\n<LABEL NAME=\"x\">\n  <BOOKMARK NAME=\"y\">\r\nb\n", "a\nb\n"},
    {"TwoTagsOnALine", "<LABEL NAME=\"x\"><HEADER TEXT=\"H\">\nb", "#H\nb"},
    {"QuotedGreaterThan", "<HEADER TEXT=\"a > b\">\n", "#a > b\n"},
    {"OtherAnglesAreText", "a < b, <b>bold</b>, <HEADERS>, <header TEXT=\"x\">\n",
     "a < b, <b>bold</b>, <HEADERS>, <header TEXT=\"x\">\n"},
    {"UnclosedTagIsText", "<HRULE\nnext\n", "<HRULE\nnext\n"},
    {"EmptyLinesStay", "a\n\nb\n", "a\n\nb\n"},
};

class TealDocTagTest : public testing::TestWithParam<TagCase> {};

TEST_P(TealDocTagTest, ReadWhereverThePiecesAreCut) {
    const TagCase& c = GetParam();
    for (size_t cut = 0; cut <= c.text.size(); ++cut) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        const std::string_view text = c.text;
        ASSERT_EQ(Read({text.substr(0, cut), text.substr(cut)}), c.shown);
    }
}

INSTANTIATE_TEST_SUITE_P(Tags, TealDocTagTest, testing::ValuesIn(kTagCases),
                         [](const testing::TestParamInfo<TagCase>& info) { return info.param.name; });

TEST(TealDocBookmark, NameOffsetAndCut) {
    const struct {
        const char* name;
        std::string record;
        std::string bookmarkName;
        uint32_t offset;
        bool cut;
    } cases[] = {
        {"Whole", std::string("First\0\0\0\0\0\0\0\0\0\0\0\0\0\x01\x02", 20), "First", 0x102, false},
        {"NameOfSixteenBytes", "ABCDEFGHIJKLMNOP" + std::string("\0\0\0\x09", 4), "ABCDEFGHIJKLMNOP", 9, false},
        {"CutInTheOffset", std::string("Name\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 18), "Name", 0, true},
        {"CutInTheName", "Nam", "Nam", 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TealDocBookmark bookmark =
            DecodeTealDocBookmark({reinterpret_cast<const uint8_t*>(c.record.data()), c.record.size()});
        EXPECT_EQ(bookmark.name, c.bookmarkName);
        EXPECT_EQ(bookmark.offset, c.offset);
        EXPECT_EQ(bookmark.cut.cut, c.cut);
    }
}

// A heading a person sees, text converted from the user's code page (cp1251 here), a tag cut
// between two records read whole, and the records after the text as bookmarks.
TEST(TealDocFormat, DocumentAndRecords) {
    std::string text = "<HEADER TEXT=\"\xCF\xF0\xE8\xE2\xE5\xF2\">\n";  // "Привет" in cp1251
    const std::string line(4096 - text.size() - 5, 'x');
    text += line + "\n<HRULE>\n<LINK TEXT=\"end\">\n";  // the first record ends inside <HRULE>
    const std::string file = samples::SerializePalmDatabase(samples::TealDocDatabase(text, {{"Mark", 77}}));
    const DatabaseModel model(reinterpret_cast<const uint8_t*>(file.data()), file.size());
    const DecodedDatabase database(model);
    ASSERT_NE(database.GetFormat(), nullptr);
    EXPECT_STREQ(database.GetFormat()->name, "tealdoc");
    ASSERT_EQ(model.Count(), 4u);
    EXPECT_NE(EntryFieldsText(database, 3).find("Bookmark:\tMark\nOffset:\t77\n"), std::string::npos);
    EXPECT_NE(EntryFieldsText(database, 0).find("Format:\tTealDoc\n"), std::string::npos);

    TextDecoder decoder(*FindCodePage("cp1251"));
    TextOptions options;
    options.fallbackDecoder = &decoder;
    struct Sink final : DocumentSink {
        void Text(std::string_view utf8, unsigned) override { out.append(utf8.data(), utf8.size()); }
        void Heading(std::string_view utf8) override { out += "#" + std::string(utf8) + "\n"; }
        void Image(const ByteSpan&) override { out += "[image]"; }
        void Rule() override { out += "---\n"; }
        void Note(std::string) override { ++notes; }
        std::string out;
        int notes = 0;
    } sink;
    const auto document = database.Reader().OpenDocument(options);
    ASSERT_NE(document, nullptr);
    for (int pieces = 0; document->Next(sink); ++pieces) ASSERT_LT(pieces, 10);
    EXPECT_EQ(sink.out, "#\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82\n" + line + "\n---\nend\n");
    EXPECT_EQ(sink.notes, 0);
}

}  // namespace
