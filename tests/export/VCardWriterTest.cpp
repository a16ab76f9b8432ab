// The vCard of one contact: each phone label's TEL types, the shown phone's
// PREF, and the FN that a card without names still needs.
#include "ExportFixture.h"

namespace corvelle {
namespace {

// A contact whose fields are given by their index (0 last name, 1 first
// name, 2 company, 3 to 7 the phones); phone 1 has `label`, and `shown` is
// the phone the list shows.
std::string Contact(const std::vector<std::pair<unsigned, std::string>>& fields, unsigned label, unsigned shown) {
    uint32_t flags = 0;
    std::string texts;
    for (const auto& [index, text] : fields) {
        flags |= 1u << index;
        texts += text + '\0';
    }
    return Be32(label | (shown << 20)) + Be32(flags) + '\0' + texts;
}

std::string VCard(const std::string& record) {
    return Exported(Records("DATA", "addr", {{0, 1, record}}), ExportFormat::kVCard);
}

struct PhoneRow {
    const char* name;
    unsigned label;
    unsigned shown;
    const char* line;
};

class PhoneLabels : public testing::TestWithParam<PhoneRow> {};

TEST_P(PhoneLabels, TypeTheProperty) {
    const std::string card = VCard(Contact({{0, "Doe"}, {3, "123"}}, GetParam().label, GetParam().shown));
    EXPECT_NE(card.find(std::string("\r\n") + GetParam().line + "\r\n"), std::string::npos) << card;
}

INSTANTIATE_TEST_SUITE_P(Rows, PhoneLabels,
                         testing::Values(PhoneRow{"Work", 0, 1, "TEL;TYPE=WORK,VOICE:123"},
                                         PhoneRow{"ShownWork", 0, 0, "TEL;TYPE=WORK,VOICE,PREF:123"},
                                         PhoneRow{"Home", 1, 1, "TEL;TYPE=HOME,VOICE:123"},
                                         PhoneRow{"Fax", 2, 1, "TEL;TYPE=FAX:123"},
                                         PhoneRow{"Other", 3, 1, "TEL;TYPE=VOICE:123"},
                                         PhoneRow{"Email", 4, 1, "EMAIL;TYPE=INTERNET:123"},
                                         PhoneRow{"ShownEmail", 4, 0, "EMAIL;TYPE=INTERNET,PREF:123"},
                                         PhoneRow{"Main", 5, 1, "TEL;TYPE=VOICE:123"},
                                         PhoneRow{"Pager", 6, 1, "TEL;TYPE=PAGER:123"},
                                         PhoneRow{"Mobile", 7, 1, "TEL;TYPE=CELL:123"},
                                         PhoneRow{"Unnamed", 12, 1, "TEL;TYPE=VOICE:123"}),
                         [](const auto& info) { return info.param.name; });

struct NameRow {
    const char* name;
    std::vector<std::pair<unsigned, std::string>> fields;
    const char* lines;
};

class CardNames : public testing::TestWithParam<NameRow> {};

TEST_P(CardNames, AlwaysHaveNAndFn) {
    const std::string card = VCard(Contact(GetParam().fields, 0, 0));
    EXPECT_NE(card.find(GetParam().lines), std::string::npos) << card;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CardNames,
    testing::Values(NameRow{"Both", {{0, "Doe"}, {1, "Jane"}}, "\r\nN:Doe;Jane;;;\r\nFN:Jane Doe\r\n"},
                    NameRow{"LastOnly", {{0, "Doe"}}, "\r\nN:Doe;;;;\r\nFN:Doe\r\n"},
                    NameRow{"FirstOnly", {{1, "Jane"}}, "\r\nN:;Jane;;;\r\nFN:Jane\r\n"},
                    NameRow{"CompanyOnly", {{2, "Acme; Co"}}, "\r\nN:;;;;\r\nFN:Acme\\; Co\r\nORG:Acme\\; Co\r\n"},
                    NameRow{"Nothing", {{3, "123"}}, "\r\nN:;;;;\r\nFN:\r\n"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace corvelle
