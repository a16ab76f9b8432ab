// CTextPage: the fourth page, "Text", of a database whose format has a text
// (a book). It shows the document as a person reads it, read-only, in a
// rich-edit control that fills the page: paragraphs wrapped to the window (W
// unwraps and wraps them again), headings on lines of their own, bold and
// italic where the format marks them, in the host's Lister font.
//
// Nothing happens at ListLoad but adding the tab: the page opens the viewed
// database's document when it is first shown, and reads it as far as the
// control has been filled. The first screen goes in once the page has its
// size (a wrapped text laid out at the template's size would be laid out
// again at once, which took as long as putting it in), and the rest
// arrives from the host's message loop, as the report does (CReportFiller),
// with the same memory stop; the tab says how much is in. The host's copy,
// select-all and find act on the whole text even while it arrives.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "model/ListerFont.h"
#include "model/ViewedDatabase.h"
#include "viewer/ReportFiller.h"
#include "viewer/ResizePage.h"
#include "viewer/RichEditControl.h"
#include "viewer/text/DocumentFill.h"
#include "model/PageDocument.h"

class CTextPage : public CResizePage {
public:
    CTextPage();
    ~CTextPage() override;

    // The database whose document the page shows (which outlives it, and
    // holds the code page of a text whose format names none), and the Lister font.
    void SetSource(const corvelle::ViewedDatabase& viewed, const ListerFont& font);

    // The Lister's find command on this page: selects the next match in the
    // whole text, bringing the text in up to it; false when there is none or
    // memory does not allow showing it.
    bool Search(const std::wstring& needle, int flags) override;

    void SetPageRect(RECT* pRect) override;
    // The commands table's keys (W wraps and still goes on to the host); EM_SETSEL
    // selects the whole text and WM_COPY copies the selection, both consumed.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Opens the database's document; false, with the reason shown, when
    // there is no document to show.
    bool LoadDocument();
    // Starts putting the document into the control, once.
    void StartFill();
    void ApplyFormats();
    void ShowProblem(const std::string& text);
    void ToggleWrap();
    void ApplyWrap();
    // Moves the control to `rect` and, with `wrapChanged`, applies the
    // wrapping, on a fresh control where the old one holds too much
    // (viewer/ControlRelayout.h).
    void ChangeLayout(const RECT& rect, bool wrapChanged);
    void CopySelection();

    const corvelle::ViewedDatabase* m_viewed = nullptr;
    ListerFont m_listerFont{};

    CRichEditControl m_richEdit;
    std::unique_ptr<corvelle::PageDocument> m_document;
    std::unique_ptr<CDocumentFill> m_fill;
    CReportFiller m_filler{m_richEdit};
    bool m_bFillStarted = false;
    bool m_bWrap = true;
};
