// What the record and book tests share: a file's bytes kept alone on the heap at exactly their
// length, so that the sanitizer build catches a read one byte past the end, and a span over bytes.
#pragma once

#include <string>
#include <vector>

#include "dump/ByteSpan.h"
#include "dump/DatabaseModel.h"

namespace corvelle {

struct HeapFile {
    std::vector<uint8_t> bytes;
    explicit HeapFile(const std::string& text) : bytes(text.begin(), text.end()) {}
    DatabaseModel Model() const { return DatabaseModel(bytes.empty() ? nullptr : bytes.data(), bytes.size()); }
};

inline ByteSpan Span(const std::string& bytes) {
    return {reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()};
}

}  // namespace corvelle
