// JFile (JbDb/JBas), the most kept database of a user's own design: each
// record's values under the field names of the AppInfo block. A table: it
// feeds CSV with the field names as the header row.
#include <string>
#include <vector>

#include "dump/TextAppend.h"
#include "dump/records/JFileRecord.h"
#include "formats/ExportFeed.h"
#include "standards/JsonFields.h"
#include "formats/ContentsCell.h"
#include "formats/FieldLines.h"
#include "formats/Format.h"

namespace corvelle {
namespace {

class JFileReader final : public FormatReader {
public:
    explicit JFileReader(const DatabaseModel& model) : m_model(model), m_layout(ReadJFileLayout(model)) {
        for (const JFileField& field : m_layout.fields) m_names.push_back(field.name);
    }

    // Without its field list a record cannot be read at all.
    bool Decodes(size_t) const override { return m_layout.whole; }

    // The first fields, as far as the cell goes.
    void AppendContents(size_t index, ContentsCell& cell) const override {
        const JFileRecord record = Decode(index);
        bool first = true;
        for (std::string_view value : record.values) {
            if (value.empty()) continue;
            if (!first) cell.Add(" ");
            cell.Add(value);
            first = false;
        }
    }

    void AppendFields(size_t index, std::string& out) const override {
        const JFileRecord record = Decode(index);
        for (size_t i = 0; i < record.values.size(); ++i) AppendField(out, FieldName(i), record.values[i]);
        AppendCutLine(m_model, record.cut, out);
    }

    void WriteJsonFields(size_t index, JsonFields& json) const override {
        const JFileRecord record = Decode(index);
        JsonOut& out = json.Json();
        out.Key("values");
        out.OpenArray();
        for (std::string_view value : record.values) out.String(json.Utf8(value));
        out.CloseArray();
        json.Cut(record.cut);
    }

    void WriteJsonAppInfo(JsonFields& json) const override {
        JsonOut& out = json.Json();
        out.Key("fields");
        if (!m_layout.whole) {
            out.Null();
            return;
        }
        out.OpenArray();
        for (const JFileField& field : m_layout.fields) {
            out.OpenObject();
            json.Text("name", field.name);
            json.Number("type", field.type);
            json.WordOrNull("typeName", JFileTypeWord(field.type));
            json.Number("width", field.width);
            out.CloseObject();
        }
        out.CloseArray();
        json.Number("fieldCount", m_layout.storedCount);
        json.Number("version", m_layout.version);
        json.Number("dataWidth", m_layout.dataWidth);
    }

    void FeedBeforeEntries(ExportType, ExportFeed& feed) const override {
        if (m_layout.whole) feed.TableHeader(m_names);
    }

    void Feed(size_t index, ExportType, ExportFeed& feed) const override {
        const JFileRecord record = Decode(index);
        feed.TableRow(record.values);
        if (record.cut.cut) feed.Warn(CutWarning(index, record.cut));
    }

private:
    JFileRecord Decode(size_t index) const { return DecodeJFileRecord(m_model.Data(index), m_layout.fields.size()); }

    // An unnamed field by its number, so that its line still has a label.
    std::string FieldName(size_t i) const {
        const std::string_view name = m_layout.fields[i].name;
        return name.empty() ? "Field " + Number(i + 1) : std::string(name);
    }

    const DatabaseModel& m_model;
    const JFileLayout m_layout;
    std::vector<std::string_view> m_names;
};

bool IsJFile(const DatabaseModel& model) { return IsRecordDatabase(model, "JbDb", "JBas"); }

std::unique_ptr<FormatReader> OpenJFile(const DatabaseModel& model) { return std::make_unique<JFileReader>(model); }

}  // namespace

extern const Format kJFileFormat = {"jfile", "JFile", ExportBit(ExportType::kCsv), IsJFile, OpenJFile};

}  // namespace corvelle
