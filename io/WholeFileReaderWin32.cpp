// The Windows half of ReadWholeFile.
#include "io/WholeFileReader.h"
#include "io/WholeFileReadLoop.h"

#include <windows.h>

#include "base/UniqueHandle.h"

namespace corvelle {
ReadResult ReadWholeFile(const NativePath& path, std::vector<uint8_t>& bytes) {
    bytes.clear();
    const UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return ReadResult::kNotOpened;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0) return ReadResult::kReadFailed;
    if (static_cast<uint64_t>(size.QuadPart) > UINT32_MAX) return ReadResult::kTooLarge;
    return ReadInPieces(static_cast<size_t>(size.QuadPart), bytes, [&](uint8_t* to, size_t want) -> long long {
        DWORD got = 0;
        if (!::ReadFile(file.Get(), to, static_cast<DWORD>(want), &got, nullptr)) return -1;
        return got;
    });
}

}  // namespace corvelle
