#include "model/PanePicture.h"

#include "dump/LauncherIcon.h"

namespace corvelle {

bool PanePicture(const EntryPicture& picture, const ImageFileDecoder& decodeImageFile, IconImage& shown) {
    if (picture.bytes.data == nullptr) return false;
    IconImage decoded;
    switch (picture.kind) {
        case EntryPicture::Kind::kPalmBitmap:
            if (!DecodePreferredRendition(picture.bytes, kPictureDecodeBox, kPictureDecodeBox, decoded)) return false;
            break;
        case EntryPicture::Kind::kImageFile:
            if (!decodeImageFile || !decodeImageFile(picture.bytes, decoded)) return false;
            break;
        case EntryPicture::Kind::kNone: return false;
    }
    if (decoded.width == 0 || decoded.height == 0) return false;
    shown = ScaleToFit(decoded, kPictureShowBox, kPictureShowBox);
    return shown.width != 0 && shown.pixels.size() == size_t{shown.width} * shown.height;
}

}  // namespace corvelle
