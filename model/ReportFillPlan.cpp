#include "model/ReportFillPlan.h"

#include <cinttypes>
#include <cstdio>
#include <limits>

namespace corvelle {

size_t PieceEnd(std::string_view text, size_t start, size_t wanted) {
    if (start >= text.size()) {
        return text.size();
    }
    const size_t left = text.size() - start;
    if (wanted >= left) {
        return text.size();
    }
    const size_t limit = start + (wanted > 0 ? wanted : 1);
    // The last line feed inside the span, searched backwards from its end.
    const size_t lastFeed = text.rfind('\n', limit - 1);
    if (lastFeed != std::string_view::npos && lastFeed >= start) {
        return lastFeed + 1;
    }
    const size_t nextFeed = text.find('\n', limit);
    return nextFeed == std::string_view::npos ? text.size() : nextFeed + 1;
}

size_t NextPieceBytes(size_t lastBytes, double lastMs) {
    double next = static_cast<double>(lastBytes);
    if (!(lastMs > 0.0)) {
        next *= 2.0;  // too quick to measure
    } else {
        const double scale = kPieceTargetMs / lastMs;
        next *= scale > 2.0 ? 2.0 : (scale < 0.5 ? 0.5 : scale);
    }
    if (next < static_cast<double>(kSmallestPieceBytes)) {
        return kSmallestPieceBytes;
    }
    if (next > static_cast<double>(kLargestPieceBytes)) {
        return kLargestPieceBytes;
    }
    return static_cast<size_t>(next);
}

double NextRepaintDelayMs(double lastRepaintMs) {
    const double delay = 4.0 * lastRepaintMs;
    return delay > kRepaintIntervalMs ? delay : kRepaintIntervalMs;
}

namespace {

// Whole percent of `part` in `whole`, rounded down; 0 for an empty whole.
unsigned PercentOf(uint64_t part, uint64_t whole) {
    if (whole == 0) {
        return 0;
    }
    if (part >= whole) {
        return 100;
    }
    const uint64_t limit = std::numeric_limits<uint64_t>::max() / 100;
    return static_cast<unsigned>(part <= limit ? part * 100 / whole : part / (whole / 100));
}

}  // namespace

std::string MemoryStopNote(uint64_t shownBytes, uint64_t totalBytes) {
    char line[200];
    std::snprintf(line, sizeof line,
                  "\r\n*** Not enough memory to show more: the first %" PRIu64 " of %" PRIu64
                  " bytes of the report are shown. corvelle-dump prints the whole report. ***\r\n",
                  shownBytes, totalBytes);
    return line;
}

std::string TextMemoryStopNote(uint64_t shownCharacters) {
    char line[200];
    std::snprintf(line, sizeof line,
                  "\r\n*** Not enough memory to show more: the first %" PRIu64
                  " characters of the text are shown. corvelle-dump --export text writes the whole text. ***\r\n",
                  shownCharacters);
    return line;
}

std::string ArrivingTabTitle(const std::string& title, uint64_t shownBytes, uint64_t totalBytes) {
    unsigned percent = PercentOf(shownBytes, totalBytes);
    if (percent > 99) {
        percent = 99;  // still arriving: never claim all of it
    }
    return title + " (" + std::to_string(percent) + "%)";
}

bool SelectsAllText(long cpMin, long cpMax, long length) {
    return length > 0 && cpMin <= 0 && (cpMax < 0 || cpMax >= length);
}

bool SelectionMeansWholeReport(long cpMin, long cpMax, long controlLength,
                               bool controlHoldsWholeReport) {
    return !controlHoldsWholeReport && SelectsAllText(cpMin, cpMax, controlLength);
}

}  // namespace corvelle
