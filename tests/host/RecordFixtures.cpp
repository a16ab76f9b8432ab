#include "RecordFixtures.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "tools/fixtures/BigEndianWriter.h"
#include "tools/fixtures/PalmWriter.h"

namespace corvelle::host {
namespace {

using samples::PalmDatabase;
using namespace std::string_literals;

std::string Write(PalmDatabase db, const char* type, const char* creator, std::vector<std::string> records) {
  db.name = creator;
  db.type = type;
  db.creator = creator;
  uint32_t id = 0x700001;
  for (std::string& data : records) db.records.push_back({uint8_t(db.records.size() % 3), id++, std::move(data)});
  return samples::SerializePalmDatabase(db);
}

std::string BigMemo() {
  std::string text(6000, 'x');
  for (size_t i = 0; i < text.size(); i += 61) text[i] = '\n';
  return Write({}, "DATA", "memo", {"Short one\0"s, text + '\0'});
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
  return Write({}, "DATA", "addr",
               {"\x00\x04\x32\x10" "\x00\x04\x00\x0F" "\x00" "Doe\0Jane\0Acme\0555-0100\0Met at the fair\0"s,
                "\0\0\0\0" "\0\0\0\x04" "\0" "Globex\0"s});
}

std::string ApplicationFixture() { return samples::SerializePalmDatabase(samples::ApplicationSample()); }

namespace {

// A 48 x 48 face on a gradient, written by netpbm's pnmtojpeg -quality=75 -optimize: skin (235, 190, 150) in
// the middle, eyes (40, 40, 90) 7 pixels either side and 5 above it.
const char kFaceJpegHex[] =
    "ffd8ffe000104a46494600010100000100010000ffdb004300080606070605080707070909080a0c140d0c0b0b0c1912130f141d1a1f1e"
    "1d1a1c1c20242e2720222c231c1c2837292c30313434341f27393d38323c2e333432ffdb0043010909090c0b0c180d0d1832211c213232"
    "323232323232323232323232323232323232323232323232323232323232323232323232323232323232323232323232ffc00011080030"
    "003003012200021101031101ffc4001b00000105010100000000000000000000000600020304050701ffc4003410000103020304060a03"
    "010000000000000102031100040512130621315115163254a3d207232441617191a1c2d11452c1e1ffc400180100030101000000000000"
    "0000000000000305060402ffc40028110001020404060301000000000000000001000203040511121321221431415171a161b1e1f0ffda"
    "000c03010002110311003f001d4b7576c70fb8bf7c316ad171c82606e81cc93b85496360edf5db76cc81a8e1812600f793f4ae9f61616f"
    "875a26dad919509de49e2a3ccfc69d552a22586102ee2b153a5cc7dc7401095bec35c1cdfc8bc69be1974d2573f3988a7bdb14fa32e85d"
    "b4e7f6d449447d2668ce954d3aa330e3727d27ed80c6f25ccae2c1fb27f46e1a2dae0183be47cc71af12dd747bcb366fadd4c3e9949e07"
    "de93cc7c6819fb372d2e56c3a06741830641aec4ce60d79a3c3384abfb196ded773719a3236119638e633f8fdeb536c70fbac57656f6ca"
    "c9ad5b87326446609985a49de481c01aa1b22e64b9b9672f6d01733c20c7e5f6a287de6edd871f75595b6d256b544c0024d12a6f73674b"
    "fb5adfde529a480f93681d6ff682bd1d6cf62980f497495ae86b6969fac4aa633cf649e6297a45d9ec531ee8de8db5d7d1d5d4f5894c4e"
    "48ed11c8d6ef5c301eff00e0afcb4bae180f7ff057e5ac9c4c4ceceb6bf964d38289832f09b785e6c761f75856cad9595eb5a570de7ce8"
    "cc1512b511bc12381151ed0b1ed2cbb3da414c470833fed6eb0f3770c36fb4accdb890b42a2241122b231c5677d96e3b292a9f99ff0094"
    "12f2e7979eab9b6016ec872d1d72d2e50fb519d077489146a85dbe2762b1db65d4942d24c18220831c28392dd5ab671db673519594aa22"
    "45505425c47dc342145526a6654d8ead3ebe42d4ea7e03dc3c65f9a9753f01ee1e32fcd4e6b1a777ea328572ca48fdd48ac5dd54646529"
    "e798cfea91ba04569d55736b2c70b8887dabfea30fb342123232d24210999300401bf8d60b8a5bef29d5c6651df1522d4e3ebcee28a95c"
    "269c96e82fda1673359aeb8e4bffd9";

std::string Bytes(const char* hex) {
  std::string out;
  for (size_t i = 0; hex[i] != '\0' && hex[i + 1] != '\0'; i += 2)
    out += char(std::stoi(std::string(hex + i, 2), nullptr, 16));
  return out;
}

// A Contacts record: phone labels (the shown phone in the top 4 bits), the
// first field-flag word, then the texts of the flagged fields; the second
// flag word holds only the note (bit 10) and the birthday (0800h) here.
std::string Contact(uint32_t phoneLabels, uint32_t fields, bool note, const std::vector<std::string>& texts,
                    const std::string& blobs, uint16_t birthday = 0) {
  std::string out;
  samples::Put32(out, phoneLabels);
  samples::Put16(out, 0x0010);  // address 1 at work, address 2 at home
  samples::Put16(out, 0x0001);  // IM 1 on AIM
  samples::Put32(out, fields);
  samples::Put32(out, (note ? 0x0400 : 0) | (birthday != 0 ? 0x0800 : 0));
  out += '\0';
  for (const std::string& text : texts) out += text + '\0';
  if (birthday != 0) samples::Put16(out, birthday);
  return out + blobs;
}

std::string PictureBlob(const std::string& image) {
  std::string out = "Bd00";
  samples::Put16(out, uint32_t(image.size() + 2));
  return out + std::string(2, '\0') + image;
}

}  // namespace

std::string FaceJpeg() { return Bytes(kFaceJpegHex); }

std::string ContactsFixture() {
  // Last and first name, company, title, phones 1-3 (Work, Mobile shown, E-mail), IM 1, the website, the
  // first address's street and city: bits 0-6, 11, 13, 23 and 24.
  const uint32_t all = 0x7F | 1u << 11 | 1u << 13 | 1u << 23 | 1u << 24;
  return Write({}, "DATA", "PAdd",
               {Contact(0x10000470, all, true,
                        {"Doe", "Jane", "Acme Corp.", "Engineer", "555-0100", "555-0199", "jane@example.com",
                         "janedoe", "www.example.com/jane", "1 Main St", "Springfield", "Met at the fair"},
                        PictureBlob(FaceJpeg()), (70 << 9) | (3 << 5) | 14),
                Contact(0, 0x3, false, {"Broken", "Bob"}, PictureBlob("GIF89a, no JPEG image")),
                Contact(0, 0x3, false, {"Blurred", "Bea"}, PictureBlob("\xFF\xD8\xFF\xE0 nothing decodable")),
                Contact(0, 0x4, false, {"Globex"}, "")});
}

namespace {

std::string Be16(unsigned value) { return {char(value >> 8), char(value & 0xFF)}; }
std::string Be32(uint32_t value) { return Be16(value >> 16) + Be16(value & 0xFFFF); }

}  // namespace

std::string NotePadFixture() {
  // A 152 x 140 drawing (rows of 160 bits) in runs: a black frame two pixels wide and a black square of
  // 40 x 40 at (56, 50); white elsewhere.
  std::string bits;
  for (unsigned y = 0; y < 140; ++y) {
    for (unsigned byte = 0; byte < 20; ++byte) {
      uint8_t value = 0;
      for (unsigned bit = 0; bit < 8; ++bit) {
        const unsigned x = byte * 8 + bit;
        const bool frame = x < 152 && (x < 2 || x >= 150 || y < 2 || y >= 138);
        const bool square = x >= 56 && x < 96 && y >= 50 && y < 90;
        if (frame || square) value |= uint8_t(0x80 >> bit);
      }
      bits += char(value);
    }
  }
  std::string runs;
  for (size_t i = 0; i < bits.size();) {
    size_t j = i;
    while (j < bits.size() && bits[j] == bits[i] && j - i < 255) ++j;
    runs += char(j - i);
    runs += bits[i];
    i = j;
  }
  std::string times;
  for (unsigned part : {12u, 34u, 9u, 29u, 2u, 2004u, 0u}) times += Be16(part);
  // Flags: a drawing and a title; the title padded to a word.
  const std::string note = times + times + Be16(0x0003) + "Square\0\0"s + Be32(uint32_t(runs.size()) + 24) +
                           Be32(152) + Be32(140) + Be32(1) + Be32(1) + Be32(uint32_t(runs.size())) + runs;
  return Write({}, "DATA", "npad", {note, times + times + Be16(0x0002) + "Words only\0\0"s});
}

std::string PhotoFixture() {
  // The face's JPEG file cut into two DBLK blocks, as a picture database of Photos holds it.
  const std::string jpeg = FaceJpeg();
  const size_t half = jpeg.size() / 2;
  const std::string first = jpeg.substr(0, half), second = jpeg.substr(half);
  return Write({}, "Foto", "Foto", {"DBLK" + Be32(uint32_t(first.size())) + first,
                                    "DBLK" + Be32(uint32_t(second.size())) + second});
}

const RecordFixture kRecordFixtures[4] = {
    {"Memo", MemoFixture, false}, {"Address", AddressFixture, false}, {"BeyondTheHexLimit", BigMemo, false},
    {"Application", ApplicationFixture, true},
};

}  // namespace corvelle::host
