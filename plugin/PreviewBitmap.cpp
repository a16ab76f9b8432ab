// ListGetPreviewBitmap(W): the launcher icon of an application as its
// thumbnail. Nothing here touches module-wide state, so a host may ask for
// thumbnails from a thread of its own while a viewer is open.
#include "plugin/PreviewBitmap.h"

#include "dump/LauncherIcon.h"
#include "io/MappedFile.h"
#include "plugin/FileNameRules.h"
#include "base/UniqueHandle.h"

namespace corvelle {
namespace {

template <typename Char>
HBITMAP PreviewOf(const Char* path, int width, int height) {
    if (path == nullptr || width <= 0 || height <= 0 || !IsHandledPath(path)) return nullptr;
    IconImage icon;
    {
        // Opened as the viewer opens it (read-only, others may read), and
        // closed before the bitmap is made: the host may move the file next.
        MappedFile file;
        if (file.Open(path) != MappedFile::kMapped) return nullptr;
        if (!DecodeLauncherIcon(file.View(), file.Size(), static_cast<uint32_t>(width), static_cast<uint32_t>(height),
                                icon))
            return nullptr;
    }
    return OpaqueBitmap(ScaleToFit(icon, static_cast<uint32_t>(width), static_cast<uint32_t>(height)),
                        GetSysColor(COLOR_WINDOW));
}

uint8_t Over(uint8_t color, uint8_t alpha, uint8_t background) {
    return static_cast<uint8_t>((color * alpha + background * (255 - alpha) + 127) / 255);
}

}  // namespace

// The thumbnail is drawn over the window colour rather than handed over with
// its alpha: a host that does not blend a 32-bit bitmap's alpha would show
// transparent pixels black, while an opaque picture on the colour that the
// host centres it on looks the same everywhere.
HBITMAP OpaqueBitmap(const IconImage& icon, COLORREF background) {
    if (icon.width == 0 || icon.height == 0) return nullptr;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = static_cast<LONG>(icon.width);
    info.bmiHeader.biHeight = static_cast<LONG>(icon.height);  // bottom-up, as GDI expects by default
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || bits == nullptr) return nullptr;
    const size_t stride = (size_t{icon.width} * 3 + 3) & ~size_t{3};
    for (uint32_t y = 0; y < icon.height; ++y) {
        uint8_t* row = static_cast<uint8_t*>(bits) + (icon.height - 1 - y) * stride;
        for (uint32_t x = 0; x < icon.width; ++x) {
            const Rgba& p = icon.pixels[size_t{y} * icon.width + x];
            row[3 * x] = Over(p.b, p.a, GetBValue(background));
            row[3 * x + 1] = Over(p.g, p.a, GetGValue(background));
            row[3 * x + 2] = Over(p.r, p.a, GetRValue(background));
        }
    }
    GdiFlush();  // the bits were written behind GDI's back
    return bitmap.Release();
}

}  // namespace corvelle

// Nothing may unwind into the host: every failure is a null bitmap.
extern "C" HBITMAP __stdcall ListGetPreviewBitmap(char* FileToLoad, int width, int height, char* /*contentbuf*/,
                                                   int /*contentbuflen*/) {
    try {
        return corvelle::PreviewOf(FileToLoad, width, height);
    } catch (...) {
        return nullptr;
    }
}

extern "C" HBITMAP __stdcall ListGetPreviewBitmapW(WCHAR* FileToLoad, int width, int height, char* /*contentbuf*/,
                                                    int /*contentbuflen*/) {
    try {
        return corvelle::PreviewOf(FileToLoad, width, height);
    } catch (...) {
        return nullptr;
    }
}
