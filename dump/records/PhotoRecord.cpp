#include "dump/records/PhotoRecord.h"

#include <cstring>

#include "dump/DatabaseModel.h"
#include "dump/records/RecordReading.h"

namespace corvelle {
namespace {

const char* const kPartNames[] = {"the picture's sizes and dates", "the thumbnail", "the name"};

constexpr uint64_t kFixedBytes = 40;
constexpr uint64_t kBlockHeader = 8;

bool StartsJpeg(const ByteSpan& bytes) {
    return bytes.size >= 3 && bytes.data[0] == 0xFF && bytes.data[1] == 0xD8 && bytes.data[2] == 0xFF;
}

bool EndsJpeg(std::string_view jpeg) {
    return jpeg.size() >= 2 && static_cast<unsigned char>(jpeg[jpeg.size() - 2]) == 0xFF &&
           static_cast<unsigned char>(jpeg.back()) == 0xD9;
}

}  // namespace

bool IsPhotoBlock(const ByteSpan& record) { return record.size >= 4 && std::memcmp(record.data, "DBLK", 4) == 0; }

PhotoThumbnailRecord DecodePhotoThumbnail(const ByteSpan& record) {
    RecordReader<PhotoPart> in(record, kPartNames);
    PhotoThumbnailRecord photo;
    uint16_t nameSize = 0;
    uint32_t thumbnailSize = 0;
    if (in.Need(kFixedBytes, PhotoPart::kFixed)) {
        const uint8_t* fixed = in.Bytes(kFixedBytes, PhotoPart::kFixed);
        const auto u16 = [fixed](size_t at) { return static_cast<uint16_t>(fixed[at] << 8 | fixed[at + 1]); };
        const auto u32 = [u16](size_t at) { return uint32_t{u16(at)} << 16 | u16(at + 2); };
        photo.width = u16(4);
        photo.height = u16(6);
        photo.modified = u32(8);
        photo.size = u32(12);
        nameSize = u16(21);  // at an odd offset, as the album stores it
        photo.created = u32(28);
        thumbnailSize = u32(36);
    }
    if (in.Ok()) {
        const uint64_t taken = thumbnailSize < in.Left() ? thumbnailSize : in.Left();
        photo.thumbnail = {in.Bytes(taken, PhotoPart::kThumbnail), taken};
        if (taken < thumbnailSize) in.Mark(PhotoPart::kThumbnail);
    }
    if (in.Ok()) {
        const uint64_t taken = nameSize < in.Left() ? nameSize : in.Left();
        const std::string_view name(reinterpret_cast<const char*>(in.Bytes(taken, PhotoPart::kName)),
                                    static_cast<size_t>(taken));
        photo.name = name.substr(0, name.find('\0'));
        if (taken < nameSize) in.Mark(PhotoPart::kName);
    }
    photo.cut = in.Cut();
    return photo;
}

PhotoBlock DecodePhotoBlock(const ByteSpan& record) {
    PhotoBlock block;
    if (record.size < kBlockHeader) return block;
    block.statedSize = uint32_t{record.data[4]} << 24 | uint32_t{record.data[5]} << 16 |
                       uint32_t{record.data[6]} << 8 | record.data[7];
    block.data = {record.data + kBlockHeader, record.size - kBlockHeader};
    return block;
}

JoinedPhoto JoinPhotoBlocks(const DatabaseModel& model) {
    JoinedPhoto photo;
    const auto block = [](size_t index) { return "Block " + std::to_string(index + 1); };
    for (size_t index = 0; index < model.Count(); ++index) {
        const ModelEntry& entry = model.Entry(index);
        const ByteSpan record = model.Data(index);
        if (!entry.hasData || record_flags::IsGone(entry.attributes) || !IsPhotoBlock(record) ||
            record.size < kBlockHeader) {
            photo.problems.push_back(block(index) + " is missing.");
            continue;
        }
        const PhotoBlock piece = DecodePhotoBlock(record);
        if (piece.statedSize != piece.data.size)
            photo.problems.push_back(block(index) + " states " + std::to_string(piece.statedSize) +
                                     " bytes and holds " + std::to_string(piece.data.size) + ".");
        if (StartsJpeg(piece.data) && !photo.jpeg.empty())
            photo.problems.push_back(block(index) + " begins a JPEG image: it is out of order.");
        photo.jpeg.append(piece.data.Chars());
        ++photo.blocks;
    }
    if (photo.blocks == 0) return photo;
    if (!StartsJpeg({reinterpret_cast<const uint8_t*>(photo.jpeg.data()), photo.jpeg.size()}))
        photo.problems.push_back("The first block does not begin a JPEG image.");
    if (!EndsJpeg(photo.jpeg)) photo.problems.push_back("The last block does not end the JPEG image.");
    return photo;
}

}  // namespace corvelle
