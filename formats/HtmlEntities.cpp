#include "formats/HtmlEntities.h"

namespace corvelle {
namespace {

// HTML 4's Latin-1 entities name U+00A0 to U+00FF in order.
const char* const kLatin1Names[96] = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",    "copy",   "ordf",
    "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn", "sup2",   "sup3",   "acute",  "micro",
    "para",   "middot", "cedil",  "sup1",   "ordm",   "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave",
    "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",
    "Igrave", "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",
    "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",  "szlig",  "agrave", "aacute",
    "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil", "egrave", "eacute", "ecirc",  "euml",   "igrave",
    "iacute", "icirc",  "iuml",   "eth",    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide",
    "oslash", "ugrave", "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml",
};

// The Greek letters from U+0391 (capitals) and U+03B1 (small); the capitals
// skip U+03A2, where the small letters have final sigma.
const char* const kGreekNames[25] = {
    "alpha", "beta",   "gamma",   "delta", "epsilon", "zeta",    "eta",   "theta", "iota",
    "kappa", "lambda", "mu",      "nu",    "xi",      "omicron", "pi",    "rho",   "sigmaf",
    "sigma", "tau",    "upsilon", "phi",   "chi",     "psi",     "omega",
};

struct NamedCharacter {
    const char* name;
    uint32_t codePoint;
};

const NamedCharacter kOtherNames[] = {
    {"quot", 0x22},     {"amp", 0x26},      {"apos", 0x27},     {"lt", 0x3C},        {"gt", 0x3E},
    {"OElig", 0x152},   {"oelig", 0x153},   {"Scaron", 0x160},  {"scaron", 0x161},   {"Yuml", 0x178},
    {"fnof", 0x192},    {"circ", 0x2C6},    {"tilde", 0x2DC},   {"thetasym", 0x3D1}, {"piv", 0x3D6},
    {"ensp", 0x2002},   {"emsp", 0x2003},   {"thinsp", 0x2009}, {"zwnj", 0x200C},    {"zwj", 0x200D},
    {"lrm", 0x200E},    {"rlm", 0x200F},    {"ndash", 0x2013},  {"mdash", 0x2014},   {"lsquo", 0x2018},
    {"rsquo", 0x2019},  {"sbquo", 0x201A},  {"ldquo", 0x201C},  {"rdquo", 0x201D},   {"bdquo", 0x201E},
    {"dagger", 0x2020}, {"Dagger", 0x2021}, {"bull", 0x2022},   {"hellip", 0x2026},  {"permil", 0x2030},
    {"prime", 0x2032},  {"Prime", 0x2033},  {"lsaquo", 0x2039}, {"rsaquo", 0x203A},  {"oline", 0x203E},
    {"frasl", 0x2044},  {"euro", 0x20AC},   {"trade", 0x2122},  {"larr", 0x2190},    {"uarr", 0x2191},
    {"rarr", 0x2192},   {"darr", 0x2193},   {"harr", 0x2194},   {"minus", 0x2212},   {"infin", 0x221E},
    {"ne", 0x2260},     {"le", 0x2264},     {"ge", 0x2265},     {"loz", 0x25CA},     {"spades", 0x2660},
    {"clubs", 0x2663},  {"hearts", 0x2665}, {"diams", 0x2666},
};

// cp1252's characters for the bytes 80h to 9Fh; the five bytes it leaves
// undefined keep their own value, as browsers do.
const uint16_t kCp1252High[32] = {
    0x20AC, 0x81,   0x201A, 0x192,  0x201E, 0x2026, 0x2020, 0x2021, 0x2C6,  0x2030, 0x160,
    0x2039, 0x152,  0x8D,   0x17D,  0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x2DC,  0x2122, 0x161,  0x203A, 0x153,  0x9D,   0x17E,  0x178,
};

constexpr uint32_t kReplacement = 0xFFFD;

uint32_t NumericReference(std::string_view digits) {
    unsigned base = 10;
    if (!digits.empty() && (digits[0] == 'x' || digits[0] == 'X')) {
        base = 16;
        digits.remove_prefix(1);
    }
    if (digits.empty() || digits.size() > 8) return digits.empty() ? 0 : kReplacement;
    uint32_t value = 0;
    for (char c : digits) {
        unsigned digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (base == 16 && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))) {
            digit = static_cast<unsigned>((c | 0x20) - 'a' + 10);
        } else {
            return 0;
        }
        value = value * base + digit;
    }
    if (value >= 0x80 && value <= 0x9F) return kCp1252High[value - 0x80];
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return kReplacement;
    return value;
}

uint32_t GreekReference(std::string_view name) {
    if (name.empty()) return 0;
    const bool capital = name[0] >= 'A' && name[0] <= 'Z';
    for (uint32_t i = 0; i < 25; ++i) {
        const std::string_view small = kGreekNames[i];
        if (name.size() != small.size() || (capital && i == 17)) continue;
        bool same = true;
        for (size_t c = 0; c < name.size() && same; ++c)
            same = (c == 0 && capital ? static_cast<char>(name[c] | 0x20) : name[c]) == small[c];
        if (same) return (capital ? 0x391 : 0x3B1) + i;
    }
    return 0;
}

}  // namespace

uint32_t CharacterReference(std::string_view name) {
    if (!name.empty() && name[0] == '#') return NumericReference(name.substr(1));
    for (const NamedCharacter& named : kOtherNames)
        if (name == named.name) return named.codePoint;
    for (uint32_t i = 0; i < 96; ++i)
        if (name == kLatin1Names[i]) return 0xA0 + i;
    return GreekReference(name);
}

}  // namespace corvelle
