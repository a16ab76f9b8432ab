#include "dump/records/ExpenseRecord.h"

#include <iterator>

#include "dump/DatabaseModel.h"
#include "dump/PalmLayout.h"
#include "dump/records/RecordReading.h"

namespace corvelle {
namespace {

const char* const kPartNames[] = {"the date",   "the type",   "the payment", "the currency",  "the reserved byte",
                                  "the amount", "the vendor", "the city",    "the attendees", "the note"};

const char* const kTypeWords[] = {
    "Airfare", "Breakfast", "Bus",      "Business Meals", "Car Rental", "Dinner",  "Entertainment",
    "Fax",     "Gas",       "Gifts",    "Hotel",          "Incidentals", "Laundry", "Limo",
    "Lodging", "Lunch",     "Mileage",  "Other",          "Parking",    "Postage", "Snack",
    "Subway",  "Supplies",  "Taxi",     "Telephone",      "Tips",       "Tolls",   "Train",
};
const char* const kPaymentWords[] = {"AmEx",       "Cash",    "Check", "Credit Card",
                                     "MasterCard", "Prepaid", "Visa",  "Unfiled"};

// The system's country list, in the order of its codes: the currency of a
// country is shown by the country's name, as the device's list shows it.
const char* const kCountries[] = {
    "Australia", "Austria",     "Belgium", "Brazil",        "Canada",   "Denmark",   "Finland", "France",
    "Germany",   "Hong Kong",   "Iceland", "Ireland",       "Italy",    "Japan",     "Luxembourg", "Mexico",
    "Netherlands", "New Zealand", "Norway", "Spain",        "Sweden",   "Switzerland", "United Kingdom",
    "United States", "India",   "Indonesia", "Korea",       "Malaysia", "P.R.C.",    "Philippines", "Singapore",
    "Thailand",  "Taiwan",
};

constexpr uint8_t kFirstCustomCurrency = 128;
constexpr uint8_t kEuro = 133;
constexpr uint8_t kDistance = 254;
constexpr uint8_t kNoCurrency = 255;

}  // namespace

ExpenseRecord DecodeExpense(const ByteSpan& record) {
    RecordReader<ExpensePart> in(record, kPartNames);
    ExpenseRecord expense;
    if (in.Need(2, ExpensePart::kDate)) expense.date.raw = in.U16();
    if (in.Need(1, ExpensePart::kType)) expense.type = in.U8();
    if (in.Need(1, ExpensePart::kPayment)) expense.payment = in.U8();
    if (in.Need(1, ExpensePart::kCurrency)) expense.currency = in.U8();
    if (in.Need(1, ExpensePart::kReserved)) in.U8();
    expense.amount = in.Text(ExpensePart::kAmount);
    expense.vendor = in.Text(ExpensePart::kVendor);
    expense.city = in.Text(ExpensePart::kCity);
    expense.attendees = in.Text(ExpensePart::kAttendees);
    expense.note = in.Text(ExpensePart::kNote);
    expense.cut = in.Cut();
    return expense;
}

const char* ExpenseTypeWord(uint8_t type) { return type < std::size(kTypeWords) ? kTypeWords[type] : nullptr; }

const char* ExpensePaymentWord(uint8_t payment) {
    return payment < std::size(kPaymentWords) ? kPaymentWords[payment] : nullptr;
}

ExpenseSettings ReadExpenseSettings(const DatabaseModel& model) {
    ExpenseSettings settings;
    const ByteSpan block = model.AppInfo();
    ByteReader in(block.data, block.size);
    in.Seek(layout::kCategoryBlockWithReserved);
    settings.sortOrder = in.U8();
    in.U8();  // reserved
    for (ExpenseCustomCurrency& currency : settings.custom) {
        currency.name = in.FixedText(16);
        currency.symbol = in.FixedText(4);
        currency.rate = in.FixedText(8);
    }
    settings.whole = in.Ok();
    if (!settings.whole) settings = ExpenseSettings();
    return settings;
}

std::string ExpenseCurrencyName(uint8_t code, const ExpenseSettings& settings) {
    if (code < std::size(kCountries)) return kCountries[code];
    if (code >= kFirstCustomCurrency && code < kFirstCustomCurrency + 4) {
        const std::string_view name = settings.custom[code - kFirstCustomCurrency].name;
        if (!name.empty()) return std::string(name);
        return "Custom " + std::to_string(code - kFirstCustomCurrency + 1);
    }
    if (code == kEuro) return "Euro";
    if (code == kDistance) return "distance";
    if (code == kNoCurrency) return "none";
    return "Currency " + std::to_string(code);
}

}  // namespace corvelle
