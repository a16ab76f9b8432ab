#!/usr/bin/python3
# Writes an Expense database (DATA/exps) byte by byte from the layout of the
# Palm OS Expense application (a packed date, type, payment and currency bytes,
# a reserved byte, then amount, vendor, city, attendees and note as
# zero-terminated texts; the AppInfo block's sort order and four custom
# currencies after the categories), with no code of corvelle's. Every type,
# payment and kind of currency occurs, with codes beyond the device's lists,
# texts that CSV must quote, a deleted record and records cut short.
#   write-expense-database.py DIR      DIR/expense.pdb
# check-records.py imports this file for EXPENSES and the words it expects.
import os, struct, sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pdbwrite  # noqa: E402

ENCODING = "cp1252"
TYPES = ["Airfare", "Breakfast", "Bus", "Business Meals", "Car Rental", "Dinner", "Entertainment", "Fax", "Gas",
         "Gifts", "Hotel", "Incidentals", "Laundry", "Limo", "Lodging", "Lunch", "Mileage", "Other", "Parking",
         "Postage", "Snack", "Subway", "Supplies", "Taxi", "Telephone", "Tips", "Tolls", "Train"]
PAYMENTS = ["AmEx", "Cash", "Check", "Credit Card", "MasterCard", "Prepaid", "Visa", "Unfiled"]
COUNTRIES = {0: "Australia", 8: "Germany", 22: "United Kingdom", 23: "United States", 28: "P.R.C.", 32: "Taiwan"}
CATEGORIES = ["Unfiled", "Trip to Bonn", "Café crawl"]
CUSTOM = [("Bitcoin", "BTC", "0.0001"), ("Zloty", "zl", "4.2"), ("", "", ""), ("Rand", "R", "18")]
SORT_ORDER = 1


def currency_name(code):
    if code in COUNTRIES:
        return COUNTRIES[code]
    if 128 <= code <= 131:
        return CUSTOM[code - 128][0] or f"Custom {code - 127}"
    return {133: "Euro", 254: "distance", 255: "none"}.get(code, f"Currency {code}")


def expense(date, type_, payment, currency, amount="", vendor="", city="", attendees="", note="", attributes=0x40,
            category=0, cut=None):
    return dict(date=date, type=type_, payment=payment, currency=currency, texts=[amount, vendor, city, attendees,
                note], attributes=attributes | category, category=category, cut=cut)


D = pdbwrite.packed_date
EXPENSES = [expense(D(2003, 5, 17), t, t % 9, [23, 0, 8, 22, 28, 32, 128, 129, 130, 131, 133, 254, 255, 40][t % 14],
                    f"{t + 1}.50", f"Vendor {t}", "Bonn" if t % 2 else "", "", "", category=t % 3)
            for t in range(29)]  # type 28 and payment 8 lie beyond the device's words
EXPENSES += [
    # Texts that CSV quotes: a comma, a double quote, a line break, spaces at the ends; cp1252 letters and the euro.
    expense(D(2004, 2, 29), 15, 1, 133, "-3,00", 'Joe\'s "Diner", Inc.', " Köln ", "Ann, Bob\nCarl",
            "Receipt lost;\r\nsee mail €", category=2),
    # Deleted: in the JSON, not in the CSV.
    expense(D(2004, 3, 1), 3, 2, 23, "99.00", "Gone", attributes=0x20 | 0x40),
    # No date; an empty amount.
    expense(0xFFFF, 17, 7, 255, "", "Nothing yet"),
    # Cut inside the vendor: the amount whole, the vendor's first bytes.
    expense(D(2004, 4, 4), 23, 6, 23, "7.25", "Yellow Cab", "Albany", cut=("inside", 1, 4)),
    # Cut before the currency: only the date, type and payment.
    expense(D(2004, 4, 5), 10, 0, 23, cut=("fixed", 4)),
]


def record_bytes(e):
    data = struct.pack(">HBBBB", e["date"], e["type"], e["payment"], e["currency"], 0)
    starts = []
    for text in e["texts"]:
        starts.append(len(data))
        data += text.encode(ENCODING) + b"\0"
    cut = e["cut"]
    if cut and cut[0] == "inside":
        data = data[:starts[cut[1]] + cut[2]]
    elif cut and cut[0] == "fixed":
        data = data[:cut[1]]
    return data


def app_info():
    block = pdbwrite.category_block(CATEGORIES) + bytes(2) + bytes([SORT_ORDER, 0])
    for name, symbol, rate in CUSTOM:
        block += name.encode(ENCODING)[:15].ljust(16, b"\0")
        block += symbol.encode(ENCODING)[:3].ljust(4, b"\0")
        block += rate.encode(ENCODING)[:7].ljust(8, b"\0")
    return block


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: write-expense-database.py DIR")
    records = [(e["attributes"], 0x300001 + i, record_bytes(e)) for i, e in enumerate(EXPENSES)]
    with open(os.path.join(sys.argv[1], "expense.pdb"), "wb") as out:
        out.write(pdbwrite.database("ExpenseDB", "DATA", "exps", records, app_info()))


if __name__ == "__main__":
    main()
