// Messages as an mboxrd file: each an RFC 5322 message after its "From " line,
// its header text that is not ASCII as RFC 2047 encoded words, its body as
// UTF-8 plain text, and the device's flags in the headers mail programs read
// (Status, X-Priority, the receipts). The message's lines end in CR LF; the
// mbox's own, the From line and the empty line after each message, in LF, as
// mbox readers split the file.
#include <string>

#include "standards/CivilDate.h"
#include "formats/ExportFeed.h"
#include "export/ExportWriters.h"
#include "standards/Rfc5322.h"

namespace corvelle {
namespace {

// X-Priority as mail programs read it: 1 the highest, 3 normal, 5 the lowest.
const char* PriorityValue(uint8_t priority) {
    switch (priority) {
        case 0: return "1 (Highest)";
        case 2: return "5 (Lowest)";
        default: return "3 (Normal)";
    }
}

class MboxFeed final : public ExportFeed {
public:
    MboxFeed(const ExportContext& context, std::string& out) : m_context(context), m_out(out) {}

    void Begin(size_t index) { m_index = index; }

    void Message(const MailMessage& message) override {
        const std::string from = Utf8(message.from);
        CivilTime time;
        const bool dated = Dated(message, time);
        std::string sender = FirstAddress(from);
        if (sender.empty()) sender = "MAILER-DAEMON";
        // The From line needs some date; a message without one gets the
        // epoch's, and no Date field.
        m_out += "From " + sender + " " + MboxDate(dated ? time : CivilTime{{1970, 1, 1}, 0, 0, 0}) + "\n";
        if (dated) AppendHeaderField("Date", DateValue(time), m_out);
        Addresses("From", from);
        Addresses("To", Utf8(message.to));
        Addresses("Cc", Utf8(message.cc));
        Addresses("Bcc", Utf8(message.bcc));
        Addresses("Reply-To", Utf8(message.replyTo));
        AppendHeaderField("Subject", UnstructuredValue(Utf8(message.subject)), m_out);
        Addresses("X-Palm-Sent-To", Utf8(message.sentTo));
        AppendHeaderField("X-Priority", PriorityValue(message.priority), m_out);
        if (!message.folder.empty())
            AppendHeaderField("X-Palm-Folder", UnstructuredValue(Utf8(message.folder)), m_out);
        AppendHeaderField("Status", message.read ? "RO" : "O", m_out);
        const std::string receipts = AddressListValue(from);
        if (message.confirmRead && !receipts.empty()) AppendHeaderField("Disposition-Notification-To", receipts, m_out);
        if (message.confirmDelivery && !receipts.empty()) AppendHeaderField("Return-Receipt-To", receipts, m_out);
        if (message.signature) AppendHeaderField("X-Palm-Signature", "yes", m_out);
        AppendHeaderField("MIME-Version", "1.0", m_out);
        AppendHeaderField("Content-Type", "text/plain; charset=utf-8", m_out);
        const std::string body = Utf8(message.body);
        const bool eightBit = FitsEightBit(body);
        AppendHeaderField("Content-Transfer-Encoding", eightBit ? "8bit" : "quoted-printable", m_out);
        m_out += "\r\n";
        if (eightBit)
            AppendMboxBody(body, m_out);
        else
            AppendQuotedPrintableBody(body, m_out);
        m_out += "\n";  // the empty line before the next From line
    }

    void Warn(std::string text) override { m_context.Warn(std::move(text)); }

private:
    std::string Utf8(std::string_view text) const { return m_context.Utf8(text); }

    void Addresses(const char* name, const std::string& utf8) {
        if (!utf8.empty()) AppendHeaderField(name, AddressListValue(utf8), m_out);
    }

    // A date of no day of the calendar, or a time past 23:59, is left out and said.
    bool Dated(const MailMessage& message, CivilTime& time) {
        if (message.date.IsNone()) return false;
        time.date = {message.date.Year(), message.date.Month(), message.date.Day()};
        time.hour = message.hour;
        time.minute = message.minute;
        if (IsValidDate(time.date) && time.hour < 24 && time.minute < 60) return true;
        m_context.Warn(RecordName(m_index) + ": its date " + PackedDateText(message.date) + " " +
                       std::to_string(time.hour) + ":" + std::to_string(time.minute) + " is no time, left out");
        return false;
    }

    const ExportContext& m_context;
    std::string& m_out;
    size_t m_index = 0;
};

}  // namespace

void WriteMbox(const ExportContext& context, std::string& out) {
    MboxFeed feed(context, out);
    FeedLiveEntries(context, ExportType::kMbox, feed, &out);
}

}  // namespace corvelle
