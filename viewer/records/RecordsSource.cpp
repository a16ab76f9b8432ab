#include "viewer/records/RecordsSource.h"

#include <windows.h>

#include <climits>
#include <new>

#include "dump/DatabaseModel.h"
#include "formats/FormatTable.h"
#include "viewer/UniqueHandle.h"

namespace corvelle {
namespace {

constexpr DWORD kHeaderSize = 78;
// One ReadFile call takes at most this much: a single call for a whole big
// file would need the system to lock all of its pages at once.
constexpr DWORD kReadChunk = 16u << 20;

UniqueFileHandle OpenForReading(const std::wstring& path) {
    // Others may go on writing, renaming or deleting the file: the viewer is
    // only a reader, and it closes the file before the page is drawn.
    return UniqueFileHandle(::CreateFileW(path.c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

}  // namespace

std::wstring WidenAnsiPath(const char* path) {
    if (path == nullptr || *path == '\0') return std::wstring();
    const int length = ::MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, path, -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length) - 1);  // without the terminating zero
    return wide;
}

std::wstring WidenDeviceText(const std::string& text, unsigned codePage) {
    if (text.empty() || text.size() > INT_MAX) return std::wstring();
    const int length = ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

ReadResult ReadWholeFile(const std::wstring& path, std::vector<uint8_t>& bytes) {
    bytes.clear();
    UniqueFileHandle file = OpenForReading(path);
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

HeaderFacts ReadHeaderFacts(const std::wstring& path) {
    uint8_t header[kHeaderSize] = {};
    DWORD got = 0;
    UniqueFileHandle file = OpenForReading(path);
    if (!file || !::ReadFile(file.Get(), header, kHeaderSize, &got, nullptr)) return HeaderFacts{};
    // The model decides, as it will for the pages: a header cut short gives
    // no resource flag and no format.
    const DatabaseModel model(header, got);
    const Format* format = FindFormat(model);
    HeaderFacts facts;
    facts.holdsResources = model.HeaderWhole() && model.HoldsResources();
    facts.hasDocument = format != nullptr && format->hasDocument;
    return facts;
}

}  // namespace corvelle
