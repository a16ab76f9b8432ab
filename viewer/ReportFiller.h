// CReportFiller: puts a text into a page's rich-edit control: the dump page's
// report, or the Text page's document (CFillSource says what and how). A
// short text goes in at once; a longer one shows its first screens at once
// and the rest arrives piece by piece from the host's own message loop, on a
// timer of the page, so that the host's keys, commands and painting are
// handled between pieces. The user's caret, selection and scroll position
// stay where they are while text arrives: between pieces the control's own
// caret waits at the end of the text, and the user's selection is put back
// before anything can see or use it. Before every piece of a long report the
// process's free memory is checked against what the control has been seen to
// take so far; when the next piece would leave the host too little, filling
// stops and a note says how much is shown. See model/ReportFillPlan.h and
// model/MemoryStop.h for the numbers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "model/FillSchedule.h"
#include "viewer/RichEditControl.h"
#include "base/UniqueHandle.h"

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

// What a filler puts into its control, piece by piece. Positions count the
// source's units (the report's bytes, the document's UTF-16 code units); a
// source may have all its text from the start or read it as it is asked for.
class CFillSource {
public:
    virtual ~CFillSource() = default;
    // Units there to be shown now.
    virtual size_t Size() const = 0;
    // Whether Size() is all there will be.
    virtual bool IsComplete() const { return true; }
    // Makes at least `units` there, or all there will be.
    virtual void Prepare(size_t units) {}
    // What the tab's percentage is taken of: Size() once complete, a guess before.
    virtual size_t ExpectedSize() const { return Size(); }
    // The first piece of a text too long to go in at once: its first screens.
    virtual size_t FirstPiece() const;
    // Where the piece that starts at `start` ends, at most about `wanted` on,
    // at a place the text may be cut; never beyond Size().
    virtual size_t PieceEnd(size_t start, size_t wanted) const = 0;
    // Puts [from, to) in at the control's caret; `streamed` says how (see
    // CReportFiller::AppendAtEnd).
    virtual void Insert(CRichEditControl& control, size_t from, size_t to, bool streamed) = 0;
    // Puts in the line that ends a text cut short for memory after `shown`
    // units, on a line of its own.
    virtual void InsertMemoryNote(CRichEditControl& control, size_t shown, bool streamed) = 0;
};

// The dump page's report: the ANSI code page's bytes with CR LF line ends,
// all there from the start; pieces are cut after a line end.
class CReportText final : public CFillSource {
public:
    // The text must stay alive and unchanged while a filler fills it.
    explicit CReportText(const std::string& text) : m_text(text) {}
    size_t Size() const override { return m_text.size(); }
    size_t PieceEnd(size_t start, size_t wanted) const override;
    void Insert(CRichEditControl& control, size_t from, size_t to, bool streamed) override;
    void InsertMemoryNote(CRichEditControl& control, size_t shown, bool streamed) override;

private:
    const std::string& m_text;
};

class CReportFiller {
public:
    // The timer id the filler uses on the window given to Start.
    static constexpr UINT_PTR kTimerId = 0x434F5246;  // "CORF"

    explicit CReportFiller(CRichEditControl& control);
    ~CReportFiller();
    CReportFiller(const CReportFiller&) = delete;
    CReportFiller& operator=(const CReportFiller&) = delete;

    // Replaces the control's text by the source's, which the caller keeps
    // alive until the filler is stopped or destroyed. Pieces after the first
    // arrive on WM_TIMER of `hTimerWindow`, which passes them to OnTimer. The
    // caret ends at the start of the text.
    void Start(CFillSource& source, HWND hTimerWindow);
    // Ends filling where it is; what is shown stays.
    void Stop();
    // Fills again, from the start, a control that `renewControl` has made
    // fresh and empty (false: it could not, and nothing changes), keeping
    // what the user had: the selection, given back when the user or the
    // host needs it, and the first line in view, scrolled to once the text
    // has come back that far (unless the user has scrolled meanwhile).
    void Refill(const std::function<bool()>& renewControl);
    // Appends the next piece when `id` is the filler's timer; false for a
    // timer that is not the filler's.
    bool OnTimer(UINT_PTR id);
    // Appends pieces at once until at least `offset` units of the text are
    // shown; false when memory does not allow that many.
    bool ShowUpTo(size_t offset);

    bool IsArriving() const { return static_cast<bool>(m_timer); }
    // The control holds exactly the source's whole text, nothing less and no note.
    bool ControlHoldsWholeReport() const;
    size_t ShownBytes() const { return m_nShown; }
    // The whole text's size, or while the source is still reading it, a guess.
    size_t TotalBytes() const { return m_pSource != nullptr ? m_pSource->ExpectedSize() : 0; }

    // Called after every piece that changes what is shown, and when filling
    // ends (complete, stopped for memory, or stopped).
    std::function<void()> m_onProgress;

private:
    class QuietEdit;

    // Appends up to `wanted` units, cut where the source says; false when
    // memory stopped it (which only a piece that `mayStop` can do). True with
    // nothing appended while the first piece waits for younger figures.
    bool AppendPiece(size_t wanted, bool mayStop = true);
    // Everything of the source is shown.
    bool AllShown() const;
    // The first text into the empty control, or what follows at its end:
    // `put(streamed)` puts it in at the caret.
    void Insert(const std::function<void(bool streamed)>& put);
    // Inserts at the end of the control's text, the caret parked there.
    void AppendAtEnd(const std::function<void(bool streamed)>& put);
    // Puts the user's selection back in place of the parked caret.
    void ReturnSelection();
    void StopForMemory();
    void EndFilling();
    // Scrolls the refilled text back to where the user was, once it holds it.
    void ShowAnchorWhenIn();
    // How far the view is scrolled down, in pixels, measured from where the
    // text's first line stood when the text began.
    LONG ScrolledDown();
    void Notify();

    CRichEditControl& m_control;
    CFillSource* m_pSource = nullptr;
    size_t m_nLimit = 0;  // the control's text limit, raised as the text grows
    size_t m_nShown = 0;
    bool m_bMemoryStop = false;
    // The caret is parked at the end of the text; m_userSelection is what
    // the user had, in a text of m_nUserTextLength characters.
    bool m_bParked = false;
    CHARRANGE m_userSelection{};
    LONG m_nUserTextLength = 0;
    bool m_bOwnMessages = false;  // the filler itself is talking to the control
    HWND m_hTimerWindow = nullptr;
    // A refill's first character in view, and the scroll position the
    // refill began at: a different one means the user has moved since.
    std::optional<size_t> m_anchor;
    LONG m_anchorScroll = 0;
    LONG m_textOrigin = 0;  // the first line's top, in client pixels, unscrolled
    corvelle::FillSchedule m_schedule;
    corvelle::UniqueTimer m_timer;
};
