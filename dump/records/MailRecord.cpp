#include "dump/records/MailRecord.h"

#include "dump/DatabaseModel.h"
#include "dump/PalmLayout.h"
#include "dump/records/RecordReading.h"

namespace corvelle {
namespace {

const char* const kPartNames[] = {"the date", "the time", "the flags", "the subject", "the sender",
                                  "the recipients", "the copies", "the blind copies", "the reply address",
                                  "the sent-to address", "the body"};

}  // namespace

MailRecord DecodeMail(const ByteSpan& record) {
    RecordReader<MailPart> in(record, kPartNames);
    MailRecord mail;
    if (in.Need(2, MailPart::kDate)) mail.date.raw = in.U16();
    if (in.Need(2, MailPart::kTime)) {
        mail.hour = in.U8();
        mail.minute = in.U8();
    }
    if (in.Need(2, MailPart::kFlags)) mail.flags = in.U16();
    mail.subject = in.Text(MailPart::kSubject);
    mail.from = in.Text(MailPart::kFrom);
    mail.to = in.Text(MailPart::kTo);
    mail.cc = in.Text(MailPart::kCc);
    mail.bcc = in.Text(MailPart::kBcc);
    mail.replyTo = in.Text(MailPart::kReplyTo);
    mail.sentTo = in.Text(MailPart::kSentTo);
    mail.body = in.Text(MailPart::kBody);
    mail.cut = in.Cut();
    return mail;
}

const char* MailPriorityWord(unsigned priority) {
    static const char* const kWords[] = {"high", "normal", "low"};
    return priority < 3 ? kWords[priority] : nullptr;
}

const char* MailAddressingWord(unsigned addressing) {
    static const char* const kWords[] = {"to", "cc", "bcc"};
    return addressing < 3 ? kWords[addressing] : nullptr;
}

MailSettings ReadMailSettings(const DatabaseModel& model) {
    MailSettings settings;
    const ByteSpan block = model.AppInfo();
    ByteReader in(block.data, block.size);
    in.Seek(layout::kCategoryBlockWithReserved);
    settings.dirty = in.U16BE();
    settings.sortOrder = in.U8();
    in.U8();  // reserved
    settings.unsentMessage = in.U32BE();
    settings.signatureOffset = in.U16BE();
    settings.whole = in.Ok();
    if (!settings.whole) return MailSettings();
    // The signature is a text at its offset from the block's start; an offset
    // of zero, or one outside the block, means none.
    if (settings.signatureOffset != 0 && settings.signatureOffset < block.size) {
        ByteReader text(block.data, block.size);
        text.Seek(settings.signatureOffset);
        settings.signature = text.ZeroTerminatedText();
        settings.hasSignature = true;
    }
    return settings;
}

}  // namespace corvelle
