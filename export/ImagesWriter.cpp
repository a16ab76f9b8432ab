// Every picture of a database as a file of its own: a photo's JPEG or a PNG
// drawing as stored, a drawing the format decoded and a Palm bitmap (its
// finest rendition) as PNG. Each file is named by its record and the title
// the format gives it: "00003 Lunch with Ann.png". The format hands each
// picture over; this writer knows image files, not formats.
#include <cstdio>
#include <string>

#include "dump/LauncherIcon.h"
#include "dump/records/ImageFile.h"
#include "formats/ExportFeed.h"
#include "export/ExportWriters.h"
#include "export/PngFile.h"

namespace corvelle {
namespace {

constexpr size_t kTitleBytes = 60;

const char* Extension(ImageFileKind kind) {
    switch (kind) {
        case ImageFileKind::kJpeg: return ".jpg";
        case ImageFileKind::kPng: return ".png";
        case ImageFileKind::kGif: return ".gif";
        case ImageFileKind::kBmp: return ".bmp";
        case ImageFileKind::kNone: break;
    }
    return nullptr;
}

class ImagesFeed final : public ExportFeed {
public:
    ImagesFeed(const ExportContext& context, const ExportFileOutput& write) : m_context(context), m_write(write) {}

    void Begin(size_t index) { m_index = index; }
    bool Failed() const { return m_failed; }

    void Picture(const ExportPicture& picture) override {
        if (m_failed) return;
        const EntryPicture& entry = picture.picture;
        std::string name = FileNameOf(m_index, m_context.Utf8(picture.title));
        std::string png;
        switch (entry.kind) {
            case EntryPicture::Kind::kImageFile: {
                const char* extension = Extension(IdentifyImageFile(entry.bytes).kind);
                if (extension == nullptr) return Skip("its picture is no image file");
                return Write(name + extension, entry.bytes.Chars());
            }
            case EntryPicture::Kind::kPalmBitmap: {
                IconImage image;
                if (!DecodePreferredRendition(entry.bytes, UINT32_MAX, UINT32_MAX, image))
                    return Skip("its bitmap has no rendition that decodes");
                if (!EncodePng(image, png)) return Skip("its bitmap could not be made a PNG image");
                return Write(name + ".png", png);
            }
            case EntryPicture::Kind::kPixels:
                if (entry.pixels == nullptr || !EncodePng(*entry.pixels, png))
                    return Skip("its picture could not be made a PNG image");
                return Write(name + ".png", png);
            case EntryPicture::Kind::kNone: return;
        }
    }

    void Warn(std::string text) override { m_context.Warn(std::move(text)); }

private:
    void Skip(const char* why) { m_context.Warn(RecordName(m_index) + ": " + why + ", left out"); }

    void Write(const std::string& name, std::string_view bytes) {
        if (!m_write(name, bytes)) m_failed = true;
    }

    const ExportContext& m_context;
    const ExportFileOutput& m_write;
    size_t m_index = 0;
    bool m_failed = false;
};

}  // namespace

std::string FileNameOf(size_t index, std::string_view utf8Title) {
    char number[16];
    std::snprintf(number, sizeof number, "%05zu", index);
    std::string name = number;
    std::string title;
    for (char c : utf8Title) {
        const auto byte = static_cast<unsigned char>(c);
        // What no file system of Windows or POSIX takes in a name, and what
        // would make it a path.
        const bool unsafe =
            byte < 0x20 || byte == 0x7F || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos;
        title += unsafe ? '_' : c;
    }
    if (title.size() > kTitleBytes) {
        size_t cut = kTitleBytes;
        while (cut > 0 && (static_cast<unsigned char>(title[cut]) & 0xC0) == 0x80) --cut;  // a whole character
        title.resize(cut);
    }
    // Windows drops a name's last dots and spaces; they go, so that the name
    // asked for is the name made.
    while (!title.empty() && (title.back() == ' ' || title.back() == '.')) title.pop_back();
    size_t start = 0;
    while (start < title.size() && title[start] == ' ') ++start;
    if (start < title.size()) name += " " + title.substr(start);
    return name;
}

bool WriteImages(const ExportContext& context, const ExportFileOutput& write) {
    ImagesFeed feed(context, write);
    for (size_t index : context.indexes) {
        if (!IsLiveRecord(context.model, index) || !context.database.Decodes(index)) continue;
        feed.Begin(index);
        context.database.Reader().Feed(index, ExportType::kImages, feed);
        if (feed.Failed()) return false;
    }
    return true;
}

}  // namespace corvelle
