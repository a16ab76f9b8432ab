// ListGetPreviewBitmap(W) as the file manager's thumbnail view calls them:
// the launcher icon, scaled by whole factors and drawn over the window
// colour, pixel for pixel what the engine decodes; nothing for a file
// without one.
#include "Harness.h"
#include "dump/LauncherIcon.h"
#include "tools/PalmWriter.h"

namespace corvelle::host {
namespace {

// The bitmap's pixels as 0x00RRGGBB, top row first, if it is side x side.
std::vector<COLORREF> SquarePixelsOf(HBITMAP bitmap, LONG side) {
  BITMAP info = {};
  GetObject(bitmap, sizeof(info), &info);
  if (info.bmWidth != side || info.bmHeight != side) return {};
  BITMAPINFO request = {};
  request.bmiHeader = {sizeof(BITMAPINFOHEADER), side, -side, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<COLORREF> pixels(static_cast<size_t>(side) * side);
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, bitmap, 0, side, pixels.data(), &request, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  DeleteObject(bitmap);
  return pixels;
}

TEST(PreviewBitmap, IsTheDecodedIconScaledOverTheWindowColourOrNothing) {
  const auto preview = PluginModule::Get().Entry<HBITMAP(__stdcall*)(char*, int, int, char*, int)>(
      "ListGetPreviewBitmap");
  ASSERT_NE(preview, nullptr);
  const auto of = [preview](std::string path, int width, int height) {  // a writable copy, as the host passes
    return preview(path.data(), width, height, nullptr, 0);
  };
  TempDir dir;
  const std::string app = dir.Write("Hello.prc", samples::SerializePalmDatabase(samples::ApplicationSample()));
  const std::string bytes = ReadFileBytes(app);
  const COLORREF window = GetSysColor(COLOR_WINDOW);
  // Box, and the side expected: 44-pixel double density twice, once, then 22-pixel 8 bits.
  const struct { int width, height; LONG side; } rows[] = {{96, 96, 88}, {200, 50, 44}, {43, 64, 22}, {16, 16, 16}};
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.width) + "x" + std::to_string(row.height));
    const std::vector<COLORREF> pixels = SquarePixelsOf(of(app, row.width, row.height), row.side);
    ASSERT_FALSE(pixels.empty()) << "no bitmap, or not " << row.side << " pixels square";
    IconImage icon;
    ASSERT_TRUE(DecodeLauncherIcon(reinterpret_cast<const uint8_t*>(bytes.data()),
                                   static_cast<uint32_t>(bytes.size()), row.width, row.height, icon));
    const IconImage expected = ScaleToFit(icon, row.width, row.height);
    for (size_t i = 0; i < pixels.size(); ++i) {
      const Rgba& p = expected.pixels[i];
      const COLORREF want = p.a == 0 ? window : RGB(p.r, p.g, p.b);
      ASSERT_EQ(pixels[i] & 0xFFFFFF, RGB(GetBValue(want), GetGValue(want), GetRValue(want))) << "pixel " << i;
    }
  }
  const std::string memos = dir.Write("Memos.pdb", samples::SerializePalmDatabase(samples::MemoSample()));
  for (const std::string& other : {memos, dir.Write("notes.txt", "text"), dir.PathOf("gone.prc")}) {
    EXPECT_EQ(of(other, 96, 96), nullptr) << other;
  }
  auto previewW = PluginModule::Get().Entry<HBITMAP(__stdcall*)(WCHAR*, int, int, char*, int)>(
      "ListGetPreviewBitmapW");
  ASSERT_NE(previewW, nullptr);
  std::wstring wide(app.begin(), app.end());
  EXPECT_EQ(SquarePixelsOf(previewW(wide.data(), 96, 96, nullptr, 0), 88).size(), 88u * 88u);
}

}  // namespace
}  // namespace corvelle::host
