// Texts of the engine (lines ending in LF) as the rich-edit pane and the
// clipboard take them: lines ending in CR LF.
#pragma once

#include <string>

namespace corvelle {

// Every LF that no CR precedes becomes CR LF; everything else stays as it is.
inline std::string WithCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

}  // namespace corvelle
