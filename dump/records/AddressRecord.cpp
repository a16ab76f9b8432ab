#include "dump/records/AddressRecord.h"

#include "dump/DatabaseModel.h"
#include "dump/records/RecordReading.h"

namespace corvelle {
namespace {

// The AppInfo block: the 276-byte category block (with its pad byte), 2
// reserved bytes, 4 bytes of dirty flags, then 22 labels of 16 bytes.
constexpr uint64_t kFirstLabelOffset = 276 + 2 + 4;
constexpr uint64_t kLabelWidth = 16;

const char* const kDefaultLabels[kAddressLabelCount] = {
    "Last name", "First name", "Company",  "Work",     "Home",     "Fax",      "Other",    "E-mail",
    "Address",   "City",       "State",    "Zip Code", "Country",  "Title",    "Custom 1", "Custom 2",
    "Custom 3",  "Custom 4",   "Note",     "Main",     "Pager",    "Mobile",
};

const char* const kPartNames[3 + kAddressFieldCount] = {
    "the phone labels", "the field flags", "the company offset",
    "the last name", "the first name", "the company", "phone 1", "phone 2",  "phone 3",  "phone 4",
    "phone 5",       "the address",    "the city",    "the state", "the zip code", "the country", "the title",
    "custom 1",      "custom 2",       "custom 3",    "custom 4",  "the note",
};

}  // namespace

AddressRecord DecodeAddress(const ByteSpan& record) {
    RecordReader<AddressPart> in(record, kPartNames);
    AddressRecord address;
    if (in.Need(4, AddressPart::kPhoneLabels)) {
        const uint32_t phones = in.U32();
        for (unsigned i = 0; i < 5; ++i) address.phoneLabel[i] = static_cast<uint8_t>((phones >> (4 * i)) & 0x0F);
        address.shownPhone = static_cast<uint8_t>((phones >> 20) & 0x0F);
    }
    if (in.Need(4, AddressPart::kFieldFlags)) address.fieldFlags = in.U32();
    if (in.Need(1, AddressPart::kCompanyOffset)) address.companyOffset = in.U8();
    if (in.Ok()) {
        for (unsigned i = 0; i < kAddressFieldCount && in.Ok(); ++i) {
            if ((address.fieldFlags & (1u << i)) == 0) continue;
            address.field[i] = in.Text(AddressFieldPart(i));
            address.present[i] = true;
        }
    }
    address.cut = in.Cut();
    return address;
}

AddressLabels ReadAddressLabels(const DatabaseModel& model) {
    AddressLabels labels;
    const ByteSpan block = model.AppInfo();
    for (unsigned i = 0; i < kAddressLabelCount; ++i) {
        const uint64_t at = kFirstLabelOffset + kLabelWidth * i;
        std::string_view text;
        if (block.data != nullptr && at <= block.size && kLabelWidth <= block.size - at) {
            ByteReader reader(block.data, block.size);
            reader.Seek(at);
            text = reader.FixedText(kLabelWidth);
        }
        labels.label[i] = text.empty() ? std::string(kDefaultLabels[i]) : std::string(text);
    }
    return labels;
}

std::string_view PhoneLabel(const AddressLabels& labels, uint8_t labelIndex) {
    if (labelIndex <= 4) return labels.label[3 + labelIndex];
    if (labelIndex <= 7) return labels.label[19 + (labelIndex - 5)];
    return "Phone";
}

}  // namespace corvelle
