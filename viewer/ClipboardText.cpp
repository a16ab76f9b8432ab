#include "viewer/ClipboardText.h"

#include <cstring>

#include "base/UniqueHandle.h"

namespace {

void FreeGlobal(HGLOBAL handle) { ::GlobalFree(handle); }
using UniqueGlobal = corvelle::UniqueHandle<corvelle::NullHandleTraits<HGLOBAL, &FreeGlobal>>;

// The clipboard stays open from construction to destruction.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND hOwner) : m_bOpen(::OpenClipboard(hOwner) != FALSE) {}
    ~OpenedClipboard() {
        if (m_bOpen) {
            ::CloseClipboard();
        }
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    bool IsOpen() const { return m_bOpen; }

private:
    bool m_bOpen;
};

// `bytes` bytes from `data`, with its terminator, under `format`.
bool PutOnClipboard(HWND hOwner, const void* data, size_t bytes, UINT format) {
    // The memory first: when it cannot be had, the clipboard keeps what it had.
    UniqueGlobal memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory) {
        return false;
    }
    void* locked = ::GlobalLock(memory.Get());
    if (locked == nullptr) {
        return false;
    }
    std::memcpy(locked, data, bytes);
    ::GlobalUnlock(memory.Get());

    OpenedClipboard clipboard(hOwner);
    if (!clipboard.IsOpen() || !::EmptyClipboard()) {
        return false;
    }
    if (::SetClipboardData(format, memory.Get()) == nullptr) {
        return false;
    }
    memory.Release();  // the clipboard owns it now
    return true;
}

}  // namespace

bool PutTextOnClipboard(HWND hOwner, const std::string& text) {
    return PutOnClipboard(hOwner, text.c_str(), text.size() + 1, CF_TEXT);
}

bool PutTextOnClipboard(HWND hOwner, const std::wstring& text) {
    return PutOnClipboard(hOwner, text.c_str(), (text.size() + 1) * sizeof(wchar_t), CF_UNICODETEXT);
}
