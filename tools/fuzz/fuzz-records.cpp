// libFuzzer entry point for the Records page's engine: the input is taken as
// a whole database (the model, every row of --records and every --record N),
// as one record of each decoded format inside a database built around it, and
// as the bytes of one record for every decoder. The sanitizers flag any read
// past the input; the checks below flag text that breaks its own shape.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "dump/DatabaseModel.h"
#include "formats/EntryText.h"
#include "dump/PalmBitmap.h"
#include "dump/records/AddressRecord.h"
#include "dump/records/CalendarRecord.h"
#include "dump/records/ContactsRecord.h"
#include "dump/records/DateBookRecord.h"
#include "dump/records/ExpenseRecord.h"
#include "dump/records/JFileRecord.h"
#include "dump/records/MailRecord.h"
#include "dump/records/NotePadRecord.h"
#include "dump/records/PhotoRecord.h"
#include "dump/records/MemoRecord.h"
#include "dump/records/PalmDocRecord.h"
#include "dump/records/ResourceContent.h"
#include "dump/records/TasksRecord.h"
#include "dump/records/ToDoRecord.h"
#include "tools/fixtures/PalmWriter.h"

namespace {

using namespace corvelle;

void Check(bool ok) {
    if (!ok) std::abort();
}

void CheckCut(const RecordCut& cut, size_t size) { Check(!cut.cut || cut.at == size); }

// Every row and every entry's text of the database in these bytes.
void DumpEntries(const uint8_t* bytes, size_t size) {
    const DatabaseModel model(bytes, size);
    Check(model.Count() <= model.AnnouncedCount());
    const size_t tabs = ColumnCount(model) - 1;
    std::string line;
    AppendHeaderLine(model, line);
    const DecodedDatabase database(model);
    for (size_t i = 0; i < model.Count(); ++i) {
        line.clear();
        AppendEntryLine(database, i, line);
        size_t lineTabs = 0;
        for (char c : line) lineTabs += c == '\t';
        Check(lineTabs == tabs && line.find('\n') == line.size() - 1);
        const ByteSpan data = model.Data(i);
        Check(data.size == 0 || (data.data >= bytes && data.size <= size - static_cast<size_t>(data.data - bytes)));
        const std::string text = EntryText(database, i, (i & 1) != 0 ? 64 : 4096);
        Check(!text.empty() && text.back() == '\n');
    }
    Check(!EntryCountText(model).empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 0xFFFFFFFFu) return 0;
    // An exact-size copy, so that reading one byte too far is caught.
    const std::vector<uint8_t> input(data, data + size);
    const uint8_t* bytes = input.empty() ? nullptr : input.data();
    DumpEntries(bytes, size);

    // The input as one record of each format (and as the AppInfo block, where
    // the contact labels and the category labels are read from).
    const std::string record(input.begin(), input.end());
    const struct {
        const char* type;
        const char* creator;
    } kKinds[] = {{"DATA", "memo"}, {"DATA", "todo"}, {"DATA", "addr"}, {"DATA", "date"}, {"DATA", "PDat"},
                  {"DATA", "PTod"}, {"DATA", "PAdd"}, {"DATA", "mail"}, {"DATA", "exps"}, {"DATA", "npad"},
                  {"JbDb", "JBas"}, {"Foto", "Foto"}};
    for (const auto& kind : kKinds) {
        samples::PalmDatabase db;
        db.type = kind.type;
        db.creator = kind.creator;
        db.appInfo = record;
        db.records = {{0x40, 1, record}, {0x01, 2, record.substr(0, record.size() / 2)}};
        const std::string file = samples::SerializePalmDatabase(db);
        const std::vector<uint8_t> copy(file.begin(), file.end());
        DumpEntries(copy.data(), copy.size());
    }
    for (const char* compression : {"\0\1", "\0\2"}) {
        samples::PalmDatabase doc;
        doc.type = "TEXt";
        doc.creator = "REAd";
        doc.records = {{0, 1, std::string(compression, 2) + std::string("\0\0\0\0\x10\0\0\2\x10\0\0\0\0\0", 14)},
                       {0, 2, record}, {0, 3, record.substr(size / 3)}};
        const std::string file = samples::SerializePalmDatabase(doc);
        const std::vector<uint8_t> copy(file.begin(), file.end());
        DumpEntries(copy.data(), copy.size());
    }

    // Every decoder on the bytes themselves.
    const ByteSpan span{bytes, size};
    const auto inside = [&](std::string_view text) {
        Check(text.empty() || (reinterpret_cast<const uint8_t*>(text.data()) >= bytes &&
                               reinterpret_cast<const uint8_t*>(text.data()) + text.size() <= bytes + size));
    };
    const MemoRecord memo = DecodeMemo(span);
    inside(memo.text);
    CheckCut(memo.cut, size);
    const ToDoRecord todo = DecodeToDo(span);
    inside(todo.description);
    inside(todo.note);
    CheckCut(todo.cut, size);
    const AddressRecord address = DecodeAddress(span);
    for (std::string_view field : address.field) inside(field);
    CheckCut(address.cut, size);
    const ContactsRecord contact = DecodeContact(span);
    for (std::string_view field : contact.field) inside(field);
    inside(contact.jpeg.Chars());
    Check(!contact.cut.cut || contact.cut.at <= size);
    const DateBookRecord event = DecodeDateBook(span);
    inside(event.description);
    inside(event.note);
    Check(event.exceptions.size() <= size / 2);
    CheckCut(event.cut, size);
    const CalendarRecord calendar = DecodeCalendar(span);
    inside(calendar.location);
    inside(calendar.timeZone.name);
    for (const MeetingAttendee& attendee : calendar.meeting.attendees) {
        inside(attendee.name);
        inside(attendee.email);
    }
    for (const OtherBlob& blob : calendar.otherBlobs)
        inside(std::string_view(reinterpret_cast<const char*>(blob.data.data), blob.data.size));
    CheckCut(calendar.Cut(), size);
    const TasksRecord task = DecodeTasks(span);
    inside(task.description);
    inside(task.note);
    CheckCut(task.cut, size);
    CheckCut(DecodePalmDocHeader(span).cut, size);
    for (uint16_t compression : {kPalmDocUncompressed, kPalmDocCompressed}) {
        const PalmDocText text = DecodePalmDocText(span, compression);
        // At most ten bytes of text for the two bytes of a back-reference.
        Check(text.text.size() <= 5 * size);
        Check(!text.badReference || text.stoppedAt < size);
        CheckCut(text.cut, size);
        Check(DecodePalmDocText(span, compression, 80).text.size() <= 80 + 10);
    }
    const MailRecord mail = DecodeMail(span);
    for (std::string_view text : {mail.subject, mail.from, mail.to, mail.cc, mail.bcc, mail.replyTo, mail.sentTo,
                                  mail.body})
        inside(text);
    CheckCut(mail.cut, size);
    const ExpenseRecord expense = DecodeExpense(span);
    for (std::string_view text : {expense.amount, expense.vendor, expense.city, expense.attendees, expense.note})
        inside(text);
    CheckCut(expense.cut, size);
    const NotePadRecord note = DecodeNotePad(span);
    inside(note.title);
    inside(note.data.Chars());
    CheckCut(note.cut, size);
    IconImage drawing;
    std::string why;
    if (DecodeNoteDrawing(note, drawing, why))
        Check(drawing.pixels.size() == size_t{drawing.width} * drawing.height && drawing.height <= note.height &&
              drawing.width <= kMaxNoteSide);
    const PhotoThumbnailRecord photo = DecodePhotoThumbnail(span);
    inside(photo.name);
    inside(photo.thumbnail.Chars());
    CheckCut(photo.cut, size);
    const JFileRecord row = DecodeJFileRecord(span, size % (kJFileMaxFields + 1));
    for (std::string_view value : row.values) inside(value);
    CheckCut(row.cut, size);
    const StringResource string = DecodeStringResource(span);
    inside(string.text);
    CheckCut(string.cut, size);
    return 0;
}
