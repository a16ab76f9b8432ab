// What every fuzz target of the books checks of what a reader gives: a
// failed check aborts, which libFuzzer reports with the input.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "standards/Utf8.h"
#include "formats/DocumentText.h"

namespace corvelle::fuzz {

inline void Check(bool ok) {
    if (!ok) std::abort();
}

// The text export trusts a reader's pieces to be well-formed UTF-8.
inline void CheckUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const size_t length = Utf8SequenceLength(text, i);
        Check(length != 0);
        i += length;
    }
}

// A document's text and headings counted, each piece checked as UTF-8, and
// each note one line.
class CheckedSink final : public DocumentSink {
public:
    void Text(std::string_view utf8, unsigned) override { Add(utf8); }
    void Heading(std::string_view utf8) override { Add(utf8); }
    void Image(const ByteSpan&) override {}
    void Rule() override {}
    void Note(std::string note) override { Check(note.find('\n') == std::string::npos); }
    uint64_t size = 0;

private:
    void Add(std::string_view utf8) {
        CheckUtf8(utf8);
        size += utf8.size();
    }
};

}  // namespace corvelle::fuzz
