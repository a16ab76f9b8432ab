#include "model/FillSchedule.h"

#include "model/ReportFillPlan.h"

namespace corvelle {

void FillSchedule::Start(bool asksAgain) {
    // Read on every fill, so that a test can set them around one ListLoad.
    m_budget = m_environment.Megabytes(kMemoryBudgetVariable);
    m_addressSpace = m_environment.Megabytes(kAddressSpaceVariable);
    m_atStart = m_environment.Memory();
    m_startMs = m_environment.NowMs();
    m_asksAgain = asksAgain;
    const uint64_t totalVirtual = m_addressSpace ? *m_addressSpace : m_atStart.totalVirtual;
    m_streamPieces = AddressSpaceToKeep(totalVirtual) > 0;
    m_nextPiece = kFirstPieceBytes;
    m_nextRepaintMs = m_startMs + kRepaintIntervalMs;
}

uint64_t FillSchedule::Fit(size_t shown) {
    MemoryRoom room = m_environment.Memory();
    if (shown == 0) m_atStart = room;  // the youngest figures from before the first piece
    const uint64_t bytesPerByte = ControlBytesPerReportByte(m_atStart, room, shown);
    if (m_addressSpace) room = WithAddressSpace(room, *m_addressSpace);
    return BytesThatFit(room, m_budget, shown, bytesPerByte);
}

bool FillSchedule::AwaitsYoungerFigures(size_t shown) {
    return shown == 0 && m_asksAgain && m_environment.NowMs() - m_startMs < kMemoryFiguresAgeMs;
}

void FillSchedule::PieceTook(size_t units, double ms) { m_nextPiece = NextPieceBytes(units, ms); }

void FillSchedule::Repainted(double startMs, double endMs) {
    m_nextRepaintMs = endMs + NextRepaintDelayMs(endMs - startMs);
}

}  // namespace corvelle
