// Memos and documents as plain UTF-8 text.
//
// A document's whole text is read through its format's document reader, as
// the Text page reads it (export/PlainDocument.h). A selection of its
// records gives the text those records hold, in the order asked, through the
// same conversion: the user's code page where the format names none, and LF
// line ends.
//
// Memos come one after the other, each followed by a line break, with a
// separator line between two of them. The separator is a rule of equals
// signs with the memo's number; the rule is made longer until no line of any
// memo starts with it, so that the separator can never be memo text and the
// memos can be split apart again exactly.
#include <string>
#include <vector>

#include "formats/ExportFeed.h"
#include "export/ExportWriters.h"
#include "export/PlainDocument.h"
#include "formats/DocumentText.h"
#include "formats/HtmlText.h"

namespace corvelle {
namespace {

bool AnyLineStartsWith(const std::string& text, const std::string& prefix) {
    for (size_t start = 0; start <= text.size();) {
        if (text.compare(start, prefix.size(), prefix) == 0) return true;
        const size_t end = text.find('\n', start);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return false;
}

std::string SeparatorRule(const std::vector<std::string>& memos) {
    std::string rule(8, '=');
    for (bool clash = true; clash;) {
        clash = false;
        for (const std::string& memo : memos) {
            if (AnyLineStartsWith(memo, rule)) {
                clash = true;
                rule += "====";
                break;
            }
        }
    }
    return rule;
}

// Memos are kept apart until all are in, for the rule; a document's pieces
// are joined before conversion: a two-byte character of Shift_JIS or Big5
// may straddle two records.
class TextFeed final : public ExportFeed {
public:
    explicit TextFeed(const ExportContext& context) : m_context(context) {}

    void Begin(size_t) {}
    void Memo(std::string_view text) override { m_memos.push_back(m_context.Utf8(text)); }
    void Document(std::string_view text) override { m_document.append(text.data(), text.size()); }
    void HtmlDocument(std::string_view text) override {
        m_html = true;
        Document(text);
    }
    void ReadableText(std::string utf8) override {
        if (m_readable.empty())
            m_readable = std::move(utf8);  // a book's whole text: megabytes
        else
            m_readable += utf8;
    }
    void Warn(std::string text) override { m_context.Warn(std::move(text)); }

    void Write(std::string& out) {
        WriteMemos(out);
        DeviceText document(m_context.decoder);
        if (m_html) {
            // Images have no bytes here: the export marks where they stand.
            PlainTextSink sink(out, [this](std::string text) { m_context.Warn(std::move(text)); });
            HtmlText html(nullptr);
            html.Add(document.Add(m_document), sink);
            html.Add(document.Finish(), sink);
            html.Finish(sink);
        } else {
            out += document.Add(m_document);
            out += document.Finish();
        }
        if (out.empty())
            out.swap(m_readable);
        else
            out += m_readable;
    }

private:
    void WriteMemos(std::string& out) const {
        const std::string rule = SeparatorRule(m_memos);
        const std::string count = std::to_string(m_memos.size());
        for (size_t i = 0; i < m_memos.size(); ++i) {
            if (i > 0) out += rule + " Memo " + std::to_string(i + 1) + " of " + count + " " + rule + "\n";
            out += m_memos[i];
            out += '\n';
        }
    }

    const ExportContext& m_context;
    std::vector<std::string> m_memos;
    std::string m_document;
    bool m_html = false;
    std::string m_readable;
};

}  // namespace

void WriteText(const ExportContext& context, std::string& out) {
    if (ExportsWholeDocument(context, ExportType::kText)) {
        TextOptions options;
        options.fallbackDecoder = &context.decoder;
        const auto warn = [&context](std::string text) { context.Warn(std::move(text)); };
        if (WritePlainDocument(context.database.Reader(), options, out, warn, context.flush)) return;
    }
    TextFeed feed(context);
    FeedLiveEntries(context, ExportType::kText, feed);
    feed.Write(out);
}

}  // namespace corvelle
