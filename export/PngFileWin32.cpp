// The Windows half of EncodePng: Windows' imaging component (WIC), writing a
// PNG into a memory stream. The pixels go in as 32-bit BGRA, which its PNG
// encoder takes as it is.
#include <objbase.h>
#include <wincodec.h>

#include <memory>
#include <vector>

#include "export/PngFile.h"
#include "io/ComApartment.h"

namespace corvelle {
namespace {

struct ComRelease {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <class Interface>
using ComObject = std::unique_ptr<Interface, ComRelease>;

// The stream's bytes, as far as it was written.
bool ReadBack(IStream* stream, std::string& png) {
    STATSTG stat{};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart > 0x7FFFFFFF) return false;
    png.resize(static_cast<size_t>(stat.cbSize.QuadPart));
    LARGE_INTEGER start{};
    if (FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr))) return false;
    ULONG read = 0;
    return SUCCEEDED(stream->Read(&png[0], static_cast<ULONG>(png.size()), &read)) && read == png.size();
}

bool Encode(const IconImage& image, std::string& png) {
    const ComApartment apartment;  // declared first: outlives every object below
    if (!apartment.Usable()) return false;
    IWICImagingFactory* rawFactory = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  reinterpret_cast<void**>(&rawFactory))))
        return false;
    const ComObject<IWICImagingFactory> factory(rawFactory);
    IStream* rawStream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, &rawStream))) return false;
    const ComObject<IStream> stream(rawStream);
    IWICBitmapEncoder* rawEncoder = nullptr;
    if (FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &rawEncoder))) return false;
    const ComObject<IWICBitmapEncoder> encoder(rawEncoder);
    if (FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache))) return false;
    IWICBitmapFrameEncode* rawFrame = nullptr;
    IPropertyBag2* rawOptions = nullptr;
    if (FAILED(encoder->CreateNewFrame(&rawFrame, &rawOptions))) return false;
    const ComObject<IWICBitmapFrameEncode> frame(rawFrame);
    const ComObject<IPropertyBag2> options(rawOptions);
    if (FAILED(frame->Initialize(options.get())) || FAILED(frame->SetSize(image.width, image.height))) return false;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    if (FAILED(frame->SetPixelFormat(&format)) || !IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA)) return false;
    const UINT stride = image.width * 4;
    std::vector<BYTE> bgra(size_t{stride} * image.height);
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        const Rgba& pixel = image.pixels[i];
        bgra[i * 4 + 0] = pixel.b;
        bgra[i * 4 + 1] = pixel.g;
        bgra[i * 4 + 2] = pixel.r;
        bgra[i * 4 + 3] = pixel.a;
    }
    if (FAILED(frame->WritePixels(image.height, stride, static_cast<UINT>(bgra.size()), bgra.data())) ||
        FAILED(frame->Commit()) || FAILED(encoder->Commit()))
        return false;
    return ReadBack(stream.get(), png);
}

}  // namespace

bool EncodePng(const IconImage& image, std::string& png) {
    png.clear();
    // Within WIC's UINT sizes and what a picture of ours can be.
    if (image.width == 0 || image.height == 0 || image.width > 16384 || image.height > 16384 ||
        image.pixels.size() != size_t{image.width} * image.height)
        return false;
    if (!Encode(image, png)) {
        png.clear();
        return false;
    }
    return true;
}

}  // namespace corvelle
