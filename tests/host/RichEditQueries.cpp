#include "RichEditQueries.h"

#include <cstring>

namespace corvelle::host {
namespace {

DWORD CALLBACK AppendStreamed(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* written) {
  reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer), count);
  *written = count;
  return 0;
}

}  // namespace

std::string ControlText(HWND control) {
  LRESULT length = SendMessageA(control, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  LRESULT copied = SendMessageA(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

std::string StreamedText(HWND control) {
  std::string text;
  EDITSTREAM stream = {};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(&text);
  stream.pfnCallback = &AppendStreamed;
  SendMessageA(control, EM_STREAMOUT, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
  return text;
}

CHARRANGE SelectionOf(HWND control) {
  CHARRANGE range = {-1, -1};
  SendMessageA(control, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  return range;
}

std::string SelectedText(HWND control) {
  CHARRANGE range = SelectionOf(control);
  if (range.cpMax <= range.cpMin) return std::string();
  // Room for every selected character even if line ends were counted as one.
  std::string text(static_cast<size_t>(range.cpMax - range.cpMin) * 2 + 1, '\0');
  LRESULT copied = SendMessageA(control, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

LRESULT CaretLine(HWND control) {
  CHARRANGE range = SelectionOf(control);
  return SendMessageA(control, EM_EXLINEFROMCHAR, 0, range.cpMax);
}

CHARFORMATA DefaultCharFormat(HWND control) {
  CHARFORMATA format;
  std::memset(&format, 0, sizeof format);
  format.cbSize = sizeof format;
  SendMessageA(control, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
  return format;
}

PARAFORMAT2 ParagraphFormat(HWND control) {
  PARAFORMAT2 format;
  std::memset(&format, 0, sizeof format);
  format.cbSize = sizeof format;
  SendMessageA(control, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
  return format;
}

LONG TabPosition(LONG rawTab) { return rawTab & 0x00FFFFFF; }

LRESULT DisplayLineCount(HWND control) { return SendMessageA(control, EM_GETLINECOUNT, 0, 0); }

LRESULT FirstVisibleLine(HWND control) { return SendMessageA(control, EM_GETFIRSTVISIBLELINE, 0, 0); }

bool ShowsHorizontalScrollBar(HWND control) {
  SCROLLBARINFO info = {};
  info.cbSize = sizeof info;
  if (!GetScrollBarInfo(control, OBJID_HSCROLL, &info)) return false;
  return (info.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)) == 0;
}

std::string ClipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return text;
  HANDLE data = GetClipboardData(CF_TEXT);
  if (data) {
    const char* locked = static_cast<const char*>(GlobalLock(data));
    if (locked) {
      SIZE_T size = GlobalSize(data);
      text.assign(locked, strnlen(locked, size));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

bool SetClipboardText(const std::string& text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  bool done = false;
  if (data) {
    char* locked = static_cast<char*>(GlobalLock(data));
    std::memcpy(locked, text.c_str(), text.size() + 1);
    GlobalUnlock(data);
    done = SetClipboardData(CF_TEXT, data) != nullptr;
    if (!done) GlobalFree(data);
  }
  CloseClipboard();
  return done;
}

}  // namespace corvelle::host
