// Contacts as vCard 3.0 (RFC 2426), one VCARD each, in the order of the
// entries. The format hands each contact over; this writer knows only vCard
// and the Palm phone and IM labels that every Palm address book shares.
#include <string>

#include "standards/CivilDate.h"
#include "standards/ContentLine.h"
#include "formats/ExportFeed.h"
#include "export/ExportWriters.h"
#include "standards/Rfc2426.h"

namespace corvelle {
namespace {

// A phone's label as the record stores it: fixed kinds whatever the AppInfo
// block renames them to; 8-15 are plain phones.
enum PhoneLabelCode : uint8_t { kWork, kHome, kFax, kOther, kEmail, kMain, kPager, kMobile };

const char* TelephoneTypes(uint8_t labelCode) {
    switch (labelCode) {
        case kWork: return "WORK,VOICE";
        case kHome: return "HOME,VOICE";
        case kFax: return "FAX";
        case kPager: return "PAGER";
        case kMobile: return "CELL";
        default: return "VOICE";  // Main, Other and the unnamed 8-15
    }
}

// The IM services that vCard readers know by an X- property of their own;
// a plain IM, or one of a code beyond these, has none and goes into the note.
const char* ImProperty(uint8_t labelCode) {
    switch (labelCode) {
        case 1: return "X-AIM";
        case 2: return "X-MSN";
        case 3: return "X-YAHOO";
        case 4: return "X-ICQ";
        default: return nullptr;
    }
}

class VCardFeed final : public ExportFeed {
public:
    VCardFeed(const ExportContext& context, std::string& out) : m_context(context), m_out(out) {}

    void Begin(size_t index) { m_index = index; }

    void Contact(const ContactCard& card) override {
        m_out += "BEGIN:VCARD\r\nVERSION:3.0\r\n";
        WriteNames(card);
        WritePhones(card);
        WriteIms(card);
        if (!card.website.empty()) AppendProperty("URL", "", VCardUri(Utf8(card.website)), m_out);
        WriteAddresses(card);
        WriteDate("BDAY", "birthday", card.birthday);
        WriteDate("X-ANNIVERSARY", "anniversary", card.anniversary);
        WriteNote(card);
        if (card.photoJpeg.size != 0) {
            AppendProperty("PHOTO", "ENCODING=b;TYPE=JPEG", VCardBinary(card.photoJpeg.data, card.photoJpeg.size),
                           m_out);
        }
        WriteCategory();
        m_out += "END:VCARD\r\n";
    }

    void Warn(std::string text) override { m_context.Warn(std::move(text)); }

private:
    std::string Utf8(std::string_view text) const { return m_context.Utf8(text); }

    void WriteNames(const ContactCard& card) {
        const std::string last = Utf8(card.lastName), first = Utf8(card.firstName), company = Utf8(card.company);
        AppendProperty("N", "", VCardStructured({last, first, "", "", ""}), m_out);
        // FN is required: a card without a name is shown by its company.
        std::string full = first;
        if (!full.empty() && !last.empty()) full += ' ';
        full += last;
        if (full.empty()) full = company;
        AppendProperty("FN", "", EscapedText(full), m_out);
        if (!company.empty()) AppendProperty("ORG", "", VCardStructured({company}), m_out);
        // vCard 3.0 has no place for a reading: these are the properties the
        // address books of phones and of the Mac read it from.
        const struct {
            const char* property;
            std::string_view reading;
        } readings[] = {{"X-PHONETIC-LAST-NAME", card.lastNameReading},
                        {"X-PHONETIC-FIRST-NAME", card.firstNameReading},
                        {"X-PHONETIC-ORG", card.companyReading}};
        for (const auto& reading : readings)
            if (!reading.reading.empty())
                AppendProperty(reading.property, "", EscapedText(Utf8(reading.reading)), m_out);
        if (!card.title.empty()) AppendProperty("TITLE", "", EscapedText(Utf8(card.title)), m_out);
    }

    void WritePhones(const ContactCard& card) {
        for (const ContactPhone& phone : card.phones) {
            if (phone.value.empty()) continue;
            const std::string value = EscapedText(Utf8(phone.value));
            if (phone.labelCode == kEmail) {
                AppendProperty("EMAIL", phone.shown ? "TYPE=INTERNET,PREF" : "TYPE=INTERNET", value, m_out);
            } else {
                std::string types = std::string("TYPE=") + TelephoneTypes(phone.labelCode);
                if (phone.shown) types += ",PREF";
                AppendProperty("TEL", types, value, m_out);
            }
        }
    }

    void WriteIms(const ContactCard& card) {
        for (const ContactIm& im : card.ims) {
            const char* property = ImProperty(im.labelCode);
            if (!im.value.empty() && property != nullptr)
                AppendProperty(property, "", EscapedText(Utf8(im.value)), m_out);
        }
    }

    // A date of no day of the calendar (2003-02-31) is left out and said.
    void WriteDate(const char* property, const char* what, PackedDate date) {
        if (date.IsNone()) return;
        const std::string text = PackedDateText(date);
        if (!IsValidDate({date.Year(), date.Month(), date.Day()})) {
            m_context.Warn(RecordName(m_index) + ": its " + what + " " + text + " is no day of the calendar, left out");
            return;
        }
        AppendProperty(property, "", text, m_out);
    }

    void WriteAddresses(const ContactCard& card) {
        for (const ContactAddress& address : card.addresses) {
            // Most of a contact's three addresses are empty: not converted at all.
            if (address.street.empty() && address.city.empty() && address.state.empty() && address.zipCode.empty() &&
                address.country.empty())
                continue;
            const std::string street = Utf8(address.street), city = Utf8(address.city), state = Utf8(address.state),
                              zip = Utf8(address.zipCode), country = Utf8(address.country);
            const char* type = address.labelCode == 0 ? "TYPE=WORK" : address.labelCode == 1 ? "TYPE=HOME" : "";
            AppendProperty("ADR", type, VCardStructured({"", "", street, city, state, zip, country}), m_out);
        }
    }

    // The custom fields and the IMs of no known service have no property of
    // their own: each goes on a line of the note, after the note, under its
    // label (the IMs under "IM").
    void WriteNote(const ContactCard& card) {
        std::string note = Utf8(card.note);
        for (const ContactIm& im : card.ims) {
            if (im.value.empty() || ImProperty(im.labelCode) != nullptr) continue;
            if (!note.empty()) note += '\n';
            note += "IM: " + Utf8(im.value);
        }
        for (const ContactCustom& custom : card.custom) {
            if (custom.value.empty()) continue;
            if (!note.empty()) note += '\n';
            note += Utf8(custom.label) + ": " + Utf8(custom.value);
        }
        if (!note.empty()) AppendProperty("NOTE", "", EscapedText(note), m_out);
    }

    void WriteCategory() {
        const ModelEntry& entry = m_context.model.Entry(m_index);
        const std::string_view label = m_context.model.CategoryLabel(entry.Category());
        if (!label.empty()) AppendProperty("CATEGORIES", "", EscapedText(Utf8(label)), m_out);
        if (entry.attributes & record_flags::kPrivate) AppendProperty("CLASS", "", "PRIVATE", m_out);
    }

    const ExportContext& m_context;
    std::string& m_out;
    size_t m_index = 0;
};

}  // namespace

void WriteVCards(const ExportContext& context, std::string& out) {
    VCardFeed feed(context, out);
    FeedLiveEntries(context, ExportType::kVCard, feed);
}

}  // namespace corvelle
