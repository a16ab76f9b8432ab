#include "qt/PieceFill.h"

#include <QElapsedTimer>

#include "model/ReportFillPlan.h"

namespace corvelle::qt {

PieceFill::PieceFill(QObject* timerOwner) : m_timer(timerOwner) {
    // A zero interval runs once the host's loop has handled what waits: its
    // input and painting come first.
    m_timer.setInterval(0);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { OnTimer(); });
}

bool PieceFill::AllShown() const {
    return m_source == nullptr || (m_source->IsComplete() && m_shown >= m_source->Size());
}

void PieceFill::Start(FillSource& source) {
    m_timer.stop();
    m_source = &source;
    m_shown = 0;
    source.Prepare(kWholeReportBytes + 1);
    const bool whole = source.IsComplete() && source.Size() <= kWholeReportBytes;
    AppendPiece(whole ? source.Size() : source.FirstPiece());
    m_nextPiece = kSmallestPieceBytes;
    if (!AllShown()) m_timer.start();
    if (m_onProgress) m_onProgress();
}

void PieceFill::AppendPiece(size_t wanted) {
    m_source->Prepare(m_shown + wanted);
    const size_t end = m_source->PieceEnd(m_shown, wanted);
    if (end <= m_shown) return;
    m_source->Append(m_shown, end);
    m_shown = end;
}

void PieceFill::OnTimer() {
    if (m_source == nullptr || AllShown()) {
        m_timer.stop();
        return;
    }
    QElapsedTimer clock;
    clock.start();
    const size_t before = m_shown;
    AppendPiece(m_nextPiece);
    m_nextPiece = NextPieceBytes(m_shown - before, static_cast<double>(clock.nsecsElapsed()) / 1e6);
    if (AllShown()) m_timer.stop();
    if (m_onProgress) m_onProgress();
}

void PieceFill::ShowUpTo(size_t bytes) {
    if (m_source == nullptr) return;
    while (m_shown < bytes && !AllShown()) {
        const size_t before = m_shown;
        AppendPiece(kLargestPieceBytes);
        if (m_shown == before) break;
    }
    if (AllShown()) m_timer.stop();
    if (m_onProgress) m_onProgress();
}

}  // namespace corvelle::qt
