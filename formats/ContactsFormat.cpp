// Contacts (DATA/PAdd), the address book of every Palm from late 2003 on:
// seven labelled phones, two IMs, three addresses, nine custom fields named by
// the AppInfo block, a birthday, and blobs for the picture and the anniversary.
#include <string>

#include "dump/TextAppend.h"
#include "dump/records/ContactsRecord.h"
#include "formats/ExportFeed.h"
#include "standards/JsonFields.h"
#include "formats/ContentsCell.h"
#include "formats/FieldLines.h"
#include "formats/Format.h"
#include "formats/NameReading.h"

namespace corvelle {
namespace {

const char* const kAddressPartLabels[kContactAddressParts] = {"Address", "City", "State", "Zip Code", "Country"};
const char* const kAddressPartKeys[kContactAddressParts] = {"street", "city", "state", "zipCode", "country"};

unsigned AddressField(unsigned address, unsigned part) {
    return kContactAddress1 + address * kContactAddressParts + part;
}

bool HasAddress(const ContactsRecord& contact, unsigned address) {
    for (unsigned part = 0; part < kContactAddressParts; ++part)
        if (contact.present[AddressField(address, part)]) return true;
    return false;
}

// "2004-12-05, reminder 3 days before"; "none" for a day without its date,
// and a reminder without its days (a cut record) says no number.
std::string DayText(const ContactsDay& day) {
    std::string text = day.hasDate ? PackedDateText(day.date) : "none";
    if (!day.Reminder()) return text;
    text += ", reminder";
    if (day.hasDaysBefore) {
        text += ' ';
        AppendDecimal(text, day.daysBefore);
        text += day.daysBefore == 1 ? " day before" : " days before";
    }
    return text;
}

class ContactsReader final : public FormatReader {
public:
    explicit ContactsReader(const DatabaseModel& model) : m_model(model), m_labels(ReadContactsLabels(model)) {}

    bool Decodes(size_t) const override { return true; }

    void AppendContents(size_t index, ContentsCell& cell) const override {
        const ContactsRecord contact = Decode(index);
        const std::string last = ShownWithReading(contact.field[kContactLastName]);
        const std::string first = ShownWithReading(contact.field[kContactFirstName]);
        if (!last.empty() && !first.empty()) {
            cell.Add(last);
            cell.Add(", ");
            cell.Add(first);
        } else {
            cell.Add(!last.empty() ? last : !first.empty() ? first : ShownWithReading(contact.field[kContactCompany]));
        }
    }

    void AppendFields(size_t index, std::string& out) const override {
        const ContactsRecord contact = Decode(index);
        const auto text = [&](std::string_view label, unsigned field) {
            if (contact.present[field]) AppendField(out, label, contact.field[field]);
        };
        const auto name = [&](std::string_view label, unsigned field) {
            if (contact.present[field]) AppendField(out, label, ShownWithReading(contact.field[field]));
        };
        name("Last name", kContactLastName);
        name("First name", kContactFirstName);
        name("Company", kContactCompany);
        text("Title", kContactTitle);
        for (unsigned phone = 0; phone < kContactPhones; ++phone) {
            if (!contact.present[kContactPhone1 + phone]) continue;
            std::string value(contact.field[kContactPhone1 + phone]);
            if (contact.shownPhone == phone) value += " (shown in list)";
            AppendField(out, ContactPhoneWord(contact.phoneLabel[phone]), value);
        }
        for (unsigned im = 0; im < kContactIms; ++im) text(ContactImWord(contact.imLabel[im]), kContactIm1 + im);
        text("Website", kContactWebsite);
        for (unsigned custom = 0; custom < kContactCustoms; ++custom)
            text(m_labels.custom[custom], kContactCustom1 + custom);
        for (unsigned address = 0; address < kContactAddresses; ++address) {
            const std::string suffix = std::string(" (") + ContactAddressWord(contact.addressLabel[address]) + ")";
            for (unsigned part = 0; part < kContactAddressParts; ++part)
                text(kAddressPartLabels[part] + suffix, AddressField(address, part));
        }
        text("Note", kContactNote);
        if (contact.birthday.present) AppendField(out, "Birthday", DayText(contact.birthday));
        if (contact.anniversary.present) AppendField(out, "Anniversary", DayText(contact.anniversary));
        if (contact.hasPicture) {
            std::string picture = "JPEG, ";
            AppendDecimal(picture, contact.jpeg.size);
            AppendField(out, "Picture", picture + " bytes");
        }
        for (const ContactsBlob& blob : contact.otherBlobs) {
            std::string size;
            AppendDecimal(size, blob.size);
            AppendField(out, "Blob " + ContactBlobId(blob.id), size + " bytes");
        }
        if (contact.StoppedAtABlob()) {
            out += "Decoding stops at byte ";
            AppendDecimal(out, contact.cut.at);
            out += ", at ";
            out += contact.cut.inside;
            out += ".\n";
        } else {
            AppendCutLine(m_model, contact.cut, out);
        }
    }

