// TealDoc's tags, read out of a PalmDOC text: upper-case tags, one a line,
// <HEADER TEXT="…" …> (a header, a line of its own), <HRULE …> (a rule),
// <LINK TEXT="…" …> (its text where it stands), <LABEL …> and <BOOKMARK …>
// (nothing). A line that held only tags leaves no empty line behind. Any
// other '<' is text. Works on the device's bytes, before their code page
// is converted: the tags are ASCII.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "formats/DocumentText.h"

namespace corvelle {

// What the tags leave, in the device's bytes.
class TealDocOutput {
public:
    virtual ~TealDocOutput() = default;
    virtual void Text(std::string_view bytes) = 0;
    virtual void Header(std::string_view bytes) = 0;
    virtual void Rule() = 0;
};

class TealDocTags {
public:
    // The next piece of the text. A line the piece cuts waits for its end,
    // so that a tag cut between two records is read whole.
    void Add(std::string_view piece, TealDocOutput& out);
    // The end of the text: the last line, without its line end.
    void Finish(TealDocOutput& out);

private:
    void Line(std::string_view line, bool hasEnd, TealDocOutput& out);

    std::string m_pending;  // the line the last piece cut
};

// The tags' output as the device's bytes with headers and rules as lines of
// their own (a rule an empty line): for an export of chosen records.
class TealDocBytes final : public TealDocOutput {
public:
    void Text(std::string_view bytes) override { out.append(bytes.data(), bytes.size()); }
    void Header(std::string_view bytes) override;
    void Rule() override;
    std::string out;
};

// The tags' output handed to a document's sink, converted from the user's
// code page as DeviceText converts (a character two records share is
// converted whole), headers as headings.
class TealDocToSink final : public TealDocOutput {
public:
    explicit TealDocToSink(TextDecoder& decoder) : m_decoder(decoder), m_text(decoder) {}
    // Where the pieces go until the next call.
    void SetSink(DocumentSink& sink) { m_sink = &sink; }
    void Text(std::string_view bytes) override;
    void Header(std::string_view bytes) override;
    void Rule() override;
    // The rest of the text, at the end of the document.
    void Flush();

private:
    TextDecoder& m_decoder;
    DeviceText m_text;
    DocumentSink* m_sink = nullptr;
};

}  // namespace corvelle
