#include "model/PanePicture.h"

#include "dump/LauncherIcon.h"

namespace corvelle {

namespace {

bool FitToPane(const IconImage& decoded, IconImage& shown) {
    if (decoded.width == 0 || decoded.height == 0) return false;
    shown = ScaleToFit(decoded, kPictureShowBox, kPictureShowBox);
    return shown.width != 0 && shown.pixels.size() == size_t{shown.width} * shown.height;
}

}  // namespace

bool PanePicture(const EntryPicture& picture, const ImageFileDecoder& decodeImageFile, IconImage& shown) {
    IconImage decoded;
    if (picture.kind == EntryPicture::Kind::kPixels) {
        if (picture.pixels == nullptr) return false;
        return FitToPane(*picture.pixels, shown);
    }
    if (picture.bytes.data == nullptr) return false;
    switch (picture.kind) {
        case EntryPicture::Kind::kPalmBitmap:
            if (!DecodePreferredRendition(picture.bytes, kPictureDecodeBox, kPictureDecodeBox, decoded)) return false;
            break;
        case EntryPicture::Kind::kImageFile:
            if (!decodeImageFile || !decodeImageFile(picture.bytes, decoded)) return false;
            break;
        case EntryPicture::Kind::kPixels:
        case EntryPicture::Kind::kNone: return false;
    }
    return FitToPane(decoded, shown);
}

}  // namespace corvelle
