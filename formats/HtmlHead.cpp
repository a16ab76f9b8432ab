#include "formats/HtmlHead.h"

#include <algorithm>

#include "standards/Utf8.h"
#include "formats/HtmlEntities.h"

namespace corvelle {
namespace {

// A reference's name is short ("&thetasym;", "&#x10FFFF;").
constexpr size_t kLongestReference = 32;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c; }
bool IsNameByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

// Whether `text` holds `lower` (lower-case ASCII) at `at`, in any letter case.
bool HoldsAt(std::string_view text, size_t at, std::string_view lower) {
    if (at > text.size() || text.size() - at < lower.size()) return false;
    for (size_t i = 0; i < lower.size(); ++i)
        if (Lower(text[at + i]) != lower[i]) return false;
    return true;
}

size_t FindNoCase(std::string_view text, std::string_view lower, size_t from = 0) {
    for (size_t at = text.find('<', from); at != std::string_view::npos; at = text.find('<', at + 1))
        if (HoldsAt(text, at, lower)) return at;
    return std::string_view::npos;
}

// An element's content as one line of text: its tags dropped, white space
// runs one space, ASCII references read.
std::string ContentText(std::string_view content) {
    std::string text;
    bool space = false;
    for (size_t at = 0; at < content.size(); ++at) {
        const char c = content[at];
        if (c == '<') {
            const size_t end = content.find('>', at);
            if (end == std::string_view::npos) break;
            at = end;
            space = true;
        } else if (IsSpace(c)) {
            space = true;
        } else {
            if (space && !text.empty()) text += ' ';
            space = false;
            text += c;
        }
    }
    return ReadReferences(text, 0x80);
}

}  // namespace

bool StartsAsHtmlDocument(std::string_view text) {
    size_t at = text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    while (at < text.size() && IsSpace(text[at])) ++at;
    for (std::string_view opening : {"<html", "<!doctype html", "<?xml"}) {
        if (!HoldsAt(text, at, opening)) continue;
        // "<htmlfoo>" is some other element.
        const size_t after = at + opening.size();
        return after == text.size() || IsSpace(text[after]) || text[after] == '>' || text[after] == '/' ||
               text[after] == '?';
    }
    return false;
}

DublinCore ReadDublinCore(std::string_view start) {
    DublinCore metadata;
    // The metadata is the head's: the body's text may say anything.
    const std::string_view head = start.substr(0, std::min(FindNoCase(start, "</head"), FindNoCase(start, "<body")));
    for (size_t at = FindNoCase(head, "<dc:"); at != std::string_view::npos; at = FindNoCase(head, "<dc:", at + 1)) {
        size_t nameEnd = at + 4;
        while (nameEnd < head.size() && IsNameByte(head[nameEnd])) ++nameEnd;
        std::string closing = "</dc:";
        for (size_t i = at + 4; i < nameEnd; ++i) closing += Lower(head[i]);
        const size_t tagEnd = head.find('>', nameEnd);
        if (tagEnd == std::string_view::npos) break;
        if (head[tagEnd - 1] == '/') continue;  // an empty element
        const size_t close = FindNoCase(head, closing, tagEnd);
        if (close == std::string_view::npos) break;
        const std::string_view name = std::string_view(closing).substr(5);
        const std::string_view content = head.substr(tagEnd + 1, close - tagEnd - 1);
        if (name == "title" && metadata.title.empty()) {
            metadata.title = ContentText(content);
        } else if (name == "creator") {
            std::string creator = ContentText(content);
            if (!creator.empty()) metadata.creators.push_back(std::move(creator));
        }
        at = close;
    }
    return metadata;
}

std::string ReadReferences(std::string_view text, uint32_t below) {
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        if (text[at] == '&') {
            const size_t end = text.find(';', at + 1);
            if (end != std::string_view::npos && end - at - 1 <= kLongestReference) {
                const uint32_t codePoint = CharacterReference(text.substr(at + 1, end - at - 1));
                if (codePoint != 0 && codePoint < below) {
                    AppendCodePoint(codePoint, out);
                    at = end + 1;
                    continue;
                }
            }
        }
        out += text[at++];
    }
    return out;
}

}  // namespace corvelle
