#include "ResourceCounts.h"

#include <windows.h>

#include <cstdio>
#include <cstdint>

#include "WindowTree.h"

namespace corvelle::host {
namespace {

bool RunningOnWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

// Wine's GDI handle table entry (64-bit fields in both 32- and 64-bit
// processes); a live object has a nonzero type. Stock objects count too,
// which does not matter for differences.
struct WineGdiHandleEntry {
  uint64_t object;
  uint32_t owner;
  uint16_t unique;
  uint8_t type;
  uint8_t flags;
  uint64_t userPointer;
};
static_assert(sizeof(WineGdiHandleEntry) == 24, "Wine's GDI_HANDLE_ENTRY is 24 bytes");
constexpr int kWineGdiHandleCount = 0x10000;

const uint8_t* ProcessEnvironmentBlock() {
  using GetPebProc = void*(WINAPI*)();
  auto getPeb = reinterpret_cast<GetPebProc>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlGetCurrentPeb")));
  return getPeb ? static_cast<const uint8_t*>(getPeb()) : nullptr;
}

long CountWineGdiObjects() {
  // PEB::GdiSharedHandleTable.
  const uint8_t* peb = ProcessEnvironmentBlock();
  if (!peb) return -1;
#ifdef _WIN64
  auto* table = *reinterpret_cast<WineGdiHandleEntry* const*>(peb + 0xF8);
#else
  auto* table = *reinterpret_cast<WineGdiHandleEntry* const*>(peb + 0x94);
#endif
  if (!table) return -1;
  long count = 0;
  for (int i = 0; i < kWineGdiHandleCount; ++i) count += table[i].type != 0;
  return count;
}

// Kernel handles are small multiples of 4, handed out lowest first.
long CountHandlesByProbing() {
  long count = 0;
  for (uintptr_t value = 4; value < 0x8000; value += 4) {
    DWORD flags;
    count += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) != 0;
  }
  return count;
}

}  // namespace

ResourceCounts CurrentResourceCounts() {
  ResourceCounts counts;
  HANDLE process = GetCurrentProcess();
  DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
  DWORD user = GetGuiResources(process, GR_USEROBJECTS);
  DWORD handles = 0;
  BOOL haveHandles = GetProcessHandleCount(process, &handles);
  bool wine = RunningOnWine();
  counts.gdiObjects = gdi != 0 ? static_cast<long>(gdi) : (wine ? CountWineGdiObjects() : -1);
  counts.userObjects = user != 0 ? static_cast<long>(user) : -1;
  counts.kernelHandles = haveHandles && handles != 0 ? static_cast<long>(handles) : CountHandlesByProbing();
  counts.windows = static_cast<long>(ThreadWindows().size());
  return counts;
}

std::string Describe(const ResourceCounts& counts) {
  char text[160];
  std::snprintf(text, sizeof text, "GDI objects %ld, USER objects %ld, kernel handles %ld, windows %ld",
                counts.gdiObjects, counts.userObjects, counts.kernelHandles, counts.windows);
  return text;
}

double NowMilliseconds() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace corvelle::host
