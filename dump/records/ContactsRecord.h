// A record of Contacts (DATA/PAdd), the address book of every Palm from late
// 2003 on: seven phones, two IMs and three addresses under labels packed into
// the record's first bytes, 39 texts that field flags say are present, a
// birthday, and blobs after the last field (the picture, the anniversary).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dump/ByteSpan.h"
#include "dump/records/PackedDate.h"
#include "dump/records/RecordCut.h"

namespace corvelle {

class DatabaseModel;

// The texts in the order the record stores them; bit i of the field flags
// (the first word for 0-27, the second for 28-38) says whether text i is there.
enum ContactsField : unsigned {
    kContactLastName, kContactFirstName, kContactCompany, kContactTitle,
    kContactPhone1,  // phones 1-7
    kContactIm1 = kContactPhone1 + 7,  // IMs 1 and 2
    kContactWebsite = kContactIm1 + 2,
    kContactCustom1,  // custom 1-9
    kContactAddress1 = kContactCustom1 + 9,  // per address: street, city, state, zip code, country
    kContactNote = kContactAddress1 + 15,
    kContactFieldCount
};
constexpr unsigned kContactPhones = 7, kContactIms = 2, kContactCustoms = 9, kContactAddresses = 3;
constexpr unsigned kContactAddressParts = 5;

// The parts of the layout, in the order they are read: the fixed words, the
// texts (field i as part kFirstField + i), the birthday, then the blobs. A
// picture that is not a JPEG image, or an anniversary shorter than its five
// bytes, stops the decoding at that blob (the cut's `at` is then the blob's
// offset, not the record's end).
enum class ContactsPart : unsigned {
    kPhoneLabels, kAddressLabels, kImLabels, kFieldFlags1, kFieldFlags2, kCompanyOffset,
    kFirstField,
    kBirthdayDate = kFirstField + kContactFieldCount,
    kBirthdayFlags, kReminderDays,
    kBlob, kPicture, kAnniversary,
};
constexpr ContactsPart ContactsFieldPart(unsigned field) {
    return static_cast<ContactsPart>(static_cast<unsigned>(ContactsPart::kFirstField) + field);
}

namespace contacts_flags {
constexpr uint32_t kBirthdayDate = 0x0800;  // in the second field-flag word
constexpr uint32_t kBirthdayFlags = 0x1000;
constexpr uint32_t kReminderDays = 0x2000;
constexpr uint16_t kReminder = 0x0001;  // in the birthday's and the anniversary's flags
}  // namespace contacts_flags

// A date with a reminder some days before: the birthday, the anniversary.
struct ContactsDay {
    bool present = false;
    bool hasDate = false, hasFlags = false, hasDaysBefore = false;
    PackedDate date;
    uint16_t flags = 0;
    uint8_t daysBefore = 0;

    bool Reminder() const { return (flags & contacts_flags::kReminder) != 0; }
};

// A blob no field of ours reads, kept by its ID and size.
struct ContactsBlob {
    uint8_t id[4] = {};
    uint16_t size = 0;
    uint64_t offset = 0;  // of its ID in the record
};

struct ContactsRecord {
    uint8_t phoneLabel[kContactPhones] = {};        // 0 Work ... 7 Mobile; others plain
    uint8_t shownPhone = 0;                         // which phone (0-6) the list shows
    uint8_t addressLabel[kContactAddresses] = {};   // 0 Work, 1 Home, 2 Other
    uint8_t imLabel[kContactIms] = {};              // 0 IM, 1 AIM, 2 MSN, 3 Yahoo, 4 ICQ
    uint32_t fieldFlags1 = 0, fieldFlags2 = 0;      // as stored
    uint8_t companyOffset = 0;
    bool present[kContactFieldCount] = {};
    std::string_view field[kContactFieldCount];     // empty where not present; points into the record
    ContactsDay birthday;
    ContactsDay anniversary;                        // from its blob
    bool hasPicture = false;
    uint16_t pictureHeader = 0;                     // the two bytes before the JPEG image
    ByteSpan jpeg;                                  // the JPEG image, from its FFD8h on
    std::vector<ContactsBlob> otherBlobs;
    RecordCut cut;

    // The decoding stopped at a blob whose content does not fit it, not at
    // the end of the record's bytes.
    bool StoppedAtABlob() const {
        return cut.cut && (cut.part == static_cast<unsigned>(ContactsPart::kPicture) ||
                           cut.part == static_cast<unsigned>(ContactsPart::kAnniversary));
    }
};

ContactsRecord DecodeContact(const ByteSpan& record);

// The words of a label code, with "Phone", "Address" or "IM" beyond the named ones.
const char* ContactPhoneWord(uint8_t labelCode);
const char* ContactAddressWord(uint8_t labelCode);
const char* ContactImWord(uint8_t labelCode);
// A blob's ID, bytes outside 20h-7Eh as dots: "Bd02".
std::string ContactBlobId(const uint8_t (&id)[4]);

// The AppInfo block's labels and options: 16-byte labels (49 or 53 of them)
// after the category block and colours, 2 reserved bytes and 8 bytes of
// renamed-label flags; then the country and the options.
struct ContactsLabels {
    std::vector<std::string_view> labels;  // as far as the block holds them; point into it
    std::string custom[kContactCustoms];   // labels 14-22, or "Custom 1".."Custom 9"
    bool hasOptions = false;
    uint8_t country = 0;
    bool sortByCompany = false;
};

ContactsLabels ReadContactsLabels(const DatabaseModel& model);

}  // namespace corvelle
