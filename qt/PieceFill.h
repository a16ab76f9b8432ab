// Puts a long text into a page's text control without holding up the host:
// a text up to kWholeReportBytes goes in at once; a longer one shows its
// first screens at once and the rest arrives piece by piece from the host's
// event loop, each piece sized to take about kPieceTargetMs
// (model/ReportFillPlan.h). A 64-bit process needs no memory stop: the
// pieces only keep the host answering. The user's scroll position and
// selection stay where they are while text arrives.
#pragma once

#include <QTimer>

#include <cstddef>
#include <functional>

namespace corvelle::qt {

// What a fill puts in, piece by piece; positions in the source's bytes.
class FillSource {
public:
    virtual ~FillSource() = default;
    virtual size_t Size() const = 0;
    virtual bool IsComplete() const { return true; }
    // Makes at least `bytes` there, or all there will be.
    virtual void Prepare(size_t bytes) {}
    virtual size_t ExpectedSize() const { return Size(); }
    virtual size_t FirstPiece() const = 0;
    // Where the piece from `start` ends, at most about `wanted` on, at a
    // place the text may be cut.
    virtual size_t PieceEnd(size_t start, size_t wanted) const = 0;
    // Appends [from, to) at the end of the control's text.
    virtual void Append(size_t from, size_t to) = 0;
};

class PieceFill {
public:
    // `timerOwner` owns the timer that brings the later pieces.
    explicit PieceFill(QObject* timerOwner);

    // Starts filling from `source` (which outlives the fill).
    void Start(FillSource& source);
    // Appends pieces at once until at least `bytes` are shown.
    void ShowUpTo(size_t bytes);
    void ShowAll() { ShowUpTo(SIZE_MAX); }

    bool IsArriving() const { return m_timer.isActive(); }
    size_t Shown() const { return m_shown; }
    // The whole text's size, or while the source still reads it, a guess.
    size_t Total() const { return m_source != nullptr ? m_source->ExpectedSize() : 0; }
    bool AllShown() const;

    // After every piece, and when the fill ends.
    std::function<void()> m_onProgress;

private:
    void AppendPiece(size_t wanted);
    void OnTimer();

    QTimer m_timer;
    FillSource* m_source = nullptr;
    size_t m_shown = 0;
    size_t m_nextPiece = 0;
};

}  // namespace corvelle::qt
