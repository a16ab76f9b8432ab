#include "viewer/ClipboardText.h"

#include <cstring>

#include "viewer/UniqueHandle.h"

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

}  // namespace

bool PutTextOnClipboard(HWND hOwner, const std::string& text) {
    // The memory first: when it cannot be had, the clipboard keeps what it had.
    UniqueGlobal memory(::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
    if (!memory) {
        return false;
    }
    void* locked = ::GlobalLock(memory.Get());
    if (locked == nullptr) {
        return false;
    }
    std::memcpy(locked, text.c_str(), text.size() + 1);
    ::GlobalUnlock(memory.Get());

    OpenedClipboard clipboard(hOwner);
    if (!clipboard.IsOpen() || !::EmptyClipboard()) {
        return false;
    }
    if (::SetClipboardData(CF_TEXT, memory.Get()) == nullptr) {
        return false;
    }
    memory.Release();  // the clipboard owns it now
    return true;
}
