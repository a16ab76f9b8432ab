#include "formats/DocumentText.h"

#include "export/CodePage.h"

namespace corvelle {

std::string DeviceText::Add(std::string_view bytes) {
    m_pending.append(bytes.data(), bytes.size());
    const size_t lastLine = m_pending.rfind('\n');
    if (lastLine == std::string::npos) {
        // A document without line feeds still arrives in pieces; a long
        // line of single-byte text is converted once it is long.
        if (m_pending.size() < 65536) return {};
        return Finish();
    }
    const std::string ready = m_pending.substr(0, lastLine + 1);
    m_pending.erase(0, lastLine + 1);
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
