// The formats, in the order they are asked: a format that decodes a narrower
// set of databases comes before one that takes any creator of its type.
#include "formats/FormatTable.h"

#include "formats/DocumentText.h"

#include <iterator>

namespace corvelle {

extern const Format kResourceFormat;
extern const Format kMemoFormat;
extern const Format kToDoFormat;
extern const Format kAddressFormat;
extern const Format kContactsFormat;
extern const Format kDateBookFormat;
extern const Format kMobipocketFormat;
extern const Format kPalmDocFormat;
extern const Format kMemosFormat;
extern const Format kCalendarFormat;
extern const Format kTasksFormat;
extern const Format kEReaderFormat;
extern const Format kTealDocFormat;
extern const Format kISiloFormat;
extern const Format kZtxtFormat;
extern const Format kPluckerFormat;
extern const Format kExpenseFormat;
extern const Format kJFileFormat;
extern const Format kMailFormat;
extern const Format kNotePadFormat;
extern const Format kPhotosFormat;

namespace {

const Format* const kFormats[] = {
    &kResourceFormat, &kMemoFormat,     &kToDoFormat,   &kAddressFormat, &kContactsFormat, &kDateBookFormat,
    &kTealDocFormat,  &kMobipocketFormat, &kPalmDocFormat, &kMemosFormat, &kCalendarFormat, &kTasksFormat,
    &kEReaderFormat,  &kISiloFormat,    &kZtxtFormat,   &kPluckerFormat,  &kExpenseFormat,
    &kJFileFormat,    &kMailFormat,     &kNotePadFormat, &kPhotosFormat,
};

// Without a format: every entry shows as bytes.
class BytesReader final : public FormatReader {
public:
    bool Decodes(size_t) const override { return false; }
    void AppendContents(size_t, ContentsCell&) const override {}
    void AppendFields(size_t, std::string&) const override {}
};

}  // namespace

std::unique_ptr<DocumentReader> FormatReader::OpenDocument(const TextOptions&) const { return nullptr; }

bool IsRecordDatabase(const DatabaseModel& model, const char (&type)[5], const char* creator) {
    if (!model.HeaderWhole() || model.HoldsResources() || !CodeIs(model.Header().type, type)) return false;
    if (creator == nullptr) return true;
    const FourCharCode& code = model.Header().creator;
    for (size_t i = 0; i < 4; ++i)
        if (creator[i] == '\0' || code.bytes[i] != static_cast<uint8_t>(creator[i])) return false;
    return creator[4] == '\0';
}

const Format* FindFormat(const DatabaseModel& model) {
    if (!model.HeaderWhole()) return nullptr;
    for (const Format* format : kFormats)
        if (format->decodes(model)) return format;
    return nullptr;
}

DecodedDatabase::DecodedDatabase(const DatabaseModel& model) : m_model(model), m_format(FindFormat(model)) {
    if (m_format != nullptr) m_reader = m_format->open(model);
    if (!m_reader) m_reader = std::make_unique<BytesReader>();
}

DecodedDatabase::~DecodedDatabase() = default;

bool DecodedDatabase::Decodes(size_t index) const {
    return index < m_model.Count() && m_model.Entry(index).hasData && m_reader->Decodes(index);
}

std::vector<const Format*> AllFormats() { return {std::begin(kFormats), std::end(kFormats)}; }

bool FormatFeeds(const Format* format, ExportType type) {
    if (type == ExportType::kJson || type == ExportType::kRaw) return true;
    if (format == nullptr) return false;
    // A document's text is what the text export is for, whatever else its
    // format feeds.
    if (type == ExportType::kText && format->hasDocument) return true;
    return (format->exports & ExportBit(type)) != 0;
}

bool DecodedDatabase::Feeds(ExportType type) const { return FormatFeeds(m_format, type); }

}  // namespace corvelle
