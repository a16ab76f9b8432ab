// Resource databases (the header's resource flag, any type): applications,
// libraries and the like. Their resources are decoded by type: strings
// (tAIN, tver, tSTR) and bitmap families (tAIB, Tbmp), which the images
// export writes as PNG files; others show as bytes.
#include <vector>

#include "dump/PalmBitmap.h"
#include "dump/PalmBitmapLayout.h"
#include "dump/TextAppend.h"
#include "dump/records/ResourceContent.h"
#include "formats/ExportFeed.h"
#include "standards/JsonFields.h"
#include "formats/ContentsCell.h"
#include "formats/FieldLines.h"
#include "formats/Format.h"

namespace corvelle {
namespace {

const char* CompressionName(const BitmapRendition& r) {
    const bool compressed = (r.flags & bitmap::kCompressed) &&
                            !(r.version >= 2 && r.compression == bitmap::kNoCompression);
    if (!compressed) return "uncompressed";
    if (r.version < 2) return "scan-line compressed";
    switch (r.compression) {
        case bitmap::kScanLine: return "scan-line compressed";
        case bitmap::kRle: return "RLE compressed";
        case bitmap::kPackBits: return "PackBits compressed";
        default: return "unknown compression";
    }
}

void AppendBitmapFields(const ByteSpan& data, std::string& out) {
    std::string value;
    const std::vector<BitmapRendition> renditions = ListRenditions(data.data, data.size);
    for (size_t i = 0; i < renditions.size(); ++i) {
        const BitmapRendition& r = renditions[i];
        if (i != 0) value.push_back('\n');
        AppendDecimal(value, r.width);
        value.push_back('x');
        AppendDecimal(value, r.height);
        value += ", ";
        AppendDecimal(value, r.depth);
        value += r.depth == 1 ? " bit per pixel, density " : " bits per pixel, density ";
        AppendDecimal(value, r.density);
        value += ", ";
        value += CompressionName(r);
    }
    if (renditions.empty()) value = "no rendition";
    AppendField(out, "Bitmap", value);
}

void AppendBitmapContents(const ByteSpan& data, ContentsCell& cell) {
    std::string text = "bitmap";
    for (const BitmapRendition& r : ListRenditions(data.data, data.size)) {
        text.push_back(' ');
        AppendDecimal(text, r.width);
        text.push_back('x');
        AppendDecimal(text, r.height);
        text.push_back('x');
        AppendDecimal(text, r.depth);
    }
    cell.Add(text);
}

class ResourceReader final : public FormatReader {
public:
    explicit ResourceReader(const DatabaseModel& model) : m_model(model) {}

    bool Decodes(size_t index) const override { return Kind(index) != ResourceKind::kOther; }

    void AppendContents(size_t index, ContentsCell& cell) const override {
        if (Kind(index) == ResourceKind::kString)
            cell.Add(DecodeStringResource(m_model.Data(index)).text);
        else
            AppendBitmapContents(m_model.Data(index), cell);
    }

    void AppendFields(size_t index, std::string& out) const override {
        if (Kind(index) == ResourceKind::kBitmap) {
            AppendBitmapFields(m_model.Data(index), out);
            return;
        }
        const StringResource string = DecodeStringResource(m_model.Data(index));
        AppendField(out, "String", string.text);
        AppendCutLine(m_model, string.cut, out);
    }

    // A bitmap's JSON is its bytes (with --data): it has no fields there.
    bool HasJsonFields(size_t index) const override { return Kind(index) == ResourceKind::kString; }

    void WriteJsonFields(size_t index, JsonFields& json) const override {
        const StringResource resource = DecodeStringResource(m_model.Data(index));
        json.Text("string", resource.text);
        json.Cut(resource.cut);
    }

    EntryPicture Picture(size_t index) const override {
        if (Kind(index) != ResourceKind::kBitmap) return {};
        return {EntryPicture::Kind::kPalmBitmap, m_model.Data(index)};
    }

    // A bitmap for the images export, titled by its type and ID: "Tbmp 1000".
    void Feed(size_t index, ExportType, ExportFeed& feed) const override {
        if (Kind(index) != ResourceKind::kBitmap) return;
        const ModelEntry& entry = m_model.Entry(index);
        std::string title(reinterpret_cast<const char*>(entry.type.bytes), 4);
        title += ' ';
        AppendDecimal(title, entry.id);
        feed.Picture({title, Picture(index)});
    }

private:
    ResourceKind Kind(size_t index) const { return KindOfResource(m_model.Entry(index).type); }

    const DatabaseModel& m_model;
};

bool HoldsResources(const DatabaseModel& model) { return model.HoldsResources(); }

std::unique_ptr<FormatReader> OpenResources(const DatabaseModel& model) {
    return std::make_unique<ResourceReader>(model);
}

}  // namespace

extern const Format kResourceFormat = {"resources", "resource", ExportBit(ExportType::kImages), HoldsResources,
                                       OpenResources};

}  // namespace corvelle
