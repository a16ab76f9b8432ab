// When filling the dump page must stop for memory: the rich-edit control
// takes some three hundred bytes of process memory per byte of report text,
// and a host whose process the control has filled dies at its own next large
// allocation. Free of Win32 so that the rules are checked natively.
#pragma once

#include <cstdint>
#include <optional>

namespace corvelle {

// What the process has, as the system reports it.
struct MemoryRoom {
    uint64_t totalVirtual = 0;       // the process's address space
    uint64_t availableVirtual = 0;   // of it, still free
    uint64_t availablePhysical = 0;  // memory
    uint64_t commit = 0;             // the process's commit charge; 0 where unknown
};

// The control's cost per byte of text until enough is shown to measure it
// (measured: 260 to 290 on Wine's control, 32- and 64-bit alike), rounded up.
constexpr uint64_t kFirstBytesPerReportByte = 300;
constexpr uint64_t kMeasuredAfterBytes = 1024 * 1024;
// A measure is never taken below this: memory the control takes back from
// earlier frees (a viewer closed before) costs the process nothing new, but
// says nothing about the pieces still to come.
constexpr uint64_t kLeastBytesPerReportByte = 100;

// What the process's used address space or commit charge, whichever grew
// more, grew by from `atStart` to `now`, per byte of the `shownSinceStart`
// bytes appended since; kept above the floors above.
uint64_t ControlBytesPerReportByte(const MemoryRoom& atStart, const MemoryRoom& now,
                                   uint64_t shownSinceStart);

// A process of up to this much address space (a 32-bit one, even one that may
// use 4 GB) must keep part of it free; a bigger (64-bit) one is bounded by
// physical memory alone.
constexpr uint64_t kBoundedAddressSpace = 4ull << 30;
// The free address space a bounded process keeps: the larger of 40 % of the
// total and 768 MB. The host, the clipboard and a second viewer need room of
// their own, and in one piece: with 160 MB kept a 2 GB process died at its
// next allocation of a few megabytes, scattered between the control's blocks;
// with about 800 MB kept a copy of the whole report, a second and a third
// viewer and a 64 MB block all still fit.
constexpr unsigned kKeptAddressSpacePercent = 40;
constexpr uint64_t kLeastKeptAddressSpace = 768ull << 20;
uint64_t AddressSpaceToKeep(uint64_t totalVirtual);
// Filling stops this much earlier still: the process's free address space
// does not fall evenly with the text but in steps, as the heap takes new
// blocks, and in a host that had opened other viewers before it fell up to
// 90 MB below where the last piece that fitted should have left it.
constexpr uint64_t kAddressSpaceAllowance = 128ull << 20;
// Physical memory that stays free after a piece, on every process.
constexpr uint64_t kPhysicalMarginBytes = 64ull << 20;
// How old the figures may be: Wine answers GlobalMemoryStatusEx from a
// snapshot it keeps for a second. A fill that has shown nothing yet and is
// told there is no room asks again once a figure this much younger than its
// start has come: a viewer opened just after a big one closed otherwise
// stopped at its first line, on figures from before the other let go.
constexpr double kMemoryFiguresAgeMs = 1100;

// How many bytes of text may still go in at `bytesPerByte`: their need leaves
// the address space to keep and the physical margin free in `room`, and, with
// a budget (bytes of process memory the report's text may take, for tests and
// small machines), the need of everything shown so far and theirs stays
// within it. Near the limit the pieces shrink to what fits, so that a cost
// measured a little low cannot carry the last piece far into the host's room.
uint64_t BytesThatFit(const MemoryRoom& room, std::optional<uint64_t> budget, uint64_t shownBytes,
                      uint64_t bytesPerByte);

// `room` as a process of `totalVirtual` bytes of address space that has used
// as much of it as `room` says.
MemoryRoom WithAddressSpace(MemoryRoom room, uint64_t totalVirtual);

// A number of megabytes in bytes, as the variables below give it: none when
// unset, empty, not a plain positive whole number, or too big to count.
std::optional<uint64_t> ParseMegabytes(const char* text);
// The budget, and the address space to reckon with in place of the process's
// own: both read on every fill, so that a test can set them around a ListLoad.
constexpr char kMemoryBudgetVariable[] = "CORVELLE_MEMORY_BUDGET_MB";
constexpr char kAddressSpaceVariable[] = "CORVELLE_ADDRESS_SPACE_MB";

}  // namespace corvelle
