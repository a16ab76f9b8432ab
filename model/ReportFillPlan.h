// How the dump page puts a report into its rich-edit control without holding
// up the host: where a piece of the text ends, how big the next piece may be,
// whether the process has the memory for it, and what the page says meanwhile.
// Free of Win32 so that the decisions are checked natively.
//
// The control takes a report in seconds to minutes and needs some three
// hundred bytes of process memory per byte of text, so a big report goes in
// piece by piece from the host's own message loop, and filling stops (with a
// note) before the control could leave the host too little memory
// (model/MemoryStop.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvelle {

// A report up to this size goes into the control whole, before ListLoad
// returns: the control takes it within a few tens of milliseconds.
constexpr size_t kWholeReportBytes = 32 * 1024;
// The first piece of a bigger report: several screens, so that the viewer
// shows a full page at once.
constexpr size_t kFirstPieceBytes = 16 * 1024;
// How long one piece should hold the host's thread, in milliseconds.
constexpr double kPieceTargetMs = 30.0;
// Pieces never get smaller than this: on Wine every append also costs the
// control some tens of milliseconds whatever its size once it holds some
// megabytes, and much smaller pieces would spend their time on that alone.
constexpr size_t kSmallestPieceBytes = 16 * 1024;
constexpr size_t kLargestPieceBytes = 512 * 1024;

// How often the control is repainted while text arrives, in milliseconds: a
// repaint of a control holding megabytes costs about as much as a piece, so
// not after every piece, and the more it costs the rarer it gets.
constexpr double kRepaintIntervalMs = 250.0;
double NextRepaintDelayMs(double lastRepaintMs);

// Where the piece that starts at `start` ends: at most `wanted` bytes on, just
// after the last line feed in that span, so that no line (and no CR LF) is
// split. A span without a line feed runs on to the next one, or to the end of
// the text. Never beyond the text; `start` itself at or past the end gives
// the text's size.
size_t PieceEnd(std::string_view text, size_t start, size_t wanted);

// The size of the next piece after one of `lastBytes` took `lastMs`: scaled
// towards kPieceTargetMs, but never more than doubled or halved at a time
// (one slow or fast piece must not swing the size far), and kept between
// kSmallestPieceBytes and kLargestPieceBytes.
size_t NextPieceBytes(size_t lastBytes, double lastMs);

// The line that ends the shown text when filling stopped for lack of memory.
// It starts on a line of its own and ends with CR LF.
std::string MemoryStopNote(uint64_t shownBytes, uint64_t totalBytes);
// The same for the Text page, whose text is read as it is shown: how many
// characters (UTF-16 code units, a line end counting two) are shown.
std::string TextMemoryStopNote(uint64_t shownCharacters);

// The page's tab title while the report is still arriving: `title` with how
// much is shown, as a whole percentage below 100.
std::string ArrivingTabTitle(const std::string& title, uint64_t shownBytes, uint64_t totalBytes);

// Whether the selection [cpMin, cpMax) covers all of a non-empty text of
// `length` characters (a cpMax of -1 stands for its end): the host's
// select-all.
bool SelectsAllText(long cpMin, long cpMax, long length);

// Whether a copy of the selection [cpMin, cpMax) of a control that holds
// `controlLength` characters means the whole report: it covers the whole
// control (a cpMax of -1 stands for its end) while the control does not hold
// the report exactly (still arriving, or cut for memory).
bool SelectionMeansWholeReport(long cpMin, long cpMax, long controlLength,
                               bool controlHoldsWholeReport);

}  // namespace corvelle
