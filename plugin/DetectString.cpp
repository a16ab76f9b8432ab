#include "plugin/DetectString.h"

#include <cstring>

namespace corvelle {

void CopyDetectString(char* buffer, size_t capacity) {
    if (buffer == nullptr || capacity == 0) return;
    if (sizeof kDetectString > capacity) {
        buffer[0] = '\0';
        return;
    }
    std::memcpy(buffer, kDetectString, sizeof kDetectString);
}

}  // namespace corvelle
