// A Mail record (DATA/mail): the message's date and time, a flags word (read,
// signature, confirmations, priority, addressing), then subject, from, to,
// cc, bcc, reply-to, sent-to and body as zero-terminated texts. The AppInfo
// block's folders are its categories; after them come the sort order, the
// unsent message and where the signature lies.
#pragma once

#include <cstdint>
#include <string_view>

#include "dump/ByteSpan.h"
#include "dump/records/PackedDate.h"
#include "dump/records/RecordCut.h"

namespace corvelle {

class DatabaseModel;

// The parts of the layout, in the order they are read.
enum class MailPart : unsigned {
    kDate, kTime, kFlags, kSubject, kFrom, kTo, kCc, kBcc, kReplyTo, kSentTo, kBody
};

namespace mail_flags {
constexpr uint16_t kRead = 0x8000;
constexpr uint16_t kSignature = 0x4000;
constexpr uint16_t kConfirmRead = 0x2000;
constexpr uint16_t kConfirmDelivery = 0x1000;
}  // namespace mail_flags

// The folders, as the application files its messages under its categories.
constexpr unsigned kMailOutbox = 1;
constexpr unsigned kMailDraft = 4;

struct MailRecord {
    PackedDate date;
    uint8_t hour = 0, minute = 0;
    uint16_t flags = 0;
    std::string_view subject, from, to, cc, bcc, replyTo, sentTo, body;
    RecordCut cut;

    bool Has(uint16_t flag) const { return (flags & flag) != 0; }
    unsigned Priority() const { return (flags >> 10) & 3u; }    // 0 high, 1 normal, 2 low
    unsigned Addressing() const { return (flags >> 8) & 3u; }  // 0 to, 1 cc, 2 bcc
};

MailRecord DecodeMail(const ByteSpan& record);

// "high", "normal", "low"; "to", "cc", "bcc"; null for the code beyond them.
const char* MailPriorityWord(unsigned priority);
const char* MailAddressingWord(unsigned addressing);

// The AppInfo block past its categories; `whole` false when it is too short.
struct MailSettings {
    bool whole = false;
    uint16_t dirty = 0;
    uint8_t sortOrder = 0;
    uint32_t unsentMessage = 0;  // the unique ID of the message being written, 0 for none
    uint16_t signatureOffset = 0;
    bool hasSignature = false;   // the offset points inside the block
    std::string_view signature;
};

MailSettings ReadMailSettings(const DatabaseModel& model);

}  // namespace corvelle
