#include "qt/PanePictureImage.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include <climits>

#include "model/PanePicture.h"

namespace corvelle::qt {
namespace {

bool DecodeImageFile(const ByteSpan& file, IconImage& image) {
    if (file.data == nullptr || file.size == 0 || file.size > INT_MAX) return false;
    // The record's bytes as they are, not copied: the reader only reads them.
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(file.data), static_cast<int>(file.size));
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // The size the file claims is checked before any pixel is allocated.
    const QSize size = reader.size();
    if (!size.isValid() || size.width() <= 0 || size.height() <= 0 || size.width() > static_cast<int>(kMostImageFileSide) ||
        size.height() > static_cast<int>(kMostImageFileSide))
        return false;
    const QImage decoded = reader.read().convertToFormat(QImage::Format_ARGB32);
    if (decoded.isNull() || decoded.width() > static_cast<int>(kMostImageFileSide) ||
        decoded.height() > static_cast<int>(kMostImageFileSide))
        return false;
    image.width = static_cast<uint32_t>(decoded.width());
    image.height = static_cast<uint32_t>(decoded.height());
    image.pixels.resize(size_t{image.width} * image.height);
    for (uint32_t y = 0; y < image.height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(decoded.constScanLine(static_cast<int>(y)));
        for (uint32_t x = 0; x < image.width; ++x) {
            const QRgb pixel = row[x];
            image.pixels[size_t{y} * image.width + x] = {static_cast<uint8_t>(qRed(pixel)), static_cast<uint8_t>(qGreen(pixel)),
                                                         static_cast<uint8_t>(qBlue(pixel)), static_cast<uint8_t>(qAlpha(pixel))};
        }
    }
    return true;
}

}  // namespace

QImage PaneImage(const EntryPicture& picture) {
    IconImage shown;
    if (!PanePicture(picture, DecodeImageFile, shown)) return QImage();
    QImage image(static_cast<int>(shown.width), static_cast<int>(shown.height), QImage::Format_ARGB32);
    for (uint32_t y = 0; y < shown.height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(y)));
        for (uint32_t x = 0; x < shown.width; ++x) {
            const Rgba& pixel = shown.pixels[size_t{y} * shown.width + x];
            row[x] = qRgba(pixel.r, pixel.g, pixel.b, pixel.a);
        }
    }
    return image;
}

}  // namespace corvelle::qt
