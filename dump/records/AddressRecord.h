// An Address Book record, and the field and phone labels of its database.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "dump/ByteSpan.h"
#include "dump/records/RecordCut.h"

namespace corvelle {

class DatabaseModel;

// The 19 fields in the order the record stores them (bit i of the field
// flags says whether field i is present).
enum AddressField : unsigned {
    kLastName, kFirstName, kCompany,
    kPhone1, kPhone2, kPhone3, kPhone4, kPhone5,
    kAddress, kCity, kState, kZipCode, kCountry, kTitle,
    kCustom1, kCustom2, kCustom3, kCustom4, kNote,
    kAddressFieldCount
};

// The parts of the layout, in the order they are read: three fixed fields,
// then field i of AddressField as part kFirstField + i.
enum class AddressPart : unsigned { kPhoneLabels, kFieldFlags, kCompanyOffset, kFirstField };
constexpr AddressPart AddressFieldPart(unsigned field) {
    return static_cast<AddressPart>(static_cast<unsigned>(AddressPart::kFirstField) + field);
}

struct AddressRecord {
    uint8_t phoneLabel[5] = {};  // label index of phone 1 to 5 (0-4 and 5-7 name labels, 8-15 "Phone")
    uint8_t shownPhone = 0;      // which phone (0 to 4) the list shows
    uint32_t fieldFlags = 0;     // as stored
    uint8_t companyOffset = 0;
    bool present[kAddressFieldCount] = {};
    std::string_view field[kAddressFieldCount];  // empty where not present; points into the record
    RecordCut cut;
};

AddressRecord DecodeAddress(const ByteSpan& record);

// The 22 labels: 0-18 name the fields (3-7 are also the first five phone
// labels), 19-21 the phone labels Main, Pager and Mobile. From the AppInfo
// block where it has them, else the defaults.
constexpr unsigned kAddressLabelCount = 22;
struct AddressLabels {
    std::string label[kAddressLabelCount];
};

AddressLabels ReadAddressLabels(const DatabaseModel& model);

// The label of a phone whose label index is `labelIndex`: 0-4 name labels
// 3-7, 5-7 name labels 19-21, and 8-15 give "Phone".
std::string_view PhoneLabel(const AddressLabels& labels, uint8_t labelIndex);

}  // namespace corvelle
