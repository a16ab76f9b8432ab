#include "cli/TextOutput.h"

#include <cstdio>

namespace corvelle_dump {
namespace {

void Put(std::string_view bytes) { std::fwrite(bytes.data(), 1, bytes.size(), stdout); }

}  // namespace

TextOutput::TextOutput(const corvelle::CodePageInfo* page) {
    if (page == nullptr) return;
    m_decoder = std::make_unique<corvelle::TextDecoder>(*page);
    m_text = std::make_unique<corvelle::DeviceText>(*m_decoder, corvelle::DeviceText::LineEnds::kAsTheyAre);
}

void TextOutput::Write(std::string_view bytes) {
    if (m_text)
        Put(m_text->Add(bytes));
    else
        Put(bytes);
}

void TextOutput::Finish() {
    if (m_text) Put(m_text->Finish());
}

}  // namespace corvelle_dump
