// Photos (Foto/Foto) of the Zire and Tungsten handhelds: the album database
// ("PhotosDB-Foto") holds a record per picture with its size, dates, name
// and a small JPEG thumbnail; each picture is a database of its own whose
// records are "DBLK" blocks, a length word and a piece of the JPEG file, in
// order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dump/ByteSpan.h"
#include "dump/records/RecordCut.h"

namespace corvelle {

class DatabaseModel;

// The parts of an album record, in the order they are read.
enum class PhotoPart : unsigned { kFixed, kThumbnail, kName };

struct PhotoThumbnailRecord {
    uint16_t width = 0, height = 0;  // of the picture
    uint32_t modified = 0, created = 0;  // Palm dates
    uint32_t size = 0;                   // of the picture's JPEG file
    ByteSpan thumbnail;                  // a JPEG file
    std::string_view name;               // the picture database's name without ".jpg"
    RecordCut cut;
};

// Whether a record is a block of a picture database.
bool IsPhotoBlock(const ByteSpan& record);

PhotoThumbnailRecord DecodePhotoThumbnail(const ByteSpan& record);

struct PhotoBlock {
    uint32_t statedSize = 0;  // as its header says
    ByteSpan data;            // what follows the header
};

PhotoBlock DecodePhotoBlock(const ByteSpan& record);

// A picture database's JPEG: its blocks joined in record order, and what is
// wrong with them, one sentence each ("Block 4 is missing.").
struct JoinedPhoto {
    std::string jpeg;
    size_t blocks = 0;
    std::vector<std::string> problems;
};

// The JPEG of a database whose records are blocks; the join never grows
// beyond the file's own size.
JoinedPhoto JoinPhotoBlocks(const DatabaseModel& model);

}  // namespace corvelle
