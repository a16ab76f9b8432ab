// Address Book (DATA/addr): up to 19 texts, five of them phones under labels
// that the AppInfo block may rename. The names and the company may hold
// their reading (formats/NameReading.h).
#include "dump/records/AddressRecord.h"
#include "formats/ExportFeed.h"
#include "standards/JsonFields.h"
#include "formats/ContentsCell.h"
#include "formats/FieldLines.h"
#include "formats/Format.h"
#include "formats/NameReading.h"

namespace corvelle {
namespace {

const char* const kJsonKeys[kAddressFieldCount] = {
    "lastName", "firstName", "company", "phone1", "phone2", "phone3", "phone4", "phone5", "address", "city",
    "state", "zipCode", "country", "title", "custom1", "custom2", "custom3", "custom4", "note"};

bool HoldsReading(unsigned field) { return field == kLastName || field == kFirstName || field == kCompany; }

class AddressReader final : public FormatReader {
public:
    explicit AddressReader(const DatabaseModel& model) : m_model(model), m_labels(ReadAddressLabels(model)) {}

    bool Decodes(size_t) const override { return true; }

    void AppendContents(size_t index, ContentsCell& cell) const override {
        const AddressRecord address = DecodeAddress(m_model.Data(index));
        const std::string last = ShownWithReading(address.field[kLastName]);
        const std::string first = ShownWithReading(address.field[kFirstName]);
        if (!last.empty() && !first.empty()) {
            cell.Add(last);
            cell.Add(", ");
            cell.Add(first);
        } else if (!last.empty()) {
            cell.Add(last);
        } else if (!first.empty()) {
            cell.Add(first);
        } else {
            cell.Add(ShownWithReading(address.field[kCompany]));
        }
    }

    void AppendFields(size_t index, std::string& out) const override {
        const AddressRecord address = DecodeAddress(m_model.Data(index));
        for (unsigned field = 0; field < kAddressFieldCount; ++field) {
            if (!address.present[field]) continue;
            const std::string_view label = field >= kPhone1 && field <= kPhone5
                                               ? PhoneLabel(m_labels, address.phoneLabel[field - kPhone1])
                                               : std::string_view(m_labels.label[field]);
            AppendField(out, label, HoldsReading(field) ? ShownWithReading(address.field[field])
                                                        : std::string(address.field[field]));
        }
        AppendCutLine(m_model, address.cut, out);
    }

    void WriteJsonFields(size_t index, JsonFields& json) const override {
        const AddressRecord record = DecodeAddress(m_model.Data(index));
        JsonOut& out = json.Json();
        out.Key("phoneLabels");
        out.OpenArray();
        for (uint8_t label : record.phoneLabel) out.Number(label);
        out.CloseArray();
        out.Key("phoneLabelNames");
        out.OpenArray();
        for (uint8_t label : record.phoneLabel) out.String(json.Utf8(PhoneLabel(m_labels, label)));
        out.CloseArray();
        json.Number("shownPhone", record.shownPhone);
        for (unsigned field = 0; field < kAddressFieldCount; ++field) {
            if (!record.present[field]) continue;
            if (!HoldsReading(field)) {
                json.Text(kJsonKeys[field], record.field[field]);
                continue;
            }
            const NameReading name = SplitReading(record.field[field]);
            json.Text(kJsonKeys[field], name.name);
            if (!name.reading.empty()) json.Text((std::string(kJsonKeys[field]) + "Reading").c_str(), name.reading);
        }
        json.Cut(record.cut);
    }

    void WriteJsonAppInfo(JsonFields& json) const override {
        JsonOut& out = json.Json();
        out.Key("addressLabels");
        out.OpenArray();
        for (const std::string& label : m_labels.label) out.String(json.Utf8(label));
        out.CloseArray();
    }

    void Feed(size_t index, ExportType, ExportFeed& feed) const override {
        const AddressRecord record = DecodeAddress(m_model.Data(index));
        const auto text = [&](AddressField field) {
            return record.present[field] ? record.field[field] : std::string_view();
        };
        ContactCard card;
        PutNames(card, text(kLastName), text(kFirstName), text(kCompany));
        card.title = text(kTitle);
        for (unsigned phone = 0; phone < 5; ++phone) {
            card.phones.push_back({static_cast<uint8_t>(record.phoneLabel[phone] & 0x0F),
                                   text(static_cast<AddressField>(kPhone1 + phone)), record.shownPhone == phone});
        }
        ContactAddress address;  // untyped: the Address Book has one address, of no kind
        address.street = text(kAddress);
        address.city = text(kCity);
        address.state = text(kState);
        address.zipCode = text(kZipCode);
        address.country = text(kCountry);
        card.addresses.push_back(address);
        card.note = text(kNote);
        for (AddressField field : {kCustom1, kCustom2, kCustom3, kCustom4})
            card.custom.push_back({m_labels.label[field], text(field)});
        feed.Contact(card);
    }

private:
    const DatabaseModel& m_model;
    const AddressLabels m_labels;
};

bool IsAddressBook(const DatabaseModel& model) { return IsRecordDatabase(model, "DATA", "addr"); }

std::unique_ptr<FormatReader> OpenAddressBook(const DatabaseModel& model) {
    return std::make_unique<AddressReader>(model);
}

}  // namespace

extern const Format kAddressFormat = {"address", "Address", ExportBit(ExportType::kVCard), IsAddressBook,
                                      OpenAddressBook};

}  // namespace corvelle
