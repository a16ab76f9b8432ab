// Mail (DATA/mail), the Palm's own e-mail: the messages of the Inbox, Outbox,
// Deleted, Filed and Draft folders (the categories), each with its flags and
// headers; the AppInfo block's signature and unsent message. The messages
// feed an mbox.
#include <string>

#include "dump/TextAppend.h"
#include "dump/records/MailRecord.h"
#include "formats/ExportFeed.h"
#include "standards/JsonFields.h"
#include "formats/ContentsCell.h"
#include "formats/FieldLines.h"
#include "formats/Format.h"

namespace corvelle {
namespace {

std::string DateAndTime(const MailRecord& mail) {
    std::string text = PackedDateText(mail.date);
    if (mail.cut.Whole(MailPart::kTime)) {
        text += ' ';
        AppendTime(text, mail.hour, mail.minute);
    }
    return text;
}

std::string WordOr(const char* word, unsigned code) { return word != nullptr ? word : Number(code); }

const char* YesNo(bool value) { return value ? "yes" : "no"; }

class MailReader final : public FormatReader {
public:
    explicit MailReader(const DatabaseModel& model) : m_model(model), m_settings(ReadMailSettings(model)) {}

    bool Decodes(size_t) const override { return true; }

    // What a folder's list shows: the subject and who it is from, or for
    // a message going out (the Outbox, a draft) whom it is to.
    void AppendContents(size_t index, ContentsCell& cell) const override {
        const MailRecord mail = Decode(index);
        const std::string_view who = Outgoing(index) ? mail.to : mail.from;
        cell.Add(mail.subject);
        if (!who.empty()) {
            cell.Add(" - ");
            cell.Add(who);
        }
    }

    void AppendFields(size_t index, std::string& out) const override {
        const MailRecord mail = Decode(index);
        const RecordCut& read = mail.cut;
        if (read.Whole(MailPart::kDate)) AppendField(out, "Date", DateAndTime(mail));
        if (read.Whole(MailPart::kFlags)) {
            AppendField(out, "Read", YesNo(mail.Has(mail_flags::kRead)));
            AppendField(out, "Signature", YesNo(mail.Has(mail_flags::kSignature)));
            AppendField(out, "Confirm read", YesNo(mail.Has(mail_flags::kConfirmRead)));
            AppendField(out, "Confirm delivery", YesNo(mail.Has(mail_flags::kConfirmDelivery)));
            AppendField(out, "Priority", WordOr(MailPriorityWord(mail.Priority()), mail.Priority()));
            AppendField(out, "Addressing", WordOr(MailAddressingWord(mail.Addressing()), mail.Addressing()));
        }
        const struct {
            const char* label;
            MailPart part;
            std::string_view text;
        } kTexts[] = {{"Subject", MailPart::kSubject, mail.subject}, {"From", MailPart::kFrom, mail.from},
                      {"To", MailPart::kTo, mail.to},                {"Cc", MailPart::kCc, mail.cc},
                      {"Bcc", MailPart::kBcc, mail.bcc},             {"Reply to", MailPart::kReplyTo, mail.replyTo},
                      {"Sent to", MailPart::kSentTo, mail.sentTo},  {"Body", MailPart::kBody, mail.body}};
        for (const auto& text : kTexts)
            if (read.Begun(text.part) && (!text.text.empty() || text.part == MailPart::kSubject))
                AppendField(out, text.label, text.text);
        AppendCutLine(m_model, mail.cut, out);
    }

    void WriteJsonFields(size_t index, JsonFields& json) const override {
        const MailRecord mail = Decode(index);
        json.Date("date", mail.date);
        json.Time("time", mail.hour, mail.minute);
        json.Bool("read", mail.Has(mail_flags::kRead));
        json.Bool("signature", mail.Has(mail_flags::kSignature));
        json.Bool("confirmRead", mail.Has(mail_flags::kConfirmRead));
        json.Bool("confirmDelivery", mail.Has(mail_flags::kConfirmDelivery));
        json.Number("priority", mail.Priority());
        json.Text("priorityName", WordOr(MailPriorityWord(mail.Priority()), mail.Priority()));
        json.Number("addressing", mail.Addressing());
        json.Text("addressingName", WordOr(MailAddressingWord(mail.Addressing()), mail.Addressing()));
        json.Text("subject", mail.subject);
        json.Text("from", mail.from);
        json.Text("to", mail.to);
        json.Text("cc", mail.cc);
        json.Text("bcc", mail.bcc);
        json.Text("replyTo", mail.replyTo);
        json.Text("sentTo", mail.sentTo);
        json.Text("body", mail.body);
        json.Cut(mail.cut);
    }

    void WriteJsonAppInfo(JsonFields& json) const override {
        if (!m_settings.whole) {
            for (const char* key : {"sortOrder", "unsentMessage", "signature"}) json.Null(key);
            return;
        }
        json.Number("sortOrder", m_settings.sortOrder);
        json.Number("unsentMessage", m_settings.unsentMessage);
        if (m_settings.hasSignature)
            json.Text("signature", m_settings.signature);
        else
            json.Null("signature");
    }

    void Feed(size_t index, ExportType, ExportFeed& feed) const override {
        const MailRecord mail = Decode(index);
        MailMessage message;
        if (mail.cut.Whole(MailPart::kDate)) message.date = mail.date;
        if (mail.cut.Whole(MailPart::kTime)) {
            message.hour = mail.hour;
            message.minute = mail.minute;
        }
        message.read = mail.Has(mail_flags::kRead);
        message.signature = mail.Has(mail_flags::kSignature);
        message.confirmRead = mail.Has(mail_flags::kConfirmRead);
        message.confirmDelivery = mail.Has(mail_flags::kConfirmDelivery);
        message.priority = static_cast<uint8_t>(mail.Priority());
        message.subject = mail.subject;
        message.from = mail.from;
        message.to = mail.to;
        message.cc = mail.cc;
        message.bcc = mail.bcc;
        message.replyTo = mail.replyTo;
        message.sentTo = mail.sentTo;
        message.body = mail.body;
        message.folder = m_model.CategoryLabel(m_model.Entry(index).Category());
        feed.Message(message);
        if (mail.cut.cut) feed.Warn(CutWarning(index, mail.cut));
    }

private:
    MailRecord Decode(size_t index) const { return DecodeMail(m_model.Data(index)); }

    bool Outgoing(size_t index) const {
        const unsigned folder = m_model.Entry(index).Category();
        return folder == kMailOutbox || folder == kMailDraft;
    }

    const DatabaseModel& m_model;
    const MailSettings m_settings;
};

bool IsMail(const DatabaseModel& model) { return IsRecordDatabase(model, "DATA", "mail"); }

std::unique_ptr<FormatReader> OpenMail(const DatabaseModel& model) { return std::make_unique<MailReader>(model); }

}  // namespace

extern const Format kMailFormat = {"mail", "Mail", ExportBit(ExportType::kMbox), IsMail, OpenMail};

}  // namespace corvelle
