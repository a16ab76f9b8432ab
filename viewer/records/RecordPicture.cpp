#include "viewer/records/RecordPicture.h"

#include <cstring>

#include "dump/LauncherIcon.h"

namespace {

// Large enough for a Palm screen's bitmap at double density; a launcher
// icon of 22 or 32 pixels grows by whole factors up to this box.
constexpr uint32_t kDecodeBox = 320;
constexpr uint32_t kShowBox = 96;

uint8_t Blend(uint8_t colour, uint8_t background, uint8_t alpha) {
    return static_cast<uint8_t>((colour * alpha + background * (255 - alpha) + 127) / 255);
}

// A 24-bit DIB section: without an alpha channel, so every version of the
// static control shows it as it is instead of taking a copy of its own.
// Transparent pixels take the page's background colour.
HBITMAP MakeBitmap(const corvelle::IconImage& image) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = static_cast<LONG>(image.width);
    info.bmiHeader.biHeight = -static_cast<LONG>(image.height);  // top-down, as the image's rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr || bits == nullptr) return bitmap;
    const COLORREF background = ::GetSysColor(COLOR_BTNFACE);
    const size_t stride = (size_t{image.width} * 3 + 3) & ~size_t{3};
    auto* row = static_cast<uint8_t*>(bits);
    for (uint32_t y = 0; y < image.height; ++y, row += stride) {
        for (uint32_t x = 0; x < image.width; ++x) {
            const corvelle::Rgba& pixel = image.pixels[size_t{y} * image.width + x];
            row[x * 3 + 0] = Blend(pixel.b, GetBValue(background), pixel.a);
            row[x * 3 + 1] = Blend(pixel.g, GetGValue(background), pixel.a);
            row[x * 3 + 2] = Blend(pixel.r, GetRValue(background), pixel.a);
        }
    }
    ::GdiFlush();
    return bitmap;
}

}  // namespace

bool CRecordPicture::Show(const corvelle::EntryPicture& picture) {
    Clear();
    if (picture.kind != corvelle::EntryPicture::Kind::kPalmBitmap || picture.bytes.data == nullptr) return false;
    corvelle::IconImage decoded;
    if (!corvelle::DecodePreferredRendition(picture.bytes, kDecodeBox, kDecodeBox, decoded)) return false;
    return ShowImage(decoded);
}

bool CRecordPicture::ShowImage(const corvelle::IconImage& decoded) {
    if (decoded.width == 0 || decoded.height == 0) return false;
    const corvelle::IconImage image = corvelle::ScaleToFit(decoded, kShowBox, kShowBox);
    if (image.width == 0 || image.pixels.size() != size_t{image.width} * image.height) return false;
    m_bitmap.Reset(MakeBitmap(image));
    if (!m_bitmap) return false;
    m_size = SIZE{static_cast<LONG>(image.width), static_cast<LONG>(image.height)};
    if (m_hStatic != nullptr) {
        ::SendMessageA(m_hStatic, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_bitmap.Get()));
        ::ShowWindow(m_hStatic, SW_SHOWNA);
    }
    return true;
}

void CRecordPicture::Clear() {
    if (m_hStatic != nullptr) {
        // The control lets go of the bitmap before it is deleted.
        ::ShowWindow(m_hStatic, SW_HIDE);
        ::SendMessageA(m_hStatic, STM_SETIMAGE, IMAGE_BITMAP, 0);
    }
    m_bitmap.Reset();
    m_size = SIZE{};
}
