// CListpagePty: the "Image Dump" page. It shows the report of the viewed file
// read-only in a rich-edit control that fills the page, in the host's Lister
// font and with tab stops that line up the report's columns; W toggles line
// wrapping, and the host's select-all and copy commands act on the control.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "plugin/ListerFont.h"
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
    // and puts the caret at its start.
    void ApplyParaFormat();
    // Puts m_strText into the control, raising its text limit first so that
    // no report is cut.
    void ShowText();
    // Replaces the tab-stop list by a copy of `count` positions in twips (the
    // paragraph format takes at most 32 of them).
    void SetTabStops(const int* pPositions, int count);

    void SetPageRect(RECT* pRect) override;
    // W toggles wrapping (and lets the key go on to the host); EM_SETSEL
    // selects the whole text and WM_COPY copies the selection, both consumed.
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

private:
    void ToggleWrap();
};