    void WriteJsonFields(size_t index, JsonFields& json) const override {
        const ContactsRecord contact = Decode(index);
        JsonOut& out = json.Json();
        const auto text = [&](const char* key, unsigned field) {
            if (contact.present[field])
                json.Text(key, contact.field[field]);
            else
                json.Null(key);
        };
        const auto name = [&](const char* key, const char* readingKey, unsigned field) {
            if (!contact.present[field]) return json.Null(key);
            const NameReading parts = SplitReading(contact.field[field]);
            json.Text(key, parts.name);
            if (!parts.reading.empty()) json.Text(readingKey, parts.reading);
        };
        name("lastName", "lastNameReading", kContactLastName);
        name("firstName", "firstNameReading", kContactFirstName);
        name("company", "companyReading", kContactCompany);
        text("title", kContactTitle);
        out.Key("phones");
        out.OpenArray();
        for (unsigned phone = 0; phone < kContactPhones; ++phone) {
            if (!contact.present[kContactPhone1 + phone]) continue;
            out.OpenObject();
            json.Text("label", ContactPhoneWord(contact.phoneLabel[phone]));
            json.Number("labelCode", contact.phoneLabel[phone]);
            json.Text("value", contact.field[kContactPhone1 + phone]);
            json.Bool("shown", contact.shownPhone == phone);
            out.CloseObject();
        }
        out.CloseArray();
        out.Key("ims");
        out.OpenArray();
        for (unsigned im = 0; im < kContactIms; ++im) {
            if (!contact.present[kContactIm1 + im]) continue;
            out.OpenObject();
            json.Text("label", ContactImWord(contact.imLabel[im]));
            json.Number("labelCode", contact.imLabel[im]);
            json.Text("value", contact.field[kContactIm1 + im]);
            out.CloseObject();
        }
        out.CloseArray();
        text("website", kContactWebsite);
        out.Key("custom");
        out.OpenArray();
        for (unsigned custom = 0; custom < kContactCustoms; ++custom) {
            if (!contact.present[kContactCustom1 + custom]) continue;
            out.OpenObject();
            json.Text("label", m_labels.custom[custom]);
            json.Text("value", contact.field[kContactCustom1 + custom]);
            out.CloseObject();
        }
        out.CloseArray();
        out.Key("addresses");
        out.OpenArray();
        for (unsigned address = 0; address < kContactAddresses; ++address) {
            if (!HasAddress(contact, address)) continue;
            out.OpenObject();
            json.Text("label", ContactAddressWord(contact.addressLabel[address]));
            json.Number("labelCode", contact.addressLabel[address]);
            for (unsigned part = 0; part < kContactAddressParts; ++part)
                text(kAddressPartKeys[part], AddressField(address, part));
            out.CloseObject();
        }
        out.CloseArray();
        text("note", kContactNote);
        WriteDay(json, "birthday", contact.birthday);
        WriteDay(json, "anniversary", contact.anniversary);
        out.Key("picture");
        if (contact.hasPicture) {
            out.OpenObject();
            json.Number("size", contact.jpeg.size);
            out.CloseObject();
        } else {
            out.Null();
        }
        out.Key("blobs");
        out.OpenArray();
        for (const ContactsBlob& blob : contact.otherBlobs) {
            out.OpenObject();
            json.Text("id", ContactBlobId(blob.id));
            json.Number("size", blob.size);
            out.CloseObject();
        }
        out.CloseArray();
        json.Cut(contact.cut);
    }

