#include "dump/records/ImageFile.h"

#include "dump/ByteReader.h"

namespace corvelle {
namespace {

bool StartsWith(const ByteSpan& bytes, const char* signature, uint64_t length) {
    if (bytes.data == nullptr || bytes.size < length) return false;
    for (uint64_t i = 0; i < length; ++i)
        if (bytes.data[i] != static_cast<uint8_t>(signature[i])) return false;
    return true;
}

void Set(ImageFileInfo& info, uint32_t width, uint32_t height) {
    info.width = width;
    info.height = height;
}

// The frame header (SOFn) holds the size; the segments before it are
// skipped by their lengths. Markers without a length (RSTn, TEM) stand alone.
void ReadJpegSize(ByteReader& in, ImageFileInfo& info) {
    in.Seek(2);
    while (in.Ok()) {
        if (in.U8() != 0xFF) return;
        const uint8_t marker = in.U8();
        if (marker == 0xFF) {  // fill bytes before a marker
            in.Seek(in.Offset() - 1);
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;
        const uint16_t length = in.U16BE();
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            in.U8();  // precision
            const uint16_t height = in.U16BE();
            const uint16_t width = in.U16BE();
            if (in.Ok()) Set(info, width, height);
            return;
        }
        if (marker == 0xD9 || marker == 0xDA || length < 2) return;  // the image data, without a frame first
        in.Seek(in.Offset() + length - 2);
    }
}

uint32_t LittleEndian16(ByteReader& in) { return in.Read<2>().Reversed(); }
uint32_t LittleEndian32(ByteReader& in) { return in.Read<4>().Reversed(); }

}  // namespace

ImageFileInfo IdentifyImageFile(const ByteSpan& bytes) {
    ImageFileInfo info;
    ByteReader in(bytes.data, bytes.size);
    if (StartsWith(bytes, "\xFF\xD8\xFF", 3)) {
        info.kind = ImageFileKind::kJpeg;
        ReadJpegSize(in, info);
    } else if (StartsWith(bytes, "GIF87a", 6) || StartsWith(bytes, "GIF89a", 6)) {
        info.kind = ImageFileKind::kGif;
        in.Seek(6);
        const uint32_t width = LittleEndian16(in);
        const uint32_t height = LittleEndian16(in);
        if (in.Ok()) Set(info, width, height);
    } else if (StartsWith(bytes, "\x89PNG\r\n\x1A\n", 8)) {
        info.kind = ImageFileKind::kPng;
        in.Seek(16);  // the IHDR chunk's data, which comes first
        const uint32_t width = in.U32BE();
        const uint32_t height = in.U32BE();
        if (in.Ok()) Set(info, width, height);
    } else if (StartsWith(bytes, "BM", 2) && bytes.size >= 26) {
        info.kind = ImageFileKind::kBmp;
        in.Seek(14);
        const uint32_t infoSize = LittleEndian32(in);
        // OS/2's 12-byte header has 16-bit sizes; the later ones 32-bit, a
        // negative height meaning rows from the top.
        const uint32_t width = infoSize == 12 ? LittleEndian16(in) : LittleEndian32(in);
        uint32_t height = infoSize == 12 ? LittleEndian16(in) : LittleEndian32(in);
        if (infoSize != 12 && (height & 0x80000000u) != 0) height = 0u - height;
        if (in.Ok()) Set(info, width, height);
    }
    return info;
}

const char* ImageFileKindName(ImageFileKind kind) {
    switch (kind) {
        case ImageFileKind::kJpeg: return "JPEG";
        case ImageFileKind::kGif: return "GIF";
        case ImageFileKind::kPng: return "PNG";
        case ImageFileKind::kBmp: return "BMP";
        case ImageFileKind::kNone: break;
    }
    return "";
}

}  // namespace corvelle
