#include "dump/records/ContactsRecord.h"

#include <cstring>

#include "dump/DatabaseModel.h"
#include "dump/records/RecordReading.h"

namespace corvelle {
namespace {

const char* const kPartNames[] = {
    "the phone labels", "the address labels", "the IM labels", "the first field flags", "the second field flags",
    "the company offset",
    "the last name", "the first name", "the company", "the title",
    "phone 1", "phone 2", "phone 3", "phone 4", "phone 5", "phone 6", "phone 7", "IM 1", "IM 2", "the website",
    "custom 1", "custom 2", "custom 3", "custom 4", "custom 5", "custom 6", "custom 7", "custom 8", "custom 9",
    "the street of address 1", "the city of address 1", "the state of address 1", "the zip code of address 1",
    "the country of address 1",
    "the street of address 2", "the city of address 2", "the state of address 2", "the zip code of address 2",
    "the country of address 2",
    "the street of address 3", "the city of address 3", "the state of address 3", "the zip code of address 3",
    "the country of address 3",
    "the note", "the birthday", "the birthday's flags", "the birthday's reminder days",
    "a blob", "the picture, which is not a JPEG image", "the anniversary, which is shorter than its 5 bytes",
};
static_assert(sizeof kPartNames / sizeof kPartNames[0] == static_cast<unsigned>(ContactsPart::kAnniversary) + 1);

// The picture blob: two bytes, then a JPEG image, which starts FFh D8h.
constexpr uint16_t kPictureHeaderBytes = 2;
// The anniversary blob: a date, two bytes of flags, a byte of days before;
// whatever follows is not read.
constexpr uint16_t kAnniversaryBytes = 5;

// The AppInfo block: the category block with its colours, 2 reserved bytes
// and 8 bytes of renamed-label flags before the first 16-byte label.
constexpr uint64_t kFirstLabelOffset = 294 + 2 + 8;
constexpr uint64_t kLabelWidth = 16;
constexpr unsigned kFirstCustomLabel = 14;
constexpr unsigned kLabelCounts[] = {53, 49};  // a 1156-byte block, a 1092-byte one

bool IdIs(const uint8_t (&id)[4], const char (&text)[5]) { return std::memcmp(id, text, 4) == 0; }

// The flag that says whether field i is there.
bool FieldFlagged(const ContactsRecord& contact, unsigned field) {
    return field < 28 ? (contact.fieldFlags1 >> field) & 1u : (contact.fieldFlags2 >> (field - 28)) & 1u;
}

// What follows the last field up to the record's end: blobs, each a 4-byte
// ID, a 2-byte size and that many bytes. Stops at the first that does not fit.
void ReadBlobs(RecordReader<ContactsPart>& in, uint64_t recordSize, ContactsRecord& contact) {
    while (in.Ok() && in.Left() > 0) {
        const uint64_t offset = recordSize - in.Left();
        if (!in.Need(6, ContactsPart::kBlob)) return;
        ContactsBlob blob;
        for (uint8_t& byte : blob.id) byte = in.U8();
        blob.size = in.U16();
        blob.offset = offset;
        const uint8_t* bytes = in.Bytes(blob.size, ContactsPart::kBlob);
        if (bytes == nullptr) return;
        if (IdIs(blob.id, "Bd00") && !contact.hasPicture) {
            if (blob.size < kPictureHeaderBytes + 2 || bytes[2] != 0xFF || bytes[3] != 0xD8) {
                contact.cut.Mark(offset, ContactsPart::kPicture,
                                 kPartNames[static_cast<unsigned>(ContactsPart::kPicture)]);
                return;
            }
            contact.hasPicture = true;
            contact.pictureHeader = static_cast<uint16_t>(bytes[0] << 8 | bytes[1]);
            contact.jpeg = {bytes + kPictureHeaderBytes, uint64_t{blob.size} - kPictureHeaderBytes};
        } else if (IdIs(blob.id, "Bd01") && !contact.anniversary.present) {
            ContactsDay& day = contact.anniversary;
            day.present = true;
            day.hasDate = blob.size >= 2;
            day.hasFlags = blob.size >= 4;
            day.hasDaysBefore = blob.size >= 5;
            if (day.hasDate) day.date.raw = static_cast<uint16_t>(bytes[0] << 8 | bytes[1]);
            if (day.hasFlags) day.flags = static_cast<uint16_t>(bytes[2] << 8 | bytes[3]);
            if (day.hasDaysBefore) day.daysBefore = bytes[4];
            if (blob.size < kAnniversaryBytes) {
                contact.cut.Mark(offset, ContactsPart::kAnniversary,
                                 kPartNames[static_cast<unsigned>(ContactsPart::kAnniversary)]);
                return;
            }
        } else {
            contact.otherBlobs.push_back(blob);
        }
    }
}

}  // namespace

ContactsRecord DecodeContact(const ByteSpan& record) {
    RecordReader<ContactsPart> in(record, kPartNames);
    ContactsRecord contact;
    if (in.Need(4, ContactsPart::kPhoneLabels)) {
        const uint32_t phones = in.U32();
        for (unsigned i = 0; i < kContactPhones; ++i) contact.phoneLabel[i] = (phones >> (4 * i)) & 0x0F;
        contact.shownPhone = static_cast<uint8_t>(phones >> 28);
    }
    if (in.Need(2, ContactsPart::kAddressLabels)) {
        const uint16_t addresses = in.U16();
        for (unsigned i = 0; i < kContactAddresses; ++i) contact.addressLabel[i] = (addresses >> (4 * i)) & 0x0F;
    }
    if (in.Need(2, ContactsPart::kImLabels)) {
        const uint16_t ims = in.U16();
        for (unsigned i = 0; i < kContactIms; ++i) contact.imLabel[i] = (ims >> (4 * i)) & 0x0F;
    }
    if (in.Need(4, ContactsPart::kFieldFlags1)) contact.fieldFlags1 = in.U32();
    if (in.Need(4, ContactsPart::kFieldFlags2)) contact.fieldFlags2 = in.U32();
    if (in.Need(1, ContactsPart::kCompanyOffset)) contact.companyOffset = in.U8();
    for (unsigned i = 0; i < kContactFieldCount && in.Ok(); ++i) {
        if (!FieldFlagged(contact, i)) continue;
        contact.field[i] = in.Text(ContactsFieldPart(i));
        contact.present[i] = true;
    }
    ContactsDay& birthday = contact.birthday;
    if ((contact.fieldFlags2 & contacts_flags::kBirthdayDate) && in.Need(2, ContactsPart::kBirthdayDate)) {
        birthday.hasDate = true;
        birthday.date.raw = in.U16();
    }
    if ((contact.fieldFlags2 & contacts_flags::kBirthdayFlags) && in.Need(2, ContactsPart::kBirthdayFlags)) {
        birthday.hasFlags = true;
        birthday.flags = in.U16();
    }
    if ((contact.fieldFlags2 & contacts_flags::kReminderDays) && in.Need(1, ContactsPart::kReminderDays)) {
        birthday.hasDaysBefore = true;
        birthday.daysBefore = in.U8();
    }
    birthday.present = birthday.hasDate || birthday.hasFlags || birthday.hasDaysBefore;
    ReadBlobs(in, record.size, contact);
    // A blob's stop was marked first; a record that ran out keeps the reader's.
    if (!contact.cut.cut) contact.cut = in.Cut();
    return contact;
}

const char* ContactPhoneWord(uint8_t labelCode) {
    static const char* const kWords[] = {"Work", "Home", "Fax", "Other", "E-mail", "Main", "Pager", "Mobile"};
    return labelCode < 8 ? kWords[labelCode] : "Phone";
}

const char* ContactAddressWord(uint8_t labelCode) {
    static const char* const kWords[] = {"Work", "Home", "Other"};
    return labelCode < 3 ? kWords[labelCode] : "Address";
}

const char* ContactImWord(uint8_t labelCode) {
    static const char* const kWords[] = {"IM", "AIM", "MSN", "Yahoo", "ICQ"};
    return labelCode < 5 ? kWords[labelCode] : "IM";
}

std::string ContactBlobId(const uint8_t (&id)[4]) {
    std::string text(4, '.');
    for (size_t i = 0; i < 4; ++i)
        if (id[i] >= 0x20 && id[i] <= 0x7E) text[i] = static_cast<char>(id[i]);
    return text;
}

ContactsLabels ReadContactsLabels(const DatabaseModel& model) {
    ContactsLabels result;
    const ByteSpan block = model.AppInfo();
    const uint64_t room = block.data != nullptr && block.size > kFirstLabelOffset ? block.size - kFirstLabelOffset : 0;
    // A block of either known size holds all its labels and then the options;
    // a shorter one holds the labels that fit whole.
    uint64_t count = room / kLabelWidth;
    for (unsigned known : kLabelCounts) {
        if (room >= known * kLabelWidth + 4) {
            count = known;
            result.hasOptions = true;
            break;
        }
    }
    ByteReader reader(block.data, block.size);
    reader.Seek(kFirstLabelOffset);
    for (uint64_t i = 0; i < count; ++i) result.labels.push_back(reader.FixedText(kLabelWidth));
    if (result.hasOptions) {
        result.country = reader.U8();
        reader.U8();  // reserved
        result.sortByCompany = (reader.U8() & 0x01) != 0;
    }
    for (unsigned i = 0; i < kContactCustoms; ++i) {
        const unsigned label = kFirstCustomLabel + i;
        result.custom[i] = label < result.labels.size() && !result.labels[label].empty()
                               ? std::string(result.labels[label])
                               : "Custom " + std::to_string(i + 1);
    }
    return result;
}

}  // namespace corvelle
