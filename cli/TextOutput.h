// Standard output for what holds the file's texts (the report, --records,
// --record N): their bytes as they are, which scripts rely on, or with
// --encoding NAME converted from that code page to UTF-8, line ends kept.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "standards/CodePage.h"
#include "formats/DocumentText.h"

namespace corvelle_dump {

class TextOutput {
public:
    // Null: the bytes as they are.
    explicit TextOutput(const corvelle::CodePageInfo* page);

    // False when this system cannot convert from the page.
    bool Ok() const { return m_decoder == nullptr || m_decoder->Ok(); }
    // A character that two writes share is converted whole.
    void Write(std::string_view bytes);
    // Writes what is held back; call once at the end.
    void Finish();

private:
    std::unique_ptr<corvelle::TextDecoder> m_decoder;
    std::unique_ptr<corvelle::DeviceText> m_text;
};

}  // namespace corvelle_dump
