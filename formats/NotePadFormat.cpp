// Note Pad (DATA/npad): handwritten notes. A note's title, when it was made
// and changed, its alarm, and its drawing, decoded to pixels for the Records
// page and the images export (a PNG drawing, as later devices store it, is
// given as the file it is).
#include <string>

#include "dump/TextAppend.h"
#include "dump/records/ImageFile.h"
#include "dump/records/NotePadRecord.h"
#include "formats/ExportFeed.h"
#include "standards/JsonFields.h"
#include "formats/ContentsCell.h"
#include "formats/FieldLines.h"
#include "formats/Format.h"

namespace corvelle {
namespace {

std::string DrawingText(const NotePadRecord& note) {
    std::string text = Number(note.width) + " x " + Number(note.height) + " pixels, ";
    const char* kind = NoteDataKindWord(note.dataKind);
    text += kind != nullptr ? kind : "kind " + Number(note.dataKind);
    text += ", " + Number(note.dataLength) + " bytes";
    return text;
}

class NotePadReader final : public FormatReader {
public:
    explicit NotePadReader(const DatabaseModel& model) : m_model(model) {}

    bool Decodes(size_t) const override { return true; }

    void AppendContents(size_t index, ContentsCell& cell) const override {
        const NotePadRecord note = Decode(index);
        if (!note.title.empty()) {
            cell.Add(note.title);
        } else if (note.cut.Whole(NotePadPart::kCreated)) {
            cell.Add(NoteTimeText(note.created));
        }
    }

    void AppendFields(size_t index, std::string& out) const override {
        const NotePadRecord note = Decode(index);
        const RecordCut& read = note.cut;
        if (note.Has(notepad_flags::kTitle) && read.Begun(NotePadPart::kTitle)) AppendField(out, "Title", note.title);
        if (read.Whole(NotePadPart::kCreated)) AppendField(out, "Created", NoteTimeText(note.created));
        if (read.Whole(NotePadPart::kChanged)) AppendField(out, "Changed", NoteTimeText(note.changed));
        if (read.Whole(NotePadPart::kFlags) && !note.Has(notepad_flags::kAlarm)) AppendField(out, "Alarm", "none");
        if (note.Has(notepad_flags::kAlarm) && read.Whole(NotePadPart::kAlarm))
            AppendField(out, "Alarm", NoteTimeText(note.alarm));
        if (note.Has(notepad_flags::kDrawing) && read.Whole(NotePadPart::kDrawingHeader)) {
            AppendField(out, "Drawing", DrawingText(note));
            std::string why;
            PictureOf(note, why);
            if (!why.empty()) AppendField(out, "Picture", why);
        }
        AppendCutLine(m_model, note.cut, out);
    }

    void WriteJsonFields(size_t index, JsonFields& json) const override {
        const NotePadRecord note = Decode(index);
        JsonOut& out = json.Json();
        if (note.Has(notepad_flags::kTitle))
            json.Text("title", note.title);
        else
            json.Null("title");
        json.Text("created", NoteTimeText(note.created));
        json.Text("changed", NoteTimeText(note.changed));
        if (note.Has(notepad_flags::kAlarm))
            json.Text("alarm", NoteTimeText(note.alarm));
        else
            json.Null("alarm");
        out.Key("drawing");
        if (!note.Has(notepad_flags::kDrawing) || !note.cut.Whole(NotePadPart::kDrawingHeader)) {
            out.Null();
        } else {
            out.OpenObject();
            json.Number("width", note.width);
            json.Number("height", note.height);
            json.Number("kind", note.dataKind);
            json.WordOrNull("kindName", NoteDataKindWord(note.dataKind));
            json.Number("size", note.dataLength);
            out.CloseObject();
        }
        json.Cut(note.cut);
    }

    EntryPicture Picture(size_t index) const override {
        std::string why;
        return PictureOf(Decode(index), why);
    }

    void Feed(size_t index, ExportType, ExportFeed& feed) const override {
        const NotePadRecord note = Decode(index);
        std::string why;
        const EntryPicture picture = PictureOf(note, why);
        if (picture.kind != EntryPicture::Kind::kNone) feed.Picture({note.title, picture});
        if (!why.empty()) feed.Warn("record " + std::to_string(index) + ": " + why);
    }

private:
    NotePadRecord Decode(size_t index) const { return DecodeNotePad(m_model.Data(index)); }

    // The drawing: a PNG as it is stored, bits decoded to pixels; `why` says
    // what is cut or cannot be shown.
    static EntryPicture PictureOf(const NotePadRecord& note, std::string& why) {
        if (!note.Has(notepad_flags::kDrawing) || !note.cut.Whole(NotePadPart::kDrawingHeader)) return {};
        if (static_cast<NoteDataKind>(note.dataKind) == NoteDataKind::kPng) {
            if (IdentifyImageFile(note.data).kind == ImageFileKind::kPng)
                return {EntryPicture::Kind::kImageFile, note.data};
            why = "the drawing's data is not a PNG image";
            return {};
        }
        auto image = std::make_shared<IconImage>();
        if (!DecodeNoteDrawing(note, *image, why)) return {};
        return EntryPicture(std::move(image));
    }

    const DatabaseModel& m_model;
};

bool IsNotePad(const DatabaseModel& model) { return IsRecordDatabase(model, "DATA", "npad"); }

std::unique_ptr<FormatReader> OpenNotePad(const DatabaseModel& model) {
    return std::make_unique<NotePadReader>(model);
}

}  // namespace

extern const Format kNotePadFormat = {"notepad", "Note Pad", ExportBit(ExportType::kImages), IsNotePad, OpenNotePad};

}  // namespace corvelle
