// Base64 (RFC 4648, with its padding), which vCard's "b" encoding and the
// encoded words of mail headers both are.
#pragma once

#include <cstdint>
#include <string>

namespace corvelle {

void AppendBase64(const uint8_t* bytes, uint64_t size, std::string& out);

}  // namespace corvelle
