// An Expense record (DATA/exps): a date, the expense's type, how it was
// paid and in which currency, then the amount as the device's text, the
// vendor, the city, the attendees and a note. The AppInfo block adds the sort
// order and four currencies of the user's own.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "dump/ByteSpan.h"
#include "dump/records/PackedDate.h"
#include "dump/records/RecordCut.h"

namespace corvelle {

class DatabaseModel;

// The parts of the layout, in the order they are read.
enum class ExpensePart : unsigned {
    kDate, kType, kPayment, kCurrency, kReserved, kAmount, kVendor, kCity, kAttendees, kNote
};

struct ExpenseRecord {
    PackedDate date;
    uint8_t type = 0;      // 0 Airfare ... 27 Train
    uint8_t payment = 0;   // 0 AmEx ... 7 Unfiled
    uint8_t currency = 0;  // ExpenseCurrencyName's code
    std::string_view amount, vendor, city, attendees, note;
    RecordCut cut;
};

ExpenseRecord DecodeExpense(const ByteSpan& record);

// The device's words; null for a code beyond them.
const char* ExpenseTypeWord(uint8_t type);
const char* ExpensePaymentWord(uint8_t payment);

struct ExpenseCustomCurrency {
    std::string_view name, symbol, rate;  // fixed fields of 16, 4 and 8 bytes
};

// The AppInfo block past its categories; `whole` false when it is too short
// for them (nothing of it is then shown).
struct ExpenseSettings {
    bool whole = false;
    uint8_t sortOrder = 0;  // 0 by date, 1 by type
    ExpenseCustomCurrency custom[4];
};

ExpenseSettings ReadExpenseSettings(const DatabaseModel& model);

// A currency by its code as the device names it: the countries of the
// system's list (0-32), the user's own four (128-131) by their names, the
// Euro (133), 254 for a distance rather than money, 255 for none.
std::string ExpenseCurrencyName(uint8_t code, const ExpenseSettings& settings);

}  // namespace corvelle
