// When and how much of a long text a page's control takes at a time: the
// size of the next piece, when to repaint, and how much the process's memory
// still lets in (model/MemoryStop.h). The figures come from an environment
// that each front end gives (the system's memory counters and clock, the
// test variables), so that the decisions are one and are tested with figures
// of the tests' own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "model/MemoryStop.h"

namespace corvelle {

class FillEnvironment {
public:
    virtual ~FillEnvironment() = default;
    // The process's memory now; all zero where the system cannot say (no room).
    virtual MemoryRoom Memory() = 0;
    // A steady clock, in milliseconds.
    virtual double NowMs() = 0;
    // The environment variable `name` as megabytes (ParseMegabytes); none when unset.
    virtual std::optional<uint64_t> Megabytes(const char* name) = 0;
};

class FillSchedule {
public:
    explicit FillSchedule(FillEnvironment& environment) : m_environment(environment) {}

    // A new fill: the limits and the figures at its start are read now.
    // `asksAgain`: later pieces come from a timer, which may ask again.
    void Start(bool asksAgain);
    // No timer after all: nothing asks again.
    void NoTimer() { m_asksAgain = false; }

    // Whether the pieces are streamed in: a process whose address space is
    // bounded keeps its room that way (see CReportFiller::AppendAtEnd).
    bool StreamPieces() const { return m_streamPieces; }
    // How many units the next piece on the timer should have.
    size_t NextPiece() const { return m_nextPiece; }

    // How many units may still go in after `shown`, as memory stands now.
    // The first ask (nothing shown) also takes the figures the control's
    // cost is measured from.
    uint64_t Fit(size_t shown);
    // Whether a fill that fits nothing before anything is shown waits for
    // younger figures rather than stopping: those it has may predate it.
    bool AwaitsYoungerFigures(size_t shown);

    // A piece of `units` went in in `ms`: the next one is sized from it.
    void PieceTook(size_t units, double ms);
    // Whether a repaint is due at `nowMs`, and that one that started then
    // has ended at `endMs`.
    bool RepaintDue(double nowMs) const { return nowMs >= m_nextRepaintMs; }
    void Repainted(double startMs, double endMs);

    FillEnvironment& Environment() { return m_environment; }

private:
    FillEnvironment& m_environment;
    std::optional<uint64_t> m_budget;
    std::optional<uint64_t> m_addressSpace;  // reckoned with in place of the process's own
    MemoryRoom m_atStart;                    // what the control's cost is measured from
    double m_startMs = 0;
    double m_nextRepaintMs = 0;
    size_t m_nextPiece = 0;
    bool m_asksAgain = false;
    bool m_streamPieces = true;
};

}  // namespace corvelle
