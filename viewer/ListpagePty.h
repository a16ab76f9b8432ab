// CListpagePty: the "Image Dump" page. It shows the report of the viewed file
// read-only in a rich-edit control that fills the page, in the host's Lister
// font and with tab stops that line up the report's columns; W toggles line
// wrapping, and the host's select-all and copy commands act on the control.
// A long report arrives in pieces (CReportFiller) while the tab title says
// how much is in; a copy of everything always takes the whole report.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "model/ListerFont.h"
#include "viewer/ReportFiller.h"
#include "viewer/ResizePage.h"
#include "viewer/RichEditControl.h"

class CListpagePty : public CResizePage {
public:
    CListpagePty();
    ~CListpagePty() override;

    // Makes the control's default character format follow m_listerFont;
    // nothing is written when the record sets nothing.
    void ApplyCharFormat();
    // Applies the tab stops and the space before paragraphs to the whole text
    // and puts the caret at its start. Text that arrives later takes them
    // on, so it is cheapest on the empty control.
    void ApplyParaFormat();
    // Puts m_strText into the control: a short report at once, a long one
    // starting with its first screens and the rest from the host's message
    // loop. m_strText must not change while it arrives.
    void ShowText();
    // Brings the report into the control at once up to byte `offset`, for a
    // search that found something not yet shown; false when memory does not
    // allow it.
    bool ShowReportUpTo(size_t offset);
    // Replaces the tab-stop list by a copy of `count` positions in twips (the
    // paragraph format takes at most 32 of them).
    void SetTabStops(const int* pPositions, int count);

    void SetPageRect(RECT* pRect) override;
    // The whole report, not only what has arrived: a hit further on brings
    // the report in up to it, unless memory does not let the control hold it.
    bool Search(const std::wstring& needle, int flags) override;
    // The commands table's keys (W wraps and still goes on to the host); EM_SETSEL
    // selects the whole text and WM_COPY copies the selection, both consumed.
    // A copy of everything while the control holds less than the report puts
    // the whole report on the clipboard.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    CRichEditControl m_richEdit;
    std::string m_strText;
    ListerFont m_listerFont{};
    int m_nTabCount = 1;
    std::unique_ptr<int[]> m_pTabStops;
    bool m_bNoWrap = true;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ToggleWrap();
    void ApplyWrap();
    // Moves the control to `rect` and, with `wrapChanged`, applies the
    // wrapping, on a fresh control where the old one holds too much
    // (viewer/ControlRelayout.h).
    void ChangeLayout(const RECT& rect, bool wrapChanged);
    void CopySelection();
    void ShowFillProgress();

    CReportText m_reportText{m_strText};
    CReportFiller m_filler{m_richEdit};
    std::string m_strTabTitle;  // the tab's own title, read when a fill starts
};
