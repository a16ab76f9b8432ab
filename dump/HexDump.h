// The bytes of an entry as `hexdump -v -C` shows them.
#pragma once

#include <cstdint>
#include <string>

namespace corvelle {

// `hexdump -v -C` of the bytes, closing length line included.
void AppendHexDump(const uint8_t* data, uint64_t size, std::string& out);

}  // namespace corvelle
