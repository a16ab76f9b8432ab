// Appending numbers as Palm OS stores them, most significant byte first: the
// one way the writers of databases and bitmaps put them down.
#pragma once

#include <cstdint>
#include <string>

namespace corvelle::samples {

inline void Put8(std::string& out, uint32_t value) { out.push_back(static_cast<char>(value & 0xFF)); }
inline void Put16(std::string& out, uint32_t value) {
    Put8(out, value >> 8);
    Put8(out, value);
}
inline void Put32(std::string& out, uint32_t value) {
    Put16(out, value >> 16);
    Put16(out, value);
}

}  // namespace corvelle::samples
