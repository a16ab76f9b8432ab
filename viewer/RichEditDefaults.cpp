#include "viewer/RichEditDefaults.h"

#include <cstring>

namespace corvelle {

namespace {

constexpr uint32_t kDefaultTextLimit = 0x10000;
// The control takes the limit as a signed 32-bit count.
constexpr uint32_t kLargestTextLimit = 0x7FFFFFFF;

}  // namespace

size_t CopyCutText(char* destination, size_t destinationSize, const char* source,
                   size_t sourceSize) {
    if (destination == nullptr || destinationSize == 0) {
        return 0;
    }
    size_t length = 0;
    if (source != nullptr) {
        const void* end = std::memchr(source, '\0', sourceSize);
        length = end != nullptr ? static_cast<size_t>(static_cast<const char*>(end) - source)
                                : sourceSize;
    }
    if (length > destinationSize - 1) {
        length = destinationSize - 1;
    }
    if (length > 0) {
        std::memcpy(destination, source, length);
    }
    destination[length] = '\0';
    return length;
}

bool ApplyListerFont(CharFormatFields& format, const ListerFont& font) {
    bool changed = false;
    if (font.nHeight != 0) {
        format.mask = kCfmSize;
        format.height = font.nHeight;
        changed = true;
    }
    if (font.szFaceName[0] != '\0') {
        format.mask |= kCfmFace;
        CopyCutText(format.faceName, sizeof(format.faceName), font.szFaceName,
                    sizeof(font.szFaceName));
        changed = true;
    }
    if (font.bBold != 0) {
        format.mask |= kCfmBold;
        format.effects |= kCfeBold;
        changed = true;
    }
    if (font.bItalic != 0) {
        format.mask |= kCfmItalic;
        format.effects |= kCfeItalic;
        changed = true;
    }
    return changed;
}

int UsableTabCount(int count, bool haveList) {
    if (!haveList || count <= 0) {
        return 0;
    }
    return count > kMaxTabStops ? kMaxTabStops : count;
}

uint32_t TextLimitFor(size_t length) {
    if (length <= kDefaultTextLimit) {
        return kDefaultTextLimit;
    }
    if (length >= kLargestTextLimit) {
        return kLargestTextLimit;
    }
    return static_cast<uint32_t>(length);
}

}  // namespace corvelle
