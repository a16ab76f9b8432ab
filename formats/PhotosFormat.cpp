// Photos (Foto/Foto): the album, a record per picture with its name, size,
// dates and thumbnail; and each picture's own database, its JPEG cut into
// "DBLK" blocks, joined here in order (a block missing or out of order is
// said where). The Records page shows the thumbnail or the picture, and the
// images export writes a picture's JPEG as stored.
#include <cstdint>
#include <cstdio>
#include <string>

#include "dump/TextAppend.h"
#include "dump/records/ImageFile.h"
#include "dump/records/PhotoRecord.h"
#include "standards/CivilDate.h"
#include "formats/ExportFeed.h"
#include "standards/JsonFields.h"
#include "formats/ContentsCell.h"
#include "formats/FieldLines.h"
#include "formats/Format.h"

namespace corvelle {
namespace {

std::string PalmTimeText(uint32_t seconds) {
    if (seconds == 0) return "none";
    const CivilTime time = FromPalmSeconds(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", time.date.year, time.date.month,
                  time.date.day, time.hour, time.minute, time.second);
    return text;
}

std::string ImageText(const ByteSpan& file) {
    const ImageFileInfo info = IdentifyImageFile(file);
    std::string text = info.kind != ImageFileKind::kNone ? ImageFileKindName(info.kind) : "not an image file";
    if (info.width != 0) text += ", " + Number(info.width) + " x " + Number(info.height) + " pixels";
    return text + ", " + Number(file.size) + " bytes";
}

ByteSpan SpanOf(const std::string& bytes) { return {reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}; }

// A picture database's name ends in ".jpg", which its file gets anyway.
std::string_view PictureTitle(std::string_view name) {
    if (name.size() > 4 && name.substr(name.size() - 4) == ".jpg") name.remove_suffix(4);
    return name;
}

class PhotosReader final : public FormatReader {
public:
    explicit PhotosReader(const DatabaseModel& model) : m_model(model) {
        // The picture goes out with its first block that is not deleted, as
        // the join leaves deleted blocks out.
        bool blocks = false;
        for (size_t index = model.Count(); index-- > 0;) {
            if (!IsPhotoBlock(model.Data(index))) continue;
            blocks = true;
            if (!record_flags::IsGone(model.Entry(index).attributes)) m_firstBlock = index;
        }
        if (blocks) m_photo = JoinPhotoBlocks(model);
    }

    // Photos leaves a deleted picture's record without data: nothing to decode.
    bool Decodes(size_t index) const override { return m_model.Data(index).size != 0; }

    void AppendContents(size_t index, ContentsCell& cell) const override {
        const ByteSpan record = m_model.Data(index);
        if (IsPhotoBlock(record)) {
            const std::string text = "block " + Number(index + 1) + " of " + Number(m_model.Count()) + ", " +
                                     Number(DecodePhotoBlock(record).data.size) + " bytes";
            cell.Add(text);
            return;
        }
        const PhotoThumbnailRecord photo = DecodePhotoThumbnail(record);
        cell.Add("thumbnail: ");
        cell.Add(photo.name);
        if (photo.cut.Whole(PhotoPart::kFixed))
            cell.Add(" " + Number(photo.width) + "x" + Number(photo.height));
    }

