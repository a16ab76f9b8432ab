// Address records as vCard 3.0 (RFC 2426), one VCARD each, in the order of
// the entries.
#include <string>

#include "dump/records/AddressRecord.h"
#include "export/ContentLine.h"
#include "export/ExportWriters.h"
#include "export/Rfc2426.h"

namespace corvelle {
namespace {

// A phone's label index as the record stores it: 0-4 and 5-7 are fixed
// kinds whatever the AppInfo block renames them to; 8-15 are plain phones.
enum PhoneLabelIndex : uint8_t { kWork, kHome, kFax, kOther, kEmail, kMain, kPager, kMobile };

const char* TelephoneTypes(uint8_t labelIndex) {
    switch (labelIndex) {
        case kWork: return "WORK,VOICE";
        case kHome: return "HOME,VOICE";
        case kFax: return "FAX";
        case kPager: return "PAGER";
        case kMobile: return "CELL";
        default: return "VOICE";  // Main, Other and the unnamed 8-15
    }
}

class VCardBuilder {
public:
    VCardBuilder(const ExportContext& context, const AddressLabels& labels, std::string& out)
        : m_context(context), m_labels(labels), m_out(out) {}

    void Write(size_t index) {
        m_record = DecodeAddress(m_context.model.Data(index));
        for (unsigned field = 0; field < kAddressFieldCount; ++field)
            m_text[field] = m_record.present[field] ? m_context.Utf8(m_record.field[field]) : std::string();
        m_out += "BEGIN:VCARD\r\nVERSION:3.0\r\n";
        WriteNames();
        WritePhones();
        WriteAddress();
        WriteNote();
        WriteCategory(index);
        m_out += "END:VCARD\r\n";
    }

private:
    const std::string& Text(AddressField field) const { return m_text[field]; }

    void WriteNames() {
        AppendProperty("N", "", VCardStructured({Text(kLastName), Text(kFirstName), "", "", ""}), m_out);
        // FN is required: a card without a name is shown by its company.
        std::string full = Text(kFirstName);
        if (!full.empty() && !Text(kLastName).empty()) full += ' ';
        full += Text(kLastName);
        if (full.empty()) full = Text(kCompany);
        AppendProperty("FN", "", EscapedText(full), m_out);
        if (!Text(kCompany).empty()) AppendProperty("ORG", "", VCardStructured({Text(kCompany)}), m_out);
        if (!Text(kTitle).empty()) AppendProperty("TITLE", "", EscapedText(Text(kTitle)), m_out);
    }

    void WritePhones() {
        for (unsigned phone = 0; phone < 5; ++phone) {
            const std::string& value = Text(static_cast<AddressField>(kPhone1 + phone));
            if (value.empty()) continue;
            const uint8_t labelIndex = m_record.phoneLabel[phone] & 0x0F;
            const bool shown = m_record.shownPhone == phone;
            if (labelIndex == kEmail) {
                AppendProperty("EMAIL", shown ? "TYPE=INTERNET,PREF" : "TYPE=INTERNET", EscapedText(value), m_out);
            } else {
                std::string types = std::string("TYPE=") + TelephoneTypes(labelIndex);
                if (shown) types += ",PREF";
                AppendProperty("TEL", types, EscapedText(value), m_out);
            }
        }
    }

    void WriteAddress() {
        bool any = false;
        for (AddressField field : {kAddress, kCity, kState, kZipCode, kCountry}) any = any || !Text(field).empty();
        if (!any) return;
        AppendProperty("ADR", "",
                       VCardStructured({"", "", Text(kAddress), Text(kCity), Text(kState), Text(kZipCode),
                                        Text(kCountry)}),
                       m_out);
    }

    // The custom fields have no property of their own: each goes on a line of
    // the note, after the note, under its label as the AppInfo block names it.
    void WriteNote() {
        std::string note = Text(kNote);
        for (AddressField field : {kCustom1, kCustom2, kCustom3, kCustom4}) {
            if (Text(field).empty()) continue;
            if (!note.empty()) note += '\n';
            note += m_context.Utf8(m_labels.label[field]) + ": " + Text(field);
        }
        if (!note.empty()) AppendProperty("NOTE", "", EscapedText(note), m_out);
    }

    void WriteCategory(size_t index) {
        const ModelEntry& entry = m_context.model.Entry(index);
        const std::string_view label = m_context.model.CategoryLabel(entry.Category());
        if (!label.empty()) AppendProperty("CATEGORIES", "", EscapedText(m_context.Utf8(label)), m_out);
        if (entry.attributes & record_flags::kPrivate) AppendProperty("CLASS", "", "PRIVATE", m_out);
    }

    const ExportContext& m_context;
    const AddressLabels& m_labels;
    std::string& m_out;
    AddressRecord m_record;
    std::string m_text[kAddressFieldCount];
};

}  // namespace

void WriteVCards(const ExportContext& context, std::string& out) {
    const AddressLabels labels = ReadAddressLabels(context.model);
    VCardBuilder builder(context, labels, out);
    for (size_t index : context.indexes)
        if (IsLiveRecord(context.model, index)) builder.Write(index);
}

}  // namespace corvelle
