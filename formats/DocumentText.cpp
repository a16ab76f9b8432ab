#include "formats/DocumentText.h"

#include "standards/CodePage.h"

namespace corvelle {

namespace {

void Append(std::string& to, std::string&& more) {
    if (to.empty())
        to = std::move(more);
    else
        to += more;
}

}  // namespace

// Only what is held back is copied: it ends at the piece's first line feed,
// and the piece up to its last one is converted where it lies.
std::string DeviceText::Add(std::string_view bytes) {
    std::string ready;
    if (!m_pending.empty()) {
        const size_t first = bytes.find('\n');
        if (first == std::string_view::npos) {
            m_pending.append(bytes.data(), bytes.size());
            return CutLongLine();
        }
        m_pending.append(bytes.data(), first + 1);
        ready = Convert(m_pending);
        m_pending.clear();
        bytes.remove_prefix(first + 1);
    }
    const size_t last = bytes.rfind('\n');
    if (last == std::string_view::npos) {
        m_pending.assign(bytes.data(), bytes.size());
        Append(ready, CutLongLine());
        return ready;
    }
    Append(ready, Convert(bytes.substr(0, last + 1)));
    m_pending.assign(bytes.data() + last + 1, bytes.size() - last - 1);
    return ready;
}

// A document without line feeds (a Mobipocket book's markup is one line)
// still arrives in pieces once it is long: cut after the last byte below 40h
// other than CR, which no character of UTF-8, Shift_JIS or Big5 has inside
// it, and which keeps a CR with the LF that may follow it.
std::string DeviceText::CutLongLine() {
    if (m_pending.size() < 65536) return {};
    size_t cut = std::string::npos;
    for (size_t at = m_pending.size(); at-- > 0 && cut == std::string::npos;)
        if (static_cast<unsigned char>(m_pending[at]) < 0x40 && m_pending[at] != '\r') cut = at;
    if (cut == std::string::npos) return Finish();
    std::string ready = Convert(std::string_view(m_pending).substr(0, cut + 1));
    m_pending.erase(0, cut + 1);
    return ready;
}

std::string DeviceText::Finish() {
    std::string rest;
    rest.swap(m_pending);
    return Convert(rest);
}

std::string DeviceText::Convert(std::string_view bytes) {
    std::string utf8;
    m_decoder.AppendUtf8(bytes, utf8);
    if (m_lineEnds == LineEnds::kAsTheyAre || utf8.find('\r') == std::string::npos) return utf8;
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
