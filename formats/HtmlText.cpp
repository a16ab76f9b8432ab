#include "formats/HtmlText.h"

#include <cstdint>
#include <initializer_list>

#include "standards/ByteWords.h"
#include "standards/Utf8.h"
#include "formats/HtmlEntities.h"

namespace corvelle {
namespace {

// A tag longer than this is no tag (a "<" in running text whose ">" comes
// much later): its text is shown as it is.
constexpr size_t kLongestTag = 16 * 1024;
// A reference's name is short ("&thetasym;", "&#x10FFFF;").
constexpr size_t kLongestReference = 32;
// A heading that never ends becomes running text after this much.
constexpr size_t kLongestHeading = 4096;

// Bytes of running text: above space, and neither a tag's nor a reference's start.
struct TextBytes {
    bool visible[256] = {};
    constexpr TextBytes() {
        for (unsigned byte = 0x21; byte < 256; ++byte) visible[byte] = byte != '<' && byte != '&';
    }
};
constexpr TextBytes kTextBytes;

// Whether the eight bytes at `p` are all running text that Add takes in one
// piece: visible bytes and single spaces, the last byte visible. Most of a
// book's text passes eight bytes at a time; the rest goes byte by byte.
bool IsRunningTextWord(const char* p) {
    const uint64_t word = LoadByteWord(p);
    constexpr uint64_t kLow7 = ~kByteHighBits;
    if (AnyByteBelow(word, 0x20)) return false;
    if (AnyByteIs(word, '<') || AnyByteIs(word, '&')) return false;
    // Exactly the space bytes, as their top bits: two side by side are more than one space.
    const uint64_t notSpace = word ^ (kByteOnes * ' ');
    const uint64_t spaces = ~(((notSpace & kLow7) + kLow7) | notSpace | kLow7);
    return (spaces & (spaces << 8)) == 0 && p[7] != ' ';
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsNameByte(char c) { return IsLetter(c) || IsDigit(c) || c == ':' || c == '-' || c == '_'; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c; }

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

bool IsOneOf(std::string_view name, std::initializer_list<std::string_view> names) {
    for (std::string_view candidate : names)
        if (name == candidate) return true;
    return false;
}

bool IsBlock(std::string_view name) {
    return IsOneOf(name,
                   {"p",     "div",    "li",         "ul",      "ol",      "dl",      "dt",     "dd",     "blockquote",
                    "table", "tr",     "center",     "pre",     "section", "article", "header", "footer", "aside",
                    "nav",   "figure", "figcaption", "address", "caption", "body",    "html"});
}

bool IsHeading(std::string_view name) { return name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6'; }

// The value of attribute `wanted` in a tag's text after its name, or "".
std::string_view AttributeValue(std::string_view text, std::string_view wanted) {
    size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && (IsSpace(text[at]) || text[at] == '/')) ++at;
        const size_t nameStart = at;
        while (at < text.size() && !IsSpace(text[at]) && text[at] != '=' && text[at] != '/') ++at;
        const std::string_view name = text.substr(nameStart, at - nameStart);
        while (at < text.size() && IsSpace(text[at])) ++at;
        std::string_view value;
        if (at < text.size() && text[at] == '=') {
            ++at;
            while (at < text.size() && IsSpace(text[at])) ++at;
            const char quote = at < text.size() && (text[at] == '"' || text[at] == '\'') ? text[at] : '\0';
            if (quote != '\0') ++at;
            const size_t valueStart = at;
            while (at < text.size() && (quote != '\0' ? text[at] != quote : !IsSpace(text[at]))) ++at;
            value = text.substr(valueStart, at - valueStart);
            if (quote != '\0' && at < text.size()) ++at;
        }
        if (SameName(name, wanted)) return value;
        if (name.empty() && value.empty() && at < text.size()) ++at;
    }
    return {};
}

// recindex="00012" in decimal; src="kindle:embed:000C?mime=image/jpeg" in
// base 32 (digits, then A to V). 0 when it names none.
uint32_t ImageNumber(std::string_view attributes) {
    uint32_t number = 0;
    std::string_view digits = AttributeValue(attributes, "recindex");
    unsigned base = 10;
    if (digits.empty()) {
        constexpr std::string_view kEmbed = "kindle:embed:";
        digits = AttributeValue(attributes, "src");
        if (digits.substr(0, kEmbed.size()) != kEmbed) return 0;
        digits.remove_prefix(kEmbed.size());
        base = 32;
    }
    for (size_t i = 0; i < digits.size() && i < 8; ++i) {
        const char c = Lower(digits[i]);
        unsigned digit;
        if (IsDigit(c)) {
            digit = static_cast<unsigned>(c - '0');
        } else if (base == 32 && c >= 'a' && c <= 'v') {
            digit = static_cast<unsigned>(c - 'a' + 10);
        } else {
            break;
        }
        number = number * base + digit;
    }
    return number;
}

}  // namespace

void HtmlText::Add(std::string_view text, DocumentSink& sink) {
    size_t at = 0;
    while (at < text.size()) {
        if (m_state == State::kText) {
            // Visible bytes, and single spaces between them (what white space collapses to anyway): a
            // sentence goes in one piece.
            const auto visible = [&](size_t i) {
                return i < text.size() && kTextBytes.visible[static_cast<unsigned char>(text[i])];
            };
            size_t end = at;
            while (visible(end)) {
                ++end;  // past a visible byte: a space may follow
                while (text.size() - end >= 8 && IsRunningTextWord(text.data() + end)) end += 8;
                while (visible(end)) ++end;
                if (end < text.size() && text[end] == ' ' && visible(end + 1)) ++end;
            }
            if (end > at) {
                Visible(text.substr(at, end - at));
                at = end;
                continue;
            }
            const char c = text[at++];
            if (c == '<' || c == '&') {
                m_state = c == '<' ? State::kTag : State::kReference;
                m_tag.clear();
            } else if (IsSpace(c)) {
                m_space = true;
            }  // other control bytes (a book's zero padding) are nothing
            continue;
        }
        // Inside an element's tag: the bytes up to the next that matters (its
        // end, a quote) go in at once (a paragraph's tag is dozens of bytes).
        if (m_state == State::kTag && !m_tag.empty() && m_tag[0] != '!' && m_tag.size() < kLongestTag) {
            size_t end = at;
            if (m_quote != '\0')
                while (end < text.size() && text[end] != m_quote) ++end;
            else
                while (end < text.size() && text[end] != '>' && text[end] != '"' && text[end] != '\'') ++end;
            if (end > at) {
                m_tag.append(text.data() + at, end - at);
                at = end;
                continue;
            }
        }
        const char c = text[at];
        bool taken = true;  // a "<" or "&" that starts nothing leaves its next byte to be read as text
        if (m_state == State::kTag) {
            taken = TagByte(c, sink);
        } else if (m_state == State::kReference) {
            taken = ReferenceByte(c);
        } else if (c == '>' && m_commentDashes >= 2) {
            m_state = State::kText;
        } else {
            m_commentDashes = c == '-' ? m_commentDashes + 1 : 0;
        }
        if (taken) ++at;
    }
    if (m_inHeading && m_heading.size() > kLongestHeading) EndHeading(sink);
    Flush(sink);
}

void HtmlText::Finish(DocumentSink& sink) {
    if (m_state == State::kTag) Visible("<" + m_tag);
    if (m_state == State::kReference) Visible("&" + m_tag);
    m_state = State::kText;
    EndHeading(sink);
    EndParagraph();
    Flush(sink);
}

// Text between tags: one space for any run of white space before it, none at
// the start of a line.
void HtmlText::Visible(std::string_view utf8) {
    if (!m_skipUntil.empty()) return;
    std::string& into = m_inHeading ? m_heading : m_run;
    const bool lineStart = m_inHeading ? m_heading.empty() : m_atLineStart;
    if (m_space && !lineStart) into += ' ';
    m_space = false;
    into.append(utf8.data(), utf8.size());
    if (!m_inHeading) m_atLineStart = false;
}

bool HtmlText::TagByte(char c, DocumentSink& sink) {
    if (m_tag.empty() && !IsLetter(c) && c != '/' && c != '!' && c != '?') {
        m_state = State::kText;
        Visible("<");
        return false;
    }
    if (c == '>' && m_quote == '\0') {
        m_state = State::kText;
        Tag(m_tag, sink);
        return true;
    }
    if (m_quote != '\0' && c == m_quote) {
        m_quote = '\0';
    } else if (m_quote == '\0' && (c == '"' || c == '\'') && m_tag.find('=') != std::string::npos) {
        m_quote = c;
    }
    m_tag += c;
    if (m_tag.size() == 3 && m_tag == "!--") {
        m_state = State::kComment;
        m_commentDashes = 0;
    } else if (m_tag.size() > kLongestTag) {
        m_state = State::kText;
        m_quote = '\0';
        Visible("<" + m_tag);
    }
    return true;
}

bool HtmlText::ReferenceByte(char c) {
    if (c == ';') {
        m_state = State::kText;
        const uint32_t codePoint = CharacterReference(m_tag);
        if (codePoint == 0) {
            Visible("&" + m_tag + ";");
        } else if (codePoint <= 0x20) {
            if (IsSpace(static_cast<char>(codePoint))) m_space = true;
        } else {
            std::string utf8;
            AppendCodePoint(codePoint, utf8);
            Visible(utf8);
        }
        return true;
    }
    if ((IsLetter(c) || IsDigit(c) || (c == '#' && m_tag.empty())) && m_tag.size() < kLongestReference) {
        m_tag += c;
        return true;
    }
    m_state = State::kText;
    Visible("&" + m_tag);
    return false;
}

void HtmlText::Tag(std::string_view tag, DocumentSink& sink) {
    if (tag.empty() || tag[0] == '!' || tag[0] == '?') return;  // a declaration or a processing instruction
    const bool end = tag[0] == '/';
    size_t at = end ? 1 : 0;
    std::string name;
    while (at < tag.size() && IsNameByte(tag[at]) && name.size() < 32) name += Lower(tag[at++]);
    if (!m_skipUntil.empty()) {
        if (end && name == m_skipUntil) m_skipUntil.clear();
        return;
    }
    const bool selfClosing = !end && tag.back() == '/';
    if (end)
        EndTag(name, sink);
    else
        StartTag(name, tag.substr(at), selfClosing, sink);
    if (Style() != m_runStyle) {
        // The white space before a change of style belongs to the text before it.
        if (m_space && !m_atLineStart && !m_inHeading) {
            m_run += ' ';
            m_space = false;
        }
        Flush(sink);
    }
}

void HtmlText::StartTag(std::string_view name, std::string_view attributes, bool selfClosing, DocumentSink& sink) {
    if (IsOneOf(name, {"head", "script", "style"})) {
        if (!selfClosing) m_skipUntil = std::string(name);
    } else if (IsBlock(name) || name == "br") {
        if (m_inHeading)
            m_space = true;
        else if (name == "br")
            LineBreak();
        else
            EndParagraph();
    } else if (IsHeading(name)) {
        EndHeading(sink);
        StartHeading();
    } else if (name == "hr" || name == "mbp:pagebreak") {
        EndHeading(sink);
        EndParagraph();
        Flush(sink);
        sink.Rule();
    } else if (name == "img") {
        Image(attributes, sink);
    } else if (name == "td" || name == "th") {
        m_space = true;
    } else if (!selfClosing) {
        if (IsOneOf(name, {"b", "strong"})) ++m_bold;
        if (IsOneOf(name, {"i", "em", "cite", "dfn", "var"})) ++m_italic;
        if (IsOneOf(name, {"u", "ins"})) ++m_underline;
        if (IsOneOf(name, {"s", "strike", "del"})) ++m_strike;
    }
}

void HtmlText::EndTag(std::string_view name, DocumentSink& sink) {
    const auto down = [](unsigned& count) { count -= count > 0 ? 1 : 0; };
    if (IsBlock(name)) {
        if (m_inHeading)
            m_space = true;
        else
            EndParagraph();
    } else if (IsHeading(name)) {
        EndHeading(sink);
    } else if (name == "td" || name == "th") {
        m_space = true;
    } else if (IsOneOf(name, {"b", "strong"})) {
        down(m_bold);
    } else if (IsOneOf(name, {"i", "em", "cite", "dfn", "var"})) {
        down(m_italic);
    } else if (IsOneOf(name, {"u", "ins"})) {
        down(m_underline);
    } else if (IsOneOf(name, {"s", "strike", "del"})) {
        down(m_strike);
    }
}

void HtmlText::Image(std::string_view attributes, DocumentSink& sink) {
    const uint32_t number = ImageNumber(attributes);
    // An image stands in the text like a word: the space before it stays.
    if (m_space && !m_atLineStart && !m_inHeading && m_skipUntil.empty()) m_run += ' ';
    m_space = false;
    Flush(sink);
    sink.Image(number != 0 && m_images ? m_images(number) : ByteSpan{});
}

void HtmlText::EndParagraph() {
    if (!m_atLineStart) m_run += '\n';
    m_atLineStart = true;
    m_space = false;
}

void HtmlText::LineBreak() {
    m_run += '\n';
    m_atLineStart = true;
    m_space = false;
}

void HtmlText::StartHeading() {
    EndParagraph();
    m_inHeading = true;
    m_heading.clear();
    m_space = false;
}

void HtmlText::EndHeading(DocumentSink& sink) {
    if (!m_inHeading) return;
    m_inHeading = false;
    Flush(sink);
    if (!m_heading.empty()) sink.Heading(m_heading);
    m_heading.clear();
    m_atLineStart = true;
    m_space = false;
}

void HtmlText::Flush(DocumentSink& sink) {
    if (!m_run.empty()) sink.Text(m_run, m_runStyle);
    m_run.clear();
    m_runStyle = Style();
}

unsigned HtmlText::Style() const {
    return (m_bold > 0 ? text_style::kBold : 0) | (m_italic > 0 ? text_style::kItalic : 0) |
           (m_underline > 0 ? text_style::kUnderline : 0) | (m_strike > 0 ? text_style::kStrike : 0);
}

}  // namespace corvelle
