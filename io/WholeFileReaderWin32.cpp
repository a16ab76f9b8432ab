// The Windows half of ReadWholeFile.
#include "io/WholeFileReader.h"

#include <windows.h>

#include <new>

#include "base/UniqueHandle.h"

namespace corvelle {
namespace {

// One ReadFile call takes at most this much: a single call for a whole big
// file would need the system to lock all of its pages at once.
constexpr DWORD kReadChunk = 16u << 20;

}  // namespace

ReadResult ReadWholeFile(const NativePath& path, std::vector<uint8_t>& bytes) {
    bytes.clear();
    const UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return ReadResult::kNotOpened;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0) return ReadResult::kReadFailed;
    if (static_cast<uint64_t>(size.QuadPart) > UINT32_MAX) return ReadResult::kTooLarge;
    const auto total = static_cast<size_t>(size.QuadPart);
    try {
        bytes.resize(total);
    } catch (const std::bad_alloc&) {
        bytes = std::vector<uint8_t>();
        return ReadResult::kNoMemory;
    }
    size_t done = 0;
    while (done < total) {
        const size_t left = total - done;
        const DWORD want = left < kReadChunk ? static_cast<DWORD>(left) : kReadChunk;
        DWORD got = 0;
        if (!::ReadFile(file.Get(), bytes.data() + done, want, &got, nullptr)) {
            bytes = std::vector<uint8_t>();
            return ReadResult::kReadFailed;
        }
        if (got == 0) break;  // shorter than it was a moment ago
        done += got;
    }
    bytes.resize(done);
    return ReadResult::kRead;
}

}  // namespace corvelle
