#include "RecordFixtures.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "tools/fixtures/PalmWriter.h"

namespace corvelle::host {
namespace {

using namespace std::string_literals;

std::string BigMemo() {
  std::string text(6000, 'x');
  for (size_t i = 0; i < text.size(); i += 61) text[i] = '\n';
  return samples::RecordDatabase("DATA", "memo", {"Short one\0"s, text + '\0'});
}

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

COLORREF ShownPixel(HBITMAP bitmap, int x, int y) {
  DIBSECTION dib = {};
  if (GetObjectA(bitmap, sizeof dib, &dib) != sizeof dib || dib.dsBm.bmBits == nullptr) return CLR_INVALID;
  const auto* row = static_cast<const BYTE*>(dib.dsBm.bmBits) + size_t(y) * dib.dsBm.bmWidthBytes;
  return RGB(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
}

bool NearColour(COLORREF got, int r, int g, int b) {
  return abs(GetRValue(got) - r) < 24 && abs(GetGValue(got) - g) < 24 && abs(GetBValue(got) - b) < 24;
}

std::string MemoFixture() { return samples::SerializePalmDatabase(samples::MemoSample()); }
std::string AddressFixture() {
  // Phone labels, then the fields present: last name, first name, company,
  // phone 1 and the note (bits 0-3 and 18); then a company alone (bit 2).
  return samples::RecordDatabase("DATA", "addr",
               {"\x00\x04\x32\x10" "\x00\x04\x00\x0F" "\x00" "Doe\0Jane\0Acme\0555-0100\0Met at the fair\0"s,
                "\0\0\0\0" "\0\0\0\x04" "\0" "Globex\0"s});
}

std::string ApplicationFixture() { return samples::SerializePalmDatabase(samples::ApplicationSample()); }

const RecordFixture kRecordFixtures[4] = {
    {"Memo", MemoFixture, false}, {"Address", AddressFixture, false}, {"BeyondTheHexLimit", BigMemo, false},
    {"Application", ApplicationFixture, true},
};

}  // namespace corvelle::host
