// iSilo documents (ToGo/ToGo, SDoc/SilX): their layout has no public
// description, so they are named for what they are and every entry but the
// first shows as bytes. There is no text to read.
#include "standards/JsonFields.h"
#include "formats/ContentsCell.h"
#include "formats/FieldLines.h"
#include "formats/Format.h"

namespace corvelle {
namespace {

constexpr const char* kISiloDocument = "iSilo document";

class ISiloReader final : public FormatReader {
public:
    explicit ISiloReader(const DatabaseModel& model) : m_model(model) {}

    // Only the first record: it names the database; the rest are bytes.
    bool Decodes(size_t index) const override { return index == 0; }
    void AppendContents(size_t, ContentsCell& cell) const override { cell.Add(kISiloDocument); }
    void AppendFields(size_t, std::string& out) const override {
        AppendField(out, "Format", kISiloDocument);
        AppendField(out, "Title", m_model.Header().name);
        AppendField(out, "Contents", "not decoded: iSilo's layout is not publicly described");
    }
    void WriteJsonFields(size_t, JsonFields& json) const override {
        json.Text("format", kISiloDocument);
        json.Text("title", m_model.Header().name);
    }

private:
    const DatabaseModel& m_model;
};

bool IsISilo(const DatabaseModel& model) {
    return IsRecordDatabase(model, "ToGo", "ToGo") || IsRecordDatabase(model, "SDoc", "SilX");
}

std::unique_ptr<FormatReader> OpenISilo(const DatabaseModel& model) { return std::make_unique<ISiloReader>(model); }

}  // namespace

extern const Format kISiloFormat = {"isilo", "iSilo", 0, IsISilo, OpenISilo};

}  // namespace corvelle
