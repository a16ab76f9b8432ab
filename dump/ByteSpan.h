// Some bytes inside the viewed file: an entry's data, a block, a bitmap
// family. The file's bytes outlive every span taken from them.
#pragma once

#include <cstdint>
#include <string_view>

namespace corvelle {

struct ByteSpan {
    const uint8_t* data = nullptr;
    uint64_t size = 0;

    std::string_view Chars() const {
        return std::string_view(reinterpret_cast<const char*>(data), static_cast<size_t>(size));
    }
};

}  // namespace corvelle
