// The Records page's tests: databases written with the sample writer (each
// decoder's text is the engine's and is tested there; these are the kinds the
// page itself treats apart), and the page's parts as the host finds them.
#pragma once

#include <string>

#include "Harness.h"
#include "dump/DatabaseModel.h"
#include "tools/fixtures/PictureSamples.h"

namespace corvelle::host {

struct RecordFixture {
  const char* name;  // also the file's name, with .pdb or .prc
  std::string (*bytes)();
  bool resources;
};

extern const RecordFixture kRecordFixtures[4];  // Memo, Address (for vCard), a long memo, Hello.prc
std::string MemoFixture(), AddressFixture(), ApplicationFixture();
using samples::ContactsFixture;
using samples::FaceJpeg;
using samples::NotePadFixture;
using samples::PhotoFixture;

// A file's bytes and the model over them, as the command line builds it.
struct ModelledFile {
  std::string bytes;
  DatabaseModel model{reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()};
};

struct RecordsParts {
  HWND page = nullptr, list = nullptr, pane = nullptr, picture = nullptr;
};
// Ctrl+3 from the report, then the page that holds the list (1060), the
// pane (1061) and the picture (1062).
RecordsParts ShowRecords(const ViewerParts& viewer, bool timersToo = true);
// Only these rows selected, the last one focused; then a pump.
void SelectRows(HWND list, std::initializer_list<int> rows);
// The colour of the shown picture's pixel (x, y), from the DIB section the control holds; and whether a colour
// is within JPEG's error of (r, g, b).
COLORREF ShownPixel(HBITMAP bitmap, int x, int y);
bool NearColour(COLORREF got, int r, int g, int b);

}  // namespace corvelle::host
