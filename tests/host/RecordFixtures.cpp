#include "RecordFixtures.h"

#include <cstdint>

#include "tools/PalmWriter.h"

namespace corvelle::host {
namespace {

using samples::PalmDatabase;
using namespace std::string_literals;

std::string Be16(uint32_t v) { return {char(v >> 8), char(v)}; }
std::string Be32(uint32_t v) { return Be16(v >> 16) + Be16(v); }
// 7 bits of years since 1904, 4 of month, 5 of day.
std::string Packed(unsigned year, unsigned month, unsigned day) { return Be16((year - 1904) << 9 | month << 5 | day); }

std::string Write(PalmDatabase db, const char* type, const char* creator, std::vector<std::string> records) {
  db.name = creator;
  db.type = type;
  db.creator = creator;
  uint32_t id = 0x700001;
  for (std::string& data : records) db.records.push_back({uint8_t(db.records.size() % 3), id++, std::move(data)});
  return samples::SerializePalmDatabase(db);
}

std::string ToDo() {
  return Write({}, "DATA", "todo", {Packed(2026, 12, 24) + "\x82" "Buy presents\0Paper and ribbon\0"s,
                                    "\xFF\xFF\x01" "Call the bank\0\0"s, "\x00\x10\x03" "Cut"s});
}

std::string Address() {
  // Last name, first name, company, phone 1 and the note; then a company alone.
  const uint32_t fields = 1u << 0 | 1u << 1 | 1u << 2 | 1u << 3 | 1u << 18;
  return Write({}, "DATA", "addr", {Be32(0x00043210) + Be32(fields) + "\x00" "Doe\0Jane\0Acme\0555-0100\0Met at the fair\0"s,
                                    Be32(0) + Be32(1u << 2) + "\x00" "Globex\0"s});
}

std::string DateBook() {
  // Timed with an alarm and a description; untimed, weekly on Monday and
  // Friday with an exception.
  return Write({}, "DATA", "date",
               {"\x09\x1E\x0A\x0F"s + Packed(2026, 12, 8) + Be16(0x4400) + "\x0A\x00" "Dentist\0"s,
                "\xFF\xFF\xFF\xFF"s + Packed(2026, 1, 5) + Be16(0x2C00) + "\x02\x00\xFF\xFF\x01\x22\x00\x00"s +
                    Be16(1) + Packed(2026, 2, 2) + "Gym\0"s});
}

std::string PalmDoc() {
  // PalmDOC compression: C0h-FFh stand for a space and the byte XOR 80h.
  return Write({}, "TEXt", "REAd",
               {Be16(2) + Be16(0) + Be32(22) + Be16(2) + Be16(4096) + Be32(0), "Hello\xF7orld\n"s, "The end.\n"s});
}

std::string BigMemo() {
  std::string text(6000, 'x');
  for (size_t i = 0; i < text.size(); i += 61) text[i] = '\n';
  return Write({}, "DATA", "memo", {"Short one\0"s, text + '\0'});
}

std::string Application() { return samples::SerializePalmDatabase(samples::ApplicationSample()); }

}  // namespace

RecordsParts ShowRecords(const ViewerParts& viewer, bool timersToo) {
  PressKey(viewer.dumpControl, '3', kCtrl, timersToo);
  RecordsParts parts;
  for (HWND page : PagesOf(viewer.sheet)) {
    if (HWND list = GetDlgItem(page, 1060)) parts = {page, list, GetDlgItem(page, 1061), GetDlgItem(page, 1062)};
  }
  return parts;
}

void SelectRows(HWND list, std::initializer_list<int> rows) {
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
  for (int row : rows) ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  PumpMessages();
}

std::string MemoFixture() { return samples::SerializePalmDatabase(samples::MemoSample()); }

const RecordFixture kRecordFixtures[7] = {
    {"Memo", MemoFixture, false},         {"ToDo", ToDo, false},       {"Address", Address, false},
    {"DateBook", DateBook, false},        {"PalmDoc", PalmDoc, false}, {"BeyondTheHexLimit", BigMemo, false},
    {"Application", Application, true},
};

}  // namespace corvelle::host
