// The one owner type for every handle the plug-in creates: fonts, hooks,
// modules, cursors, windows, registry keys, kernel handles. Move-only, so a
// handle has exactly one owner and is released exactly once.
//
// The template itself is free of Win32 so that its ownership rules can be
// checked natively; the traits for the Windows handle kinds follow below it
// and exist only when building for Windows.
#pragma once

#include <utility>

namespace corvelle {

// Traits give the handle type, the value that means "nothing owned" and the
// call that releases a handle:
//   struct Traits { using Handle = ...; static Handle Invalid(); static void Close(Handle); };
template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() noexcept : m_handle(Traits::Invalid()) {}
    explicit UniqueHandle(Handle handle) noexcept : m_handle(handle) {}
    ~UniqueHandle() { Reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }

    Handle Get() const noexcept { return m_handle; }
    bool IsValid() const noexcept { return m_handle != Traits::Invalid(); }
    explicit operator bool() const noexcept { return IsValid(); }

    // Gives up ownership without releasing: the caller now owns the handle.
    Handle Release() noexcept { return std::exchange(m_handle, Traits::Invalid()); }

    // Releases the owned handle (if any) and takes `handle`. Resetting to the
    // handle already owned keeps it instead of closing it under its owner.
    void Reset(Handle handle = Traits::Invalid()) noexcept {
        if (handle == m_handle) {
            return;
        }
        Handle old = std::exchange(m_handle, handle);
        if (old != Traits::Invalid()) {
            Traits::Close(old);
        }
    }

private:
    Handle m_handle;
};

}  // namespace corvelle

#ifdef _WIN32
#include <windows.h>

namespace corvelle {

// Handles whose "nothing" is a null pointer and that one API call releases.
template <typename H, void (*CloseFn)(H)>
struct NullHandleTraits {
    using Handle = H;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle handle) noexcept { CloseFn(handle); }
};

namespace handle_close {
inline void GdiObject(HGDIOBJ handle) { ::DeleteObject(handle); }
inline void Font(HFONT handle) { ::DeleteObject(handle); }
inline void Bitmap(HBITMAP handle) { ::DeleteObject(handle); }
inline void Brush(HBRUSH handle) { ::DeleteObject(handle); }
inline void Hook(HHOOK handle) { ::UnhookWindowsHookEx(handle); }
inline void Module(HMODULE handle) { ::FreeLibrary(handle); }
// Only for cursors the plug-in made itself (CopyCursor, CreateCursor): a
// cursor from LoadCursor is shared and must not be destroyed.
inline void Cursor(HCURSOR handle) { ::DestroyCursor(handle); }
inline void Window(HWND handle) {
    // The window may already be gone with its parent; destroying a dead
    // handle would only fail, but checking keeps the error state clean.
    if (::IsWindow(handle)) {
        ::DestroyWindow(handle);
    }
}
inline void RegistryKey(HKEY handle) { ::RegCloseKey(handle); }
inline void Kernel(HANDLE handle) { ::CloseHandle(handle); }
}  // namespace handle_close

using UniqueGdiObject = UniqueHandle<NullHandleTraits<HGDIOBJ, handle_close::GdiObject>>;
using UniqueFont = UniqueHandle<NullHandleTraits<HFONT, handle_close::Font>>;
using UniqueBitmap = UniqueHandle<NullHandleTraits<HBITMAP, handle_close::Bitmap>>;
using UniqueBrush = UniqueHandle<NullHandleTraits<HBRUSH, handle_close::Brush>>;
using UniqueHook = UniqueHandle<NullHandleTraits<HHOOK, handle_close::Hook>>;
using UniqueModule = UniqueHandle<NullHandleTraits<HMODULE, handle_close::Module>>;
using UniqueCursor = UniqueHandle<NullHandleTraits<HCURSOR, handle_close::Cursor>>;
using UniqueWindow = UniqueHandle<NullHandleTraits<HWND, handle_close::Window>>;
using UniqueRegistryKey = UniqueHandle<NullHandleTraits<HKEY, handle_close::RegistryKey>>;

// Kernel objects that report failure with null (mappings, events, threads).
using UniqueKernelHandle = UniqueHandle<NullHandleTraits<HANDLE, handle_close::Kernel>>;

// CreateFile reports failure with INVALID_HANDLE_VALUE, not null.
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) noexcept { ::CloseHandle(handle); }
};
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;

// A mapped view is released with UnmapViewOfFile.
struct MappedViewTraits {
    using Handle = const void*;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle view) noexcept { ::UnmapViewOfFile(view); }
};
using UniqueMappedView = UniqueHandle<MappedViewTraits>;

// A COM interface pointer: released once, by its owner.
template <class Interface>
struct ComTraits {
    using Handle = Interface*;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle object) noexcept { object->Release(); }
};
template <class Interface>
using UniqueCom = UniqueHandle<ComTraits<Interface>>;

}  // namespace corvelle
#endif  // _WIN32
