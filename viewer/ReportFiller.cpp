#include "viewer/ReportFiller.h"

#include <algorithm>

#include "model/ReportFillPlan.h"
#include "viewer/SystemFigures.h"

namespace {

// Room for the note that ends a report cut for lack of memory.
constexpr size_t kNoteReserve = 512;

// Shows what arrived since the last repaint: text that came into view, and
// the scroll bars' new range.
void RepaintControl(const CRichEditControl& control, bool now = false) {
    ::RedrawWindow(control.GetSafeHwnd(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_FRAME | (now ? RDW_UPDATENOW : 0));
}

// Keeps the control from painting while the first text goes in. Wine's
// control ignores WM_SETREDRAW and paints all it holds during the insertion,
// which took most of ListLoad's time for a small report (on 32-bit Wine 40 of
// 70 ms). It paints nothing while WS_VISIBLE is clear, which is what
// DefWindowProc's own handling of WM_SETREDRAW does, without hiding the window
// or showing anything: the style comes back before ListLoad returns, and the
// control is painted from the host's loop as it would be anyway. (For the
// later pieces, which the filler already keeps from painting on its own
// schedule, it made no difference that the benchmark could tell.)
class UnpaintedInsertion {
public:
    explicit UnpaintedInsertion(HWND hWnd)
        : m_hWnd(hWnd),
          m_bHidden(hWnd != nullptr && (::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_VISIBLE) != 0) {
        if (m_bHidden) {
            ::DefWindowProcA(m_hWnd, WM_SETREDRAW, FALSE, 0);
        }
    }
    ~UnpaintedInsertion() {
        if (m_bHidden) {
            ::DefWindowProcA(m_hWnd, WM_SETREDRAW, TRUE, 0);
            ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
        }
    }
    UnpaintedInsertion(const UnpaintedInsertion&) = delete;
    UnpaintedInsertion& operator=(const UnpaintedInsertion&) = delete;

private:
    HWND m_hWnd;
    bool m_bHidden;
};

}  // namespace

size_t CFillSource::FirstPiece() const { return corvelle::kFirstPieceBytes; }

size_t CReportText::PieceEnd(size_t start, size_t wanted) const {
    return corvelle::PieceEnd(m_text, start, wanted);
}

namespace {

void PutAtCaret(CRichEditControl& control, const char* data, size_t size, bool streamed) {
    if (streamed) {
        control.ReplaceSelection(data, size);
    } else {
        control.InsertAtCaret(data, size);
    }
}

}  // namespace

void CReportText::Insert(CRichEditControl& control, size_t from, size_t to, bool streamed) {
    PutAtCaret(control, m_text.data() + from, to - from, streamed);
}

void CReportText::InsertMemoryNote(CRichEditControl& control, size_t shown, bool streamed) {
    const std::string note = corvelle::MemoryStopNote(shown, m_text.size());
    PutAtCaret(control, note.data(), note.size(), streamed);
}

CReportFiller::CReportFiller(CRichEditControl& control) : m_control(control), m_schedule(SystemFigures()) {
    m_control.m_beforeSelectionUse = [this] {
        if (!m_bOwnMessages) {
            ReturnSelection();
        }
    };
}

CReportFiller::~CReportFiller() { m_control.m_beforeSelectionUse = nullptr; }

// Keeps the control from painting and its view where the user had it while
// the filler works on it; the selection and scrolling the filler causes never
// show.
class CReportFiller::QuietEdit {
public:
    explicit QuietEdit(CReportFiller& filler)
        : m_filler(filler), m_hWnd(filler.m_control.GetSafeHwnd()) {
        m_filler.m_bOwnMessages = true;
        POINT scroll{};
        m_left = m_filler.m_control.GetScrollPosition(scroll) ? scroll.x : 0;
        m_down = m_filler.ScrolledDown();
        ::SendMessageA(m_hWnd, WM_SETREDRAW, FALSE, 0);
    }
    ~QuietEdit() {
        POINT scroll{};
        const LONG left = m_filler.m_control.GetScrollPosition(scroll) ? scroll.x : 0;
        if (m_filler.ScrolledDown() != m_down || left != m_left) {
            m_filler.m_control.SetScrollPosition(POINT{m_left, m_down});
        }
        ::SendMessageA(m_hWnd, WM_SETREDRAW, TRUE, 0);
        m_filler.m_bOwnMessages = false;
    }
    QuietEdit(const QuietEdit&) = delete;
    QuietEdit& operator=(const QuietEdit&) = delete;

private:
    CReportFiller& m_filler;
    HWND m_hWnd;
    LONG m_left = 0;
    LONG m_down = 0;
};

LONG CReportFiller::ScrolledDown() {
    POINTL top{};
    if (!m_control.CharPosition(0, top)) {
        return 0;
    }
    // While the scroll range still fits 16 bits, the control's own scroll
    // position is exact: it says where the first line stands unscrolled,
    // which later answers for a text of any height.
    SCROLLINFO range{};
    range.cbSize = sizeof(range);
    range.fMask = SIF_RANGE;
    POINT scroll{};
    if (::GetScrollInfo(m_control.GetSafeHwnd(), SB_VERT, &range) && range.nMax < 0xFFFF &&
        m_control.GetScrollPosition(scroll)) {
        m_textOrigin = top.y + scroll.y;
    }
    return m_textOrigin - top.y;
}

void CReportFiller::AppendAtEnd(const std::function<void(bool streamed)>& put) {
    QuietEdit quiet(*this);
    if (!m_bParked) {
        // Moving the caret across the whole text costs the control a pass
        // over all of it (it marks everything in between for painting); so
        // the caret stays at the end between pieces, and the user's selection
        // is kept here until the user or the host needs it.
        m_userSelection = m_control.GetSel();
        m_nUserTextLength = m_control.TextLength();
        m_control.SetSel(m_nUserTextLength, m_nUserTextLength);
        m_bParked = true;
    }
    // EM_REPLACESEL fills a report of 13 MB in well under half the time of
    // streaming on 64-bit Wine, whose stream-in walks the whole text per
    // piece. In a 32-bit process, though, it left 50 to 100 MB less address
    // space free at the memory stop (it hands the control each piece whole,
    // the stream in 4 KB steps), so there the pieces are streamed: that
    // process stops at a few megabytes anyway, and its room is what keeps
    // the host alive.
    put(m_schedule.StreamPieces());
}

void CReportFiller::Insert(const std::function<void(bool streamed)>& put) {
    if (m_nShown == 0) {
        // Into the empty control: the caret goes to the start, which also
        // shows the first line.
        UnpaintedInsertion unpainted(m_control.GetSafeHwnd());
        put(true);
        m_control.SetSel(0, 0);
    } else {
        AppendAtEnd(put);
    }
}

void CReportFiller::ReturnSelection() {
    if (!m_bParked) {
        return;
    }
    m_bParked = false;
    {
        QuietEdit quiet(*this);
        const CHARRANGE& sel = m_userSelection;
        // A selection of everything (the host's select-all) stays everything,
        // so that a copy still takes the whole report.
        if (corvelle::SelectsAllText(sel.cpMin, sel.cpMax, m_nUserTextLength)) {
            m_control.SetSel(0, -1);
        } else {
            m_control.SetSel(sel.cpMin, sel.cpMax);
        }
    }
    RepaintControl(m_control);
}

void CReportFiller::Start(CFillSource& source, HWND hTimerWindow) {
    m_timer.Reset();
    m_bParked = false;
    m_anchor.reset();
    m_hTimerWindow = hTimerWindow;
    m_pSource = &source;
    m_nShown = 0;
    m_bMemoryStop = false;
    m_schedule.Start(hTimerWindow != nullptr);

    // A source that reads its text as asked reads no more than tells whether
    // the text is short.
    source.Prepare(corvelle::kWholeReportBytes + 1);
    const bool whole = source.IsComplete() && source.Size() <= corvelle::kWholeReportBytes;
    m_nLimit = source.ExpectedSize() + kNoteReserve;
    m_control.LimitTextTo(m_nLimit);
    m_control.DisableUndo();
    // The new text replaces the old and takes its paragraph format; the caret
    // goes to the start, which also shows the first line.
    m_control.SetSel(0, -1);
    m_control.ReplaceSelection("", 0);
    const size_t first = whole ? source.Size() : source.FirstPiece();
    // A short text goes in whatever memory is left: it costs the process a
    // few megabytes at most, which the room kept for the host allows.
    if (AppendPiece(first, !whole) && !AllShown()) {
        if (hTimerWindow != nullptr &&
            ::SetTimer(hTimerWindow, kTimerId, USER_TIMER_MINIMUM, nullptr) != 0) {
            m_timer.Reset(corvelle::WindowTimer{hTimerWindow, kTimerId});
        } else {
            m_schedule.NoTimer();
            ShowUpTo(SIZE_MAX);  // no timer: the whole text now
        }
    }
    Notify();
}

void CReportFiller::Stop() {
    if (m_timer) {
        EndFilling();
        Notify();
    }
}

void CReportFiller::Refill(const std::function<bool()>& renewControl) {
    if (m_pSource == nullptr) {
        renewControl();
        return;
    }
    const bool wasOwn = m_bOwnMessages;
    m_bOwnMessages = true;  // reading what the user had gives nothing back yet
    const CHARRANGE selection = m_bParked ? m_userSelection : m_control.GetSel();
    const LONG length = m_bParked ? m_nUserTextLength : m_control.TextLength();
    const LRESULT firstInView = ::SendMessageA(m_control.GetSafeHwnd(), EM_LINEINDEX,
                                               static_cast<WPARAM>(m_control.FirstVisibleLine()), 0);
    m_bOwnMessages = wasOwn;
    if (!renewControl()) {
        return;
    }
    Start(*m_pSource, m_hTimerWindow);
    if (selection.cpMin != 0 || selection.cpMax != 0) {
        QuietEdit quiet(*this);
        m_userSelection = selection;
        m_nUserTextLength = length;
        const LONG end = m_control.TextLength();
        m_control.SetSel(end, end);
        m_bParked = true;
    }
    m_anchorScroll = ScrolledDown();
    // Scrolled to after a later piece: the first one went into a control
    // that was not drawing, whose scroll range is not yet set.
    if (firstInView > 0) {
        m_anchor = static_cast<size_t>(firstInView);
    }
}

void CReportFiller::ShowAnchorWhenIn() {
    if (!m_anchor || m_nShown <= *m_anchor) {
        return;
    }
    const size_t anchor = *m_anchor;
    m_anchor.reset();
    if (ScrolledDown() != m_anchorScroll) {
        return;  // the user has scrolled to a place of their own
    }
    // The filler's own scrolling: the parked selection stays parked.
    const bool wasOwn = m_bOwnMessages;
    m_bOwnMessages = true;
    POINTL at{};
    if (m_control.CharPosition(static_cast<LONG>(anchor), at)) {
        m_control.SetScrollPosition(POINT{0, ScrolledDown() + at.y - m_textOrigin});
    }
    m_bOwnMessages = wasOwn;
}

bool CReportFiller::OnTimer(UINT_PTR id) {
    if (id != kTimerId || !m_timer) {
        return false;
    }
    corvelle::FillEnvironment& clock = m_schedule.Environment();
    const double start = clock.NowMs();
    if (m_schedule.RepaintDue(start)) {
        // A tick of its own: a repaint and a piece together would hold the
        // host twice as long.
        RepaintControl(m_control, true);
        m_schedule.Repainted(start, clock.NowMs());
        return true;
    }
    const size_t before = m_nShown;
    if (AppendPiece(m_schedule.NextPiece())) {
        m_schedule.PieceTook(m_nShown - before, clock.NowMs() - start);
        if (AllShown()) {
            EndFilling();
        }
    }
    Notify();
    return true;
}

bool CReportFiller::ShowUpTo(size_t offset) {
    const bool wasArriving = IsArriving();
    while (m_pSource != nullptr && m_nShown < offset && !AllShown()) {
        const size_t before = m_nShown;
        if (!AppendPiece(corvelle::kLargestPieceBytes) || m_nShown == before) {
            break;
        }
    }
    if (wasArriving && AllShown()) {
        EndFilling();
    } else {
        RepaintControl(m_control);
    }
    if (wasArriving) {
        Notify();
    }
    return m_nShown >= offset;
}

bool CReportFiller::ControlHoldsWholeReport() const {
    return !IsArriving() && !m_bMemoryStop && AllShown();
}

bool CReportFiller::AllShown() const {
    return m_pSource == nullptr || (m_pSource->IsComplete() && m_nShown >= m_pSource->Size());
}

bool CReportFiller::AppendPiece(size_t wanted, bool mayStop) {
    if (m_pSource == nullptr || m_bMemoryStop) {
        return false;
    }
    CFillSource& source = *m_pSource;
    source.Prepare(m_nShown + wanted);
    size_t end = source.PieceEnd(m_nShown, wanted);
    if (end <= m_nShown) {
        return true;
    }
    if (mayStop) {
        const uint64_t fit = m_schedule.Fit(m_nShown);
        if (fit < end - m_nShown) {
            // What still fits, if a line of it does.
            end = fit > 0 ? source.PieceEnd(m_nShown, static_cast<size_t>(fit)) : m_nShown;
            if (end <= m_nShown || end - m_nShown > fit) {
                if (m_schedule.AwaitsYoungerFigures(m_nShown)) {
                    return true;
                }
                StopForMemory();
                return false;
            }
        }
    }
    if (end + kNoteReserve > m_nLimit) {
        // A source that reads as it goes may outgrow its guess.
        m_nLimit = std::max(end, source.ExpectedSize()) + kNoteReserve;
        m_control.LimitTextTo(m_nLimit);
    }
    const size_t from = m_nShown;
    Insert([&](bool streamed) { source.Insert(m_control, from, end, streamed); });
    m_nShown = end;
    ShowAnchorWhenIn();
    return true;
}

void CReportFiller::StopForMemory() {
    m_bMemoryStop = true;
    Insert([this](bool streamed) { m_pSource->InsertMemoryNote(m_control, m_nShown, streamed); });
    EndFilling();
}

void CReportFiller::EndFilling() {
    m_timer.Reset();
    ReturnSelection();
    RepaintControl(m_control);
}

void CReportFiller::Notify() {
    if (m_onProgress) {
        m_onProgress();
    }
}
