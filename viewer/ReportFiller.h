// CReportFiller: puts the report into the dump page's rich-edit control. A
// short report goes in at once; a longer one shows its first screens at once
// and the rest arrives piece by piece from the host's own message loop, on a
// timer of the page, so that the host's keys, commands and painting are
// handled between pieces. The user's caret, selection and scroll position
// stay where they are while text arrives: between pieces the control's own
// caret waits at the end of the text, and the user's selection is put back
// before anything can see or use it. Before every piece of a long report the
// process's free memory is checked against what the control has been seen to
// take so far; when the next piece would leave the host too little, filling
// stops and a note says how much is shown. See viewer/ReportFillPlan.h and
// viewer/MemoryStop.h for the numbers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "viewer/MemoryStop.h"
#include "viewer/RichEditControl.h"
#include "viewer/UniqueHandle.h"

namespace corvelle {

// A window's timer, killed when its owner goes. KillTimer on a window that
// is already destroyed only fails: its timers went with it.
struct WindowTimer {
    HWND hWnd = nullptr;
    UINT_PTR id = 0;
    bool operator==(const WindowTimer& other) const {
        return hWnd == other.hWnd && id == other.id;
    }
    bool operator!=(const WindowTimer& other) const { return !(*this == other); }
};
struct WindowTimerTraits {
    using Handle = WindowTimer;
    static Handle Invalid() noexcept { return WindowTimer{}; }
    static void Close(Handle timer) noexcept { ::KillTimer(timer.hWnd, timer.id); }
};
using UniqueTimer = UniqueHandle<WindowTimerTraits>;

}  // namespace corvelle

class CReportFiller {
public:
    // The timer id the filler uses on the window given to Start.
    static constexpr UINT_PTR kTimerId = 0x434F5246;  // "CORF"

    explicit CReportFiller(CRichEditControl& control);
    ~CReportFiller();
    CReportFiller(const CReportFiller&) = delete;
    CReportFiller& operator=(const CReportFiller&) = delete;

    // Replaces the control's text by `text`, which the caller keeps alive and
    // unchanged until the filler is stopped or destroyed. Pieces after the
    // first arrive on WM_TIMER of `hTimerWindow`, which passes them to
    // OnTimer. The caret ends at the start of the text.
    void Start(const std::string& text, HWND hTimerWindow);
    // Ends filling where it is; what is shown stays.
    void Stop();
    // Appends the next piece when `id` is the filler's timer; false for a
    // timer that is not the filler's.
    bool OnTimer(UINT_PTR id);
    // Appends pieces at once until at least `offset` bytes of the report are
    // shown; false when memory does not allow that many.
    bool ShowUpTo(size_t offset);

    bool IsArriving() const { return static_cast<bool>(m_timer); }
    // The control holds exactly the report, nothing less and no note.
    bool ControlHoldsWholeReport() const;
    size_t ShownBytes() const { return m_nShown; }
    size_t TotalBytes() const { return m_pText != nullptr ? m_pText->size() : 0; }

    // Called after every piece that changes what is shown, and when filling
    // ends (complete, stopped for memory, or stopped).
    std::function<void()> m_onProgress;

private:
    class QuietEdit;

    // Appends up to `wanted` bytes, cut at a line end; false when memory
    // stopped it (which only a piece that `mayStop` can do). True with
    // nothing appended while the first piece waits for younger figures.
    bool AppendPiece(size_t wanted, bool mayStop = true);
    // Whether a stop for memory before anything is shown waits instead: the
    // figures may predate the fill's start, and the timer asks again.
    bool StopAwaitsYoungerFigures() const;
    // The first text into the empty control, or what follows at its end.
    void Insert(const char* data, size_t size);
    // Inserts at the end of the control's text, the caret parked there.
    void AppendAtEnd(const char* data, size_t size);
    // Puts the user's selection back in place of the parked caret.
    void ReturnSelection();
    void StopForMemory();
    void EndFilling();
    void Notify();

    CRichEditControl& m_control;
    const std::string* m_pText = nullptr;
    size_t m_nShown = 0;
    size_t m_nNextPiece = 0;
    bool m_bMemoryStop = false;
    double m_nextRepaintMs = 0;
    // The caret is parked at the end of the text; m_userSelection is what
    // the user had, in a text of m_nUserTextLength characters.
    bool m_bParked = false;
    CHARRANGE m_userSelection{};
    LONG m_nUserTextLength = 0;
    bool m_bOwnMessages = false;  // the filler itself is talking to the control
    std::optional<uint64_t> m_budget;
    std::optional<uint64_t> m_addressSpace;  // reckoned with in place of the process's own
    corvelle::MemoryRoom m_memoryAtStart;     // what the control's cost is measured from
    double m_startMs = 0;                     // when Start began
    bool m_bTimerAsksAgain = false;           // a later tick brings the next piece
    // Pieces are streamed in, at the cost of a walk over the text per piece,
    // in a process whose address space is bounded (see AppendAtEnd).
    bool m_bStreamPieces = true;
    corvelle::UniqueTimer m_timer;
};