    void WriteJsonAppInfo(JsonFields& json) const override {
        JsonOut& out = json.Json();
        out.Key("contactLabels");
        out.OpenArray();
        for (std::string_view label : m_labels.labels) out.String(json.Utf8(label));
        out.CloseArray();
        if (m_labels.hasOptions) {
            json.Number("country", m_labels.country);
            json.Bool("sortByCompany", m_labels.sortByCompany);
        } else {
            json.Null("country");
            json.Null("sortByCompany");
        }
    }

    EntryPicture Picture(size_t index) const override {
        const ContactsRecord contact = Decode(index);
        if (!contact.hasPicture) return {};
        return {EntryPicture::Kind::kImageFile, contact.jpeg};
    }

    void Feed(size_t index, ExportType, ExportFeed& feed) const override {
        const ContactsRecord contact = Decode(index);
        const auto text = [&](unsigned field) {
            return contact.present[field] ? contact.field[field] : std::string_view();
        };
        ContactCard card;
        card.phones.reserve(kContactPhones);
        card.ims.reserve(kContactIms);
        card.addresses.reserve(kContactAddresses);
        card.custom.reserve(kContactCustoms);
        PutNames(card, text(kContactLastName), text(kContactFirstName), text(kContactCompany));
        card.title = text(kContactTitle);
        for (unsigned phone = 0; phone < kContactPhones; ++phone)
            card.phones.push_back(
                {contact.phoneLabel[phone], text(kContactPhone1 + phone), contact.shownPhone == phone});
        for (unsigned im = 0; im < kContactIms; ++im) card.ims.push_back({contact.imLabel[im], text(kContactIm1 + im)});
        card.website = text(kContactWebsite);
        for (unsigned address = 0; address < kContactAddresses; ++address) {
            ContactAddress postal;
            postal.labelCode = contact.addressLabel[address];
            postal.street = text(AddressField(address, 0));
            postal.city = text(AddressField(address, 1));
            postal.state = text(AddressField(address, 2));
            postal.zipCode = text(AddressField(address, 3));
            postal.country = text(AddressField(address, 4));
            card.addresses.push_back(postal);
        }
        if (contact.birthday.hasDate) card.birthday = contact.birthday.date;
        if (contact.anniversary.hasDate) card.anniversary = contact.anniversary.date;
        if (contact.hasPicture) card.photoJpeg = contact.jpeg;
        card.note = text(kContactNote);
        for (unsigned custom = 0; custom < kContactCustoms; ++custom)
            card.custom.push_back({m_labels.custom[custom], text(kContactCustom1 + custom)});
        feed.Contact(card);
        // What a cut record loses is said; what it holds is written.
        if (contact.cut.cut)
            feed.Warn("record " + std::to_string(index) +
                      (contact.StoppedAtABlob() ? ": decoding stops at byte " : ": the record ends at byte ") +
                      std::to_string(contact.cut.at) + (contact.StoppedAtABlob() ? ", at " : ", inside ") +
                      contact.cut.inside + "; the rest is left out");
    }

private:
    ContactsRecord Decode(size_t index) const { return DecodeContact(m_model.Data(index)); }

    static void WriteDay(JsonFields& json, const char* key, const ContactsDay& day) {
        JsonOut& out = json.Json();
        out.Key(key);
        if (!day.present) {
            out.Null();
            return;
        }
        out.OpenObject();
        if (day.hasDate)
            json.Date("date", day.date);
        else
            json.Null("date");
        json.Bool("reminder", day.Reminder());
        if (day.hasDaysBefore)
            json.Number("daysBefore", day.daysBefore);
        else
            json.Null("daysBefore");
        out.CloseObject();
    }

    const DatabaseModel& m_model;
    const ContactsLabels m_labels;
};

bool IsContacts(const DatabaseModel& model) { return IsRecordDatabase(model, "DATA", "PAdd"); }

std::unique_ptr<FormatReader> OpenContacts(const DatabaseModel& model) {
    return std::make_unique<ContactsReader>(model);
}

}  // namespace

extern const Format kContactsFormat = {"contacts", "Contacts", ExportBit(ExportType::kVCard), IsContacts,
                                       OpenContacts};

}  // namespace corvelle
