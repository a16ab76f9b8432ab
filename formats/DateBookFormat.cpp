// Date Book (DATA/date): appointments, timed or not, with alarm, repeat,
// exceptions, description and note.
#include "dump/records/DateBookRecord.h"
#include "formats/ExportFeed.h"
#include "standards/JsonFields.h"
#include "formats/DateBookText.h"
#include "formats/FieldLines.h"
#include "formats/Format.h"

namespace corvelle {
namespace {

class DateBookReader final : public FormatReader {
public:
    explicit DateBookReader(const DatabaseModel& model) : m_model(model) {}

    bool Decodes(size_t) const override { return true; }

    void AppendContents(size_t index, ContentsCell& cell) const override {
        AppendDateBookContents(DecodeDateBook(m_model.Data(index)), cell);
    }

    void AppendFields(size_t index, std::string& out) const override {
        const DateBookRecord event = DecodeDateBook(m_model.Data(index));
        AppendDateBookFields(event, out);
        AppendCutLine(m_model, event.cut, out);
    }

    void WriteJsonFields(size_t index, JsonFields& json) const override {
        WriteDateBookJson(DecodeDateBook(m_model.Data(index)), json);
    }

    void Feed(size_t index, ExportType, ExportFeed& feed) const override {
        const DateBookRecord record = DecodeDateBook(m_model.Data(index));
        CalendarEvent event;
        event.appointment = &record;
        feed.Event(event);
    }

private:
    const DatabaseModel& m_model;
};

bool IsDateBook(const DatabaseModel& model) { return IsRecordDatabase(model, "DATA", "date"); }

std::unique_ptr<FormatReader> OpenDateBook(const DatabaseModel& model) {
    return std::make_unique<DateBookReader>(model);
}

}  // namespace

extern const Format kDateBookFormat = {"datebook", "Date Book", ExportBit(ExportType::kICalendar), IsDateBook,
                                       OpenDateBook};

}  // namespace corvelle
