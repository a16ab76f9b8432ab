// The list's contents cell as a format fills it: every byte below 20h becomes
// a space, so that a row stays one line, and the cell ends after 80 bytes.
// Appends into the caller's buffer without a heap allocation of its own, so
// that `--records` of 65535 entries and the list's drawing stay cheap.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace corvelle {

class ContentsCell {
public:
    static constexpr size_t kLimit = 80;

    explicit ContentsCell(std::string& out) : m_out(out) {}

    void Add(std::string_view text) {
        const size_t count = text.size() < m_room ? text.size() : m_room;
        const size_t start = m_out.size();
        m_out.append(text.data(), count);
        for (size_t i = start; i < m_out.size(); ++i)
            if (static_cast<unsigned char>(m_out[i]) < 0x20) m_out[i] = ' ';
        m_room -= count;
    }
    // The buffer, for text of our own that is short and free of control
    // bytes; say with Took how much was appended.
    std::string& Out() { return m_out; }
    void Took(size_t count) { m_room -= count < m_room ? count : m_room; }

private:
    std::string& m_out;
    size_t m_room = kLimit;
};

}  // namespace corvelle
