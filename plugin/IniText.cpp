#include "plugin/IniText.h"

namespace corvelle {
namespace {

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    for (size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i])) return false;
    return true;
}

}  // namespace

std::string IniValue(std::string_view ini, std::string_view section, std::string_view key) {
    bool inSection = false, sectionSeen = false;
    while (!ini.empty()) {
        const size_t end = ini.find('\n');
        const std::string_view line = Trimmed(ini.substr(0, end));
        ini = end == std::string_view::npos ? std::string_view() : ini.substr(end + 1);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const size_t close = line.find(']');
            // Only the first section of that name counts, as for the profile functions.
            if (inSection) return "";
            inSection = !sectionSeen && close != std::string_view::npos &&
                        SameIgnoringCase(Trimmed(line.substr(1, close - 1)), section);
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        const size_t equals = line.find('=');
        if (!inSection || equals == std::string_view::npos || !SameIgnoringCase(Trimmed(line.substr(0, equals)), key))
            continue;
        std::string_view value = Trimmed(line.substr(equals + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return std::string(value);
    }
    return "";
}

}  // namespace corvelle
