// Expense (DATA/exps): what was spent, when, on what, how it was paid and in
// which currency, with the vendor, city, attendees and a note; the AppInfo
// block's currencies of the user's own name theirs. A table: it feeds CSV,
// one row per expense, the amount as the device stored it.
#include <string>
#include <vector>

#include "dump/TextAppend.h"
#include "dump/records/ExpenseRecord.h"
#include "formats/ExportFeed.h"
#include "standards/JsonFields.h"
#include "formats/ContentsCell.h"
#include "formats/FieldLines.h"
#include "formats/Format.h"

namespace corvelle {
namespace {

std::string TypeText(uint8_t type) {
    const char* word = ExpenseTypeWord(type);
    return word != nullptr ? word : "Type " + Number(type);
}

std::string PaymentText(uint8_t payment) {
    const char* word = ExpensePaymentWord(payment);
    return word != nullptr ? word : "Payment " + Number(payment);
}

const std::vector<std::string_view> kColumns = {"Date",   "Category", "Type", "Payment",   "Currency",
                                                "Amount", "Vendor",   "City", "Attendees", "Note"};

class ExpenseReader final : public FormatReader {
public:
    explicit ExpenseReader(const DatabaseModel& model) : m_model(model), m_settings(ReadExpenseSettings(model)) {}

    bool Decodes(size_t) const override { return true; }

    void AppendContents(size_t index, ContentsCell& cell) const override {
        const ExpenseRecord expense = Decode(index);
        const RecordCut& read = expense.cut;
        bool first = true;
        const auto add = [&cell, &first](std::string_view part) {
            if (part.empty()) return;
            if (!first) cell.Add(" ");
            cell.Add(part);
            first = false;
        };
        if (read.Whole(ExpensePart::kDate)) add(PackedDateText(expense.date));
        if (read.Whole(ExpensePart::kType)) add(TypeText(expense.type));
        add(expense.amount);
        if (read.Whole(ExpensePart::kCurrency)) add(ExpenseCurrencyName(expense.currency, m_settings));
        add(expense.vendor);
    }

    void AppendFields(size_t index, std::string& out) const override {
        const ExpenseRecord expense = Decode(index);
        const RecordCut& read = expense.cut;
        if (read.Whole(ExpensePart::kDate)) AppendField(out, "Date", PackedDateText(expense.date));
        if (read.Whole(ExpensePart::kType)) AppendField(out, "Type", TypeText(expense.type));
        if (read.Whole(ExpensePart::kPayment)) AppendField(out, "Payment", PaymentText(expense.payment));
        if (read.Whole(ExpensePart::kCurrency))
            AppendField(out, "Currency", ExpenseCurrencyName(expense.currency, m_settings));
        if (read.Begun(ExpensePart::kAmount)) AppendField(out, "Amount", expense.amount);
        if (read.Begun(ExpensePart::kVendor)) AppendField(out, "Vendor", expense.vendor);
        if (read.Begun(ExpensePart::kCity)) AppendField(out, "City", expense.city);
        if (read.Begun(ExpensePart::kAttendees)) AppendField(out, "Attendees", expense.attendees);
        if (!expense.note.empty()) AppendField(out, "Note", expense.note);
        AppendCutLine(m_model, expense.cut, out);
    }

    void WriteJsonFields(size_t index, JsonFields& json) const override {
        const ExpenseRecord expense = Decode(index);
        json.Date("date", expense.date);
        json.Number("type", expense.type);
        json.Text("typeName", TypeText(expense.type));
        json.Number("payment", expense.payment);
        json.Text("paymentName", PaymentText(expense.payment));
        json.Number("currency", expense.currency);
        json.Text("currencyName", ExpenseCurrencyName(expense.currency, m_settings));
        json.Text("amount", expense.amount);
        json.Text("vendor", expense.vendor);
        json.Text("city", expense.city);
        json.Text("attendees", expense.attendees);
        json.Text("note", expense.note);
        json.Cut(expense.cut);
    }

    void WriteJsonAppInfo(JsonFields& json) const override {
        JsonOut& out = json.Json();
        if (!m_settings.whole) {
            json.Null("sortOrder");
            json.Null("customCurrencies");
            return;
        }
        json.Text("sortOrder", m_settings.sortOrder == 0 ? "date" : m_settings.sortOrder == 1 ? "type" : "other");
        out.Key("customCurrencies");
        out.OpenArray();
        for (const ExpenseCustomCurrency& currency : m_settings.custom) {
            out.OpenObject();
            json.Text("name", currency.name);
            json.Text("symbol", currency.symbol);
            json.Text("rate", currency.rate);
            out.CloseObject();
        }
        out.CloseArray();
    }

    void FeedBeforeEntries(ExportType, ExportFeed& feed) const override { feed.TableHeader(kColumns); }

    void Feed(size_t index, ExportType, ExportFeed& feed) const override {
        const ExpenseRecord expense = Decode(index);
        const RecordCut& read = expense.cut;
        const std::string date = read.Whole(ExpensePart::kDate) ? PackedDateText(expense.date) : "";
        const std::string type = read.Whole(ExpensePart::kType) ? TypeText(expense.type) : "";
        const std::string payment = read.Whole(ExpensePart::kPayment) ? PaymentText(expense.payment) : "";
        const std::string currency =
            read.Whole(ExpensePart::kCurrency) ? ExpenseCurrencyName(expense.currency, m_settings) : "";
        const ModelEntry& entry = m_model.Entry(index);
        feed.TableRow({date, m_model.CategoryLabel(entry.Category()), type, payment, currency, expense.amount,
                       expense.vendor, expense.city, expense.attendees, expense.note});
        if (expense.cut.cut) feed.Warn(CutWarning(index, expense.cut));
    }

private:
    ExpenseRecord Decode(size_t index) const { return DecodeExpense(m_model.Data(index)); }

    const DatabaseModel& m_model;
    const ExpenseSettings m_settings;
};

bool IsExpense(const DatabaseModel& model) { return IsRecordDatabase(model, "DATA", "exps"); }

std::unique_ptr<FormatReader> OpenExpense(const DatabaseModel& model) {
    return std::make_unique<ExpenseReader>(model);
}

}  // namespace

extern const Format kExpenseFormat = {"expense", "Expense", ExportBit(ExportType::kCsv), IsExpense, OpenExpense};

}  // namespace corvelle
