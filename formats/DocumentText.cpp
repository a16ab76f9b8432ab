#include "formats/DocumentText.h"

#include "export/CodePage.h"

namespace corvelle {

std::string DeviceText::Add(std::string_view bytes) {
    m_pending.append(bytes.data(), bytes.size());
    const size_t lastLine = m_pending.rfind('\n');
    size_t cut = lastLine;
    if (cut == std::string::npos) {
        // A document without line feeds (a Mobipocket book's markup is one
        // line) still arrives in pieces once it is long: cut after the last
        // byte below 40h other than CR, which no character of UTF-8,
        // Shift_JIS or Big5 has inside it, and which keeps a CR with the LF
        // that may follow it.
        if (m_pending.size() < 65536) return {};
        for (size_t at = m_pending.size(); at-- > 0 && cut == std::string::npos;)
            if (static_cast<unsigned char>(m_pending[at]) < 0x40 && m_pending[at] != '\r') cut = at;
        if (cut == std::string::npos) return Finish();
    }
    const std::string ready = m_pending.substr(0, cut + 1);
    m_pending.erase(0, cut + 1);
    return Convert(ready);
}

std::string DeviceText::Finish() {
    std::string rest;
    rest.swap(m_pending);
    return Convert(rest);
}

std::string DeviceText::Convert(std::string_view bytes) {
    std::string utf8;
    m_decoder.AppendUtf8(bytes, utf8);
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] != '\r') {
            out += utf8[i];
        } else if (i + 1 >= utf8.size() || utf8[i + 1] != '\n') {
            out += '\n';
        }
    }
    return out;
}

}  // namespace corvelle
