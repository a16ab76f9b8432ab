#include "dump/CodeNames.h"

#include <cstring>

namespace corvelle {
namespace {

struct CodeName {
    char code[5];
    const char* name;
};

// Searched from the first row; the first equal code wins.
const CodeName kCreatorNames[] = {
    {"calc", "Calculator"}, {"secr", "Security"}, {"pref", "Preferences"}, {"addr", "Address"},
    {"todo", "ToDo"},       {"date", "Databook"}, {"memo", "MemoPad"},     {"sync", "HotSync"},
    {"mail", "Mail"},       {"exps", "Expense"},  {"lnch", "Launcher"},    {"clpr", "Clipper"},
    {"setp", "Setup"},      {"memr", "Memory"},
};

// "pqa " ends in a space. "appl" and "APPL" are both applications; no other
// spelling is.
const CodeName kResourceTypeNames[] = {
    {"ARMC", "Code for ARM"}, {"code", "Code for 68000"}, {"pqa ", "Query Application"},
    {"lImg", "Image"},        {"rloc", "rloc"},           {"pref", "Preferences"},
    {"NFNT", "Font"},         {"libr", "Library"},        {"tFRM", "Formes"},
    {"tver", "Version"},      {"tSTR", "String"},         {"Talt", "Alert"},
    {"Tbmp", "Bitmap"},       {"MBAR", "Menu"},           {"data", "Data"},
    {"appl", "Application"},  {"APPL", "Application"},    {"tAIB", "Icon Bitmap"},
    {"tAIN", "Icon Name"},
};

template <size_t N>
const char* LookUp(const CodeName (&table)[N], const FourCharCode& code) {
    for (const CodeName& row : table)
        if (std::memcmp(row.code, code.bytes, 4) == 0) return row.name;
    return "unknown";
}

}  // namespace

std::string FourCharText(const FourCharCode& code) {
    std::string text;
    for (uint8_t byte : code.bytes) {
        if (byte == 0) break;
        text.push_back(static_cast<char>(byte));
    }
    return text;
}

const char* CreatorName(const FourCharCode& code) { return LookUp(kCreatorNames, code); }

const char* ResourceTypeName(const FourCharCode& code) { return LookUp(kResourceTypeNames, code); }

bool CodeIs(const FourCharCode& code, const char (&text)[5]) {
    return std::memcmp(code.bytes, text, 4) == 0;
}

}  // namespace corvelle
