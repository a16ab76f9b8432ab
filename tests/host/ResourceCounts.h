// What the process holds: GDI objects, USER objects, kernel handles and
// windows, to show that opening and closing viewers leaves nothing behind.
#pragma once

#include <string>

namespace corvelle::host {

struct ResourceCounts {
  long gdiObjects = -1;     // -1: the system cannot say
  long userObjects = -1;
  long kernelHandles = -1;
  long windows = 0;         // windows of this thread, top-level and children
};

// GetGuiResources and GetProcessHandleCount where the system implements
// them. Wine 8 answers 0 for both, so there the GDI objects are counted in
// Wine's GDI handle table and the handles by probing handle values.
ResourceCounts CurrentResourceCounts();
std::string Describe(const ResourceCounts& counts);

// A monotonic clock in milliseconds, for the printed timings.
double NowMilliseconds();

}  // namespace corvelle::host