    void AppendFields(size_t index, std::string& out) const override {
        const ByteSpan record = m_model.Data(index);
        if (IsPhotoBlock(record)) {
            const PhotoBlock block = DecodePhotoBlock(record);
            AppendField(out, "Block",
                        Number(index + 1) + " of " + Number(m_model.Count()) + ", " + Number(block.data.size) +
                            " bytes (stated " + Number(block.statedSize) + ")");
            AppendField(out, "Picture", ImageText(SpanOf(m_photo.jpeg)) + ", from " + Number(m_photo.blocks) +
                                            (m_photo.blocks == 1 ? " block" : " blocks"));
            for (const std::string& problem : m_photo.problems) AppendField(out, "Problem", problem);
            return;
        }
        const PhotoThumbnailRecord photo = DecodePhotoThumbnail(record);
        const RecordCut& read = photo.cut;
        if (read.Whole(PhotoPart::kFixed)) {
            AppendField(out, "Picture", "JPEG, " + Number(photo.width) + " x " + Number(photo.height) + " pixels, " +
                                            Number(photo.size) + " bytes");
            AppendField(out, "Modified", PalmTimeText(photo.modified));
            AppendField(out, "Created", PalmTimeText(photo.created));
            AppendField(out, "Thumbnail", ImageText(photo.thumbnail));
        }
        if (read.Begun(PhotoPart::kName)) AppendField(out, "Name", photo.name);
        AppendCutLine(m_model, photo.cut, out);
    }

    void WriteJsonFields(size_t index, JsonFields& json) const override {
        const ByteSpan record = m_model.Data(index);
        JsonOut& out = json.Json();
        if (IsPhotoBlock(record)) {
            const PhotoBlock block = DecodePhotoBlock(record);
            json.Number("block", index + 1);
            json.Number("size", block.data.size);
            json.Number("statedSize", block.statedSize);
            out.Key("picture");
            out.OpenObject();
            const ImageFileInfo info = IdentifyImageFile(SpanOf(m_photo.jpeg));
            json.Number("width", info.width);
            json.Number("height", info.height);
            json.Number("size", m_photo.jpeg.size());
            json.Number("blocks", m_photo.blocks);
            out.Key("problems");
            out.OpenArray();
            for (const std::string& problem : m_photo.problems) out.String(problem);
            out.CloseArray();
            out.CloseObject();
            return;
        }
        const PhotoThumbnailRecord photo = DecodePhotoThumbnail(record);
        json.Text("name", photo.name);
        json.Number("width", photo.width);
        json.Number("height", photo.height);
        json.Number("size", photo.size);
        json.Number("modified", photo.modified);
        json.Number("created", photo.created);
        json.Number("thumbnailSize", photo.thumbnail.size);
        json.Cut(photo.cut);
    }

    EntryPicture Picture(size_t index) const override {
        const ByteSpan record = m_model.Data(index);
        if (IsPhotoBlock(record)) {
            if (IdentifyImageFile(SpanOf(m_photo.jpeg)).kind == ImageFileKind::kNone) return {};
            return {EntryPicture::Kind::kImageFile, SpanOf(m_photo.jpeg)};
        }
        const PhotoThumbnailRecord photo = DecodePhotoThumbnail(record);
        if (IdentifyImageFile(photo.thumbnail).kind == ImageFileKind::kNone) return {};
        return {EntryPicture::Kind::kImageFile, photo.thumbnail};
    }

    // A picture database gives its one JPEG, at its first block; the album's
    // thumbnails are small copies of pictures kept elsewhere and give none.
    void Feed(size_t index, ExportType, ExportFeed& feed) const override {
        if (index != m_firstBlock) return;
        const EntryPicture picture = Picture(index);
        if (picture.kind != EntryPicture::Kind::kNone)
            feed.Picture({PictureTitle(m_model.Header().name), picture});
        for (const std::string& problem : m_photo.problems) feed.Warn("the picture: " + problem);
    }

private:
    const DatabaseModel& m_model;
    size_t m_firstBlock = SIZE_MAX;
    JoinedPhoto m_photo;  // the picture of a database of blocks: owned here, shown from here
};

bool IsPhotos(const DatabaseModel& model) { return IsRecordDatabase(model, "Foto", "Foto"); }

std::unique_ptr<FormatReader> OpenPhotos(const DatabaseModel& model) {
    return std::make_unique<PhotosReader>(model);
}

}  // namespace

extern const Format kPhotosFormat = {"photos", "Photos", ExportBit(ExportType::kImages), IsPhotos, OpenPhotos};

}  // namespace corvelle
