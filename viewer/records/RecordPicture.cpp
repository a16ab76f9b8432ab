#include "viewer/records/RecordPicture.h"

#include <objbase.h>
#include <wincodec.h>

#include <cstring>
#include <vector>

#include "io/ComApartment.h"
#include "model/PanePicture.h"

namespace {

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

// An image file's first frame, decoded by Windows' imaging component (WIC),
// as the page's pixels. False for anything WIC cannot decode.
bool DecodeImageFile(const corvelle::ByteSpan& file, corvelle::IconImage& image) {
    if (file.data == nullptr || file.size == 0 || file.size > MAXDWORD) return false;
    const corvelle::ComApartment apartment;  // declared first: outlives every object below
    if (!apartment.Usable()) return false;
    IWICImagingFactory* rawFactory = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  reinterpret_cast<void**>(&rawFactory))))
        return false;
    const corvelle::UniqueCom<IWICImagingFactory> factory(rawFactory);
    IWICStream* rawStream = nullptr;
    if (FAILED(factory.Get()->CreateStream(&rawStream))) return false;
    const corvelle::UniqueCom<IWICStream> stream(rawStream);
    if (FAILED(stream.Get()->InitializeFromMemory(const_cast<BYTE*>(file.data), static_cast<DWORD>(file.size))))
        return false;
    IWICBitmapDecoder* rawDecoder = nullptr;
    if (FAILED(factory.Get()->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                      &rawDecoder)))
        return false;
    const corvelle::UniqueCom<IWICBitmapDecoder> decoder(rawDecoder);
    IWICBitmapFrameDecode* rawFrame = nullptr;
    if (FAILED(decoder.Get()->GetFrame(0, &rawFrame))) return false;
    const corvelle::UniqueCom<IWICBitmapFrameDecode> frame(rawFrame);
    UINT width = 0, height = 0;
    if (FAILED(frame.Get()->GetSize(&width, &height)) || width == 0 || height == 0 ||
        width > corvelle::kMostImageFileSide || height > corvelle::kMostImageFileSide)
        return false;
    IWICFormatConverter* rawConverter = nullptr;
    if (FAILED(factory.Get()->CreateFormatConverter(&rawConverter))) return false;
    const corvelle::UniqueCom<IWICFormatConverter> converter(rawConverter);
    if (FAILED(converter.Get()->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr,
                                           0.0, WICBitmapPaletteTypeCustom)))
        return false;
    std::vector<BYTE> bgra(size_t{width} * height * 4);
    if (FAILED(converter.Get()->CopyPixels(nullptr, width * 4, static_cast<UINT>(bgra.size()), bgra.data())))
        return false;
    image.width = width;
    image.height = height;
    image.pixels.resize(size_t{width} * height);
    for (size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = {bgra[i * 4 + 2], bgra[i * 4 + 1], bgra[i * 4], bgra[i * 4 + 3]};
    return true;
}

}  // namespace

bool CRecordPicture::Show(const corvelle::EntryPicture& picture) {
    Clear();
    corvelle::IconImage image;
    if (!corvelle::PanePicture(picture, DecodeImageFile, image)) return false;
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
