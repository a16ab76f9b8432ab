#include "model/MemoryStop.h"

#include <algorithm>
#include <limits>

namespace corvelle {
namespace {

// a * b, or the largest value when that does not fit.
uint64_t SaturatingProduct(uint64_t a, uint64_t b) {
    if (a != 0 && b > std::numeric_limits<uint64_t>::max() / a) {
        return std::numeric_limits<uint64_t>::max();
    }
    return a * b;
}

// How far `after` is above `before`; 0 when it is not.
uint64_t Grown(uint64_t before, uint64_t after) { return after > before ? after - before : 0; }

uint64_t UsedVirtual(const MemoryRoom& room) {
    return Grown(room.availableVirtual, room.totalVirtual);
}

}  // namespace

uint64_t ControlBytesPerReportByte(const MemoryRoom& atStart, const MemoryRoom& now,
                                   uint64_t shownSinceStart) {
    uint64_t measured = 0;
    if (shownSinceStart > 0) {
        const uint64_t grown = std::max(Grown(UsedVirtual(atStart), UsedVirtual(now)),
                                        Grown(atStart.commit, now.commit));
        measured = grown / shownSinceStart + (grown % shownSinceStart != 0 ? 1 : 0);
    }
    const uint64_t floor =
        shownSinceStart < kMeasuredAfterBytes ? kFirstBytesPerReportByte : kLeastBytesPerReportByte;
    return std::max(measured, floor);
}

uint64_t AddressSpaceToKeep(uint64_t totalVirtual) {
    if (totalVirtual > kBoundedAddressSpace) {
        return 0;
    }
    return std::max(totalVirtual / 100 * kKeptAddressSpacePercent, kLeastKeptAddressSpace);
}

uint64_t BytesThatFit(const MemoryRoom& room, std::optional<uint64_t> budget, uint64_t shownBytes,
                      uint64_t bytesPerByte) {
    const uint64_t keep = AddressSpaceToKeep(room.totalVirtual);
    uint64_t roomLeft = Grown(keep > 0 ? keep + kAddressSpaceAllowance : 0, room.availableVirtual);
    roomLeft = std::min(roomLeft, Grown(kPhysicalMarginBytes, room.availablePhysical));
    if (budget) {
        roomLeft = std::min(roomLeft, Grown(SaturatingProduct(shownBytes, bytesPerByte), *budget));
    }
    return roomLeft / std::max<uint64_t>(bytesPerByte, 1);
}

MemoryRoom WithAddressSpace(MemoryRoom room, uint64_t totalVirtual) {
    const uint64_t used = UsedVirtual(room);
    room.totalVirtual = totalVirtual;
    room.availableVirtual = totalVirtual > used ? totalVirtual - used : 0;
    return room;
}

std::optional<uint64_t> ParseMegabytes(const char* text) {
    if (text == nullptr || *text == '\0') {
        return std::nullopt;
    }
    constexpr uint64_t kMegabyte = 1024 * 1024;
    uint64_t megabytes = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9') {
            return std::nullopt;
        }
        megabytes = megabytes * 10 + static_cast<uint64_t>(*p - '0');
        if (megabytes > std::numeric_limits<uint64_t>::max() / kMegabyte) {
            return std::nullopt;
        }
    }
    if (megabytes == 0) {
        return std::nullopt;
    }
    return megabytes * kMegabyte;
}

}  // namespace corvelle
