#include "formats/TealDocTags.h"

#include "standards/CodePage.h"

namespace corvelle {
namespace {

// A line longer than this without a line end is read as it stands: a tag
// cut there stays text.
constexpr size_t kMaxLine = 4096;

enum class Tag { kNone, kHeader, kHrule, kLink, kLabel, kBookmark };

struct TagAt {
    Tag tag = Tag::kNone;
    size_t end = 0;         // after its '>'
    std::string_view text;  // TEXT="…" of a header or a link
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// The value of attribute `name` inside a tag's attributes: quoted, or up to
// the next blank.
std::string_view Attribute(std::string_view attributes, std::string_view name) {
    for (size_t at = 0; at + name.size() < attributes.size(); ++at) {
        if (attributes.compare(at, name.size(), name) != 0 || attributes[at + name.size()] != '=') continue;
        if (at > 0 && !IsBlank(attributes[at - 1])) continue;
        size_t start = at + name.size() + 1;
        if (start < attributes.size() && attributes[start] == '"') {
            const size_t close = attributes.find('"', start + 1);
            if (close == std::string_view::npos) return attributes.substr(start + 1);
            return attributes.substr(start + 1, close - start - 1);
        }
        size_t end = start;
        while (end < attributes.size() && !IsBlank(attributes[end])) ++end;
        return attributes.substr(start, end - start);
    }
    return {};
}

// The tag that starts at line[at] ('<'), if it is one of TealDoc's.
TagAt ReadTag(std::string_view line, size_t at) {
    static const struct {
        std::string_view name;
        Tag tag;
    } kTags[] = {{"HEADER", Tag::kHeader},
                 {"HRULE", Tag::kHrule},
                 {"LINK", Tag::kLink},
                 {"LABEL", Tag::kLabel},
                 {"BOOKMARK", Tag::kBookmark}};
    TagAt found;
    for (const auto& known : kTags) {
        const size_t after = at + 1 + known.name.size();
        if (line.compare(at + 1, known.name.size(), known.name) != 0 || after >= line.size()) continue;
        if (line[after] != '>' && !IsBlank(line[after])) continue;
        // Its end: the first '>' outside quotes.
        bool quoted = false;
        for (size_t i = after; i < line.size(); ++i) {
            if (line[i] == '"') quoted = !quoted;
            if (line[i] == '>' && !quoted) {
                found.tag = known.tag;
                found.end = i + 1;
                found.text = Attribute(line.substr(after, i - after), "TEXT");
                return found;
            }
        }
        return found;
    }
    return found;
}

}  // namespace

void TealDocTags::Add(std::string_view piece, TealDocOutput& out) {
    m_pending.append(piece.data(), piece.size());
    std::string_view text = m_pending;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string_view::npos; start = end + 1)
        Line(text.substr(start, end - start), true, out);
    if (text.size() - start > kMaxLine) {
        Line(text.substr(start), false, out);
        start = text.size();
    }
    m_pending.erase(0, start);
}

void TealDocTags::Finish(TealDocOutput& out) {
    if (!m_pending.empty()) Line(m_pending, false, out);
    m_pending.clear();
}

void TealDocTags::Line(std::string_view line, bool hasEnd, TealDocOutput& out) {
    // First pass: does the line hold anything but tags that leave nothing
    // of their own on the line (and blanks)?
    bool onlyTags = false;
    for (size_t at = 0; at < line.size();) {
        if (IsBlank(line[at])) {
            ++at;
            continue;
        }
        const TagAt tag = line[at] == '<' ? ReadTag(line, at) : TagAt{};
        if (tag.tag == Tag::kNone || tag.tag == Tag::kLink) {
            onlyTags = false;
            break;
        }
        onlyTags = true;
        at = tag.end;
    }
    size_t textStart = 0;
    for (size_t at = line.find('<'); at != std::string_view::npos; at = line.find('<', at)) {
        const TagAt tag = ReadTag(line, at);
        if (tag.tag == Tag::kNone) {
            ++at;
            continue;
        }
        if (!onlyTags && at > textStart) out.Text(line.substr(textStart, at - textStart));
        switch (tag.tag) {
            case Tag::kHeader: out.Header(tag.text); break;
            case Tag::kHrule: out.Rule(); break;
            case Tag::kLink: out.Text(tag.text); break;
            default: break;
        }
        at = textStart = tag.end;
    }
    if (onlyTags) return;
    if (textStart < line.size()) out.Text(line.substr(textStart));
    if (hasEnd) out.Text("\n");
}

void TealDocBytes::Header(std::string_view bytes) {
    if (!out.empty() && out.back() != '\n') out += '\n';
    out.append(bytes.data(), bytes.size());
    out += '\n';
}

void TealDocBytes::Rule() {
    if (!out.empty() && out.back() != '\n') out += '\n';
    out += '\n';
}

void TealDocToSink::Text(std::string_view bytes) {
    const std::string ready = m_text.Add(bytes);
    if (!ready.empty()) m_sink->Text(ready);
}

void TealDocToSink::Header(std::string_view bytes) {
    Flush();
    m_sink->Heading(m_decoder.ToUtf8(bytes));
}

void TealDocToSink::Rule() {
    Flush();
    m_sink->Rule();
}

void TealDocToSink::Flush() {
    const std::string rest = m_text.Finish();
    if (!rest.empty()) m_sink->Text(rest);
}

}  // namespace corvelle
