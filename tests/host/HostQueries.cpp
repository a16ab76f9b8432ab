// Reading windows, controls, the clipboard and the process from outside.
#include <cstdio>
#include <cstring>

#include "Harness.h"

namespace corvelle::host {
namespace {

BOOL CALLBACK Collect(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// Wine's GDI handle table: 0x10000 entries of 24 bytes; a live object has a
// nonzero type in byte 14 of its entry and the upper half of its handle in
// bytes 12 and 13. The 64-bit Wine publishes it in the PEB
// (GdiSharedHandleTable); the 32-bit one leaves that field empty, so there it
// is the one block of memory that big whose entry for a fresh memory DC
// fits that DC.
constexpr size_t kGdiEntries = 0x10000, kGdiEntryBytes = 24;

const uint8_t* FindWineGdiTable() {
  auto getPeb = reinterpret_cast<const uint8_t*(WINAPI*)()>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlGetCurrentPeb")));
  if (!getPeb || !GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")) return nullptr;
  if (auto* table = *reinterpret_cast<const uint8_t* const*>(getPeb() + (sizeof(void*) == 8 ? 0xF8 : 0x94))) {
    return table;
  }
  HDC probe = CreateCompatibleDC(nullptr);
  const uintptr_t handle = reinterpret_cast<uintptr_t>(probe);
  const uint8_t* found = nullptr;
  MEMORY_BASIC_INFORMATION info;
  for (const uint8_t* at = nullptr; probe && !found && VirtualQuery(at, &info, sizeof info);
       at = static_cast<const uint8_t*>(info.BaseAddress) + info.RegionSize) {
    if (info.State != MEM_COMMIT || info.RegionSize < kGdiEntries * kGdiEntryBytes ||
        (info.Protect & (PAGE_NOACCESS | PAGE_GUARD))) {
      continue;
    }
    const uint8_t* entry = static_cast<const uint8_t*>(info.BaseAddress) + (handle & 0xFFFF) * kGdiEntryBytes;
    if (entry[14] != 0 && static_cast<uintptr_t>(entry[12] | entry[13] << 8) == ((handle >> 16) & 0xFFFF)) {
      found = static_cast<const uint8_t*>(info.BaseAddress);
    }
  }
  if (probe) DeleteDC(probe);
  return found;
}

long CountWineGdiObjects() {
  static const uint8_t* const table = FindWineGdiTable();
  long count = 0;
  for (size_t i = 0; table && i < kGdiEntries; ++i) count += table[i * kGdiEntryBytes + 14] != 0;
  return table ? count : -1;
}

HWND FindChild(HWND parent, const char* className, int controlId = -1) {
  for (HWND child : ChildrenOf(parent)) {
    if (lstrcmpiA(ClassNameOf(child).c_str(), className) == 0 &&
        (controlId == -1 || GetWindowLongPtrA(child, GWLP_ID) == controlId)) {
      return child;
    }
  }
  return nullptr;
}

}  // namespace

std::string ClassNameOf(HWND window) {
  char name[256] = {};
  int length = GetClassNameA(window, name, sizeof name);
  return std::string(name, length > 0 ? length : 0);
}

std::string TextOf(HWND window) {
  char text[512] = {};
  LRESULT length = SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

std::vector<HWND> ChildrenOf(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

std::vector<HWND> DescendantsOf(HWND root) {
  std::vector<HWND> all;
  for (HWND child : ChildrenOf(root)) {
    all.push_back(child);
    for (HWND below : DescendantsOf(child)) all.push_back(below);
  }
  return all;
}

std::vector<HWND> ThreadWindows() {
  std::vector<HWND> tops, all;
  EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(&tops));
  for (HWND top : tops) {
    all.push_back(top);
    for (HWND below : DescendantsOf(top)) all.push_back(below);
  }
  return all;
}

ViewerParts FindViewerParts(HWND frame) {
  ViewerParts parts;
  if (!frame || !IsWindow(frame)) return parts;
  parts.frame = frame;
  parts.sheet = FindChild(frame, "#32770");
  if (!parts.sheet) return parts;
  parts.tabControl = FindChild(parts.sheet, WC_TABCONTROLA);
  for (HWND page : PagesOf(parts.sheet)) {
    if (HWND control = FindChild(page, "RICHEDIT", 1051)) {
      parts.dumpPage = page;
      parts.dumpControl = control;
    }
  }
  return parts;
}

std::vector<HWND> PagesOf(HWND sheet) {
  std::vector<HWND> pages;
  for (HWND child : ChildrenOf(sheet)) {
    if (ClassNameOf(child) == "#32770") pages.push_back(child);
  }
  return pages;
}

HWND VisiblePage(HWND sheet) {
  for (HWND page : PagesOf(sheet)) {
    if (IsWindowVisible(page)) return page;
  }
  return nullptr;
}

std::vector<std::string> TabTitles(HWND tabControl) {
  std::vector<std::string> titles;
  for (int i = 0; i < TabCtrl_GetItemCount(tabControl); ++i) {
    char text[256] = {};
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(tabControl, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
    titles.emplace_back(text);
  }
  return titles;
}

RECT RectIn(HWND window, HWND reference) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  if (reference) MapWindowPoints(HWND_DESKTOP, reference, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

RECT ClientRectOf(HWND window) {
  RECT rect = {};
  GetClientRect(window, &rect);
  return rect;
}

std::string ToString(const RECT& r) {
  char text[80];
  std::snprintf(text, sizeof text, "(%ld, %ld, %ld, %ld)", static_cast<long>(r.left), static_cast<long>(r.top),
                static_cast<long>(r.right), static_cast<long>(r.bottom));
  return text;
}

std::string ControlText(HWND control) {
  LRESULT length = SendMessageA(control, WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
  LRESULT copied = SendMessageA(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

CHARRANGE SelectionOf(HWND control) {
  CHARRANGE range = {-1, -1};
  SendMessageA(control, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  return range;
}

CHARFORMATA DefaultCharFormat(HWND control) {
  CHARFORMATA format{};
  format.cbSize = sizeof format;
  SendMessageA(control, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
  return format;
}

PARAFORMAT2 ParagraphFormat(HWND control) {
  PARAFORMAT2 format{};
  format.cbSize = sizeof format;
  SendMessageA(control, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
  return format;
}

std::vector<LONG> TabStopsOf(const PARAFORMAT2& format) {
  std::vector<LONG> tabs;
  for (int i = 0; i < format.cTabCount && i < MAX_TAB_STOPS; ++i) tabs.push_back(format.rgxTabs[i] & 0x00FFFFFF);
  return tabs;
}

bool ShowsHorizontalScrollBar(HWND control) {
  SCROLLBARINFO info = {};
  info.cbSize = sizeof info;
  return GetScrollBarInfo(control, OBJID_HSCROLL, &info) &&
         (info.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)) == 0;
}

LONG WidestLineWidth(HWND control) {
  const auto xAt = [control](LRESULT character) {
    POINTL at = {};
    SendMessageA(control, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), character);
    return at.x;
  };
  LONG widest = 0;
  for (LRESULT line = 0, lines = DisplayLineCount(control); line < lines; ++line) {
    const LRESULT start = SendMessageA(control, EM_LINEINDEX, line, 0);
    const LRESULT length = SendMessageA(control, EM_LINELENGTH, start, 0);
    widest = std::max(widest, xAt(start + length) - xAt(start));
  }
  return widest;
}

std::string ClipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* locked = static_cast<const char*>(GlobalLock(data))) {
      text.assign(locked, strnlen(locked, GlobalSize(data)));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void EmptyClipboardText() {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  CloseClipboard();
}

void PutClipboardText(const std::string& text) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (memory == nullptr) return;
  memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
  GlobalUnlock(memory);
  if (!OpenClipboard(nullptr)) {
    GlobalFree(memory);
    return;
  }
  EmptyClipboard();
  if (SetClipboardData(CF_TEXT, memory) == nullptr) GlobalFree(memory);
  CloseClipboard();
}

PatchedImport::PatchedImport(HMODULE module, const char* dll, const char* function, void* replacement) {
  auto* base = reinterpret_cast<BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (imports.VirtualAddress == 0) return;
  for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); entry->Name != 0;
       ++entry) {
    const bool wanted = _stricmp(reinterpret_cast<const char*>(base + entry->Name), dll) == 0;
    if (!wanted || entry->OriginalFirstThunk == 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
      m_slot = reinterpret_cast<void**>(&slots->u1.Function);
      m_original = Swap(replacement);
      return;
    }
  }
}

PatchedImport::~PatchedImport() {
  if (m_slot != nullptr) Swap(m_original);
}

void* PatchedImport::Swap(void* value) {
  DWORD protection = 0;
  VirtualProtect(m_slot, sizeof(void*), PAGE_READWRITE, &protection);
  void* old = *m_slot;
  *m_slot = value;
  VirtualProtect(m_slot, sizeof(void*), protection, &protection);
  return old;
}

static MEMORYSTATUSEX MemoryStatus() {
  MEMORYSTATUSEX status = {};
  status.dwLength = sizeof status;
  GlobalMemoryStatusEx(&status);
  return status;
}

uint64_t UsedAddressSpace() {
  Sleep(1100);
  const MEMORYSTATUSEX status = MemoryStatus();  // one snapshot for both figures
  return status.ullTotalVirtual - status.ullAvailVirtual;
}
uint64_t WholeAddressSpace() { return MemoryStatus().ullTotalVirtual; }

ResourceCounts CurrentResourceCounts() {
  ResourceCounts counts;
  HANDLE process = GetCurrentProcess();
  DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
  DWORD user = GetGuiResources(process, GR_USEROBJECTS);
  DWORD handles = 0;
  counts.gdiObjects = gdi ? static_cast<long>(gdi) : CountWineGdiObjects();
  counts.userObjects = user ? static_cast<long>(user) : -1;
  if (GetProcessHandleCount(process, &handles) && handles) {
    counts.kernelHandles = static_cast<long>(handles);
  } else {
    // Kernel handles are small multiples of 4, handed out lowest first.
    counts.kernelHandles = 0;
    for (uintptr_t value = 4; value < 0x8000; value += 4) {
      DWORD flags;
      counts.kernelHandles += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) != 0;
    }
  }
  counts.windows = static_cast<long>(ThreadWindows().size());
  return counts;
}

}  // namespace corvelle::host
