// CTextPage: the fourth page, "Text", of a database whose format has a text
// (a book). It shows the document as a person reads it, read-only, in a
// rich-edit control that fills the page: paragraphs wrapped to the window (W
// unwraps and wraps them again), headings on lines of their own, bold and
// italic where the format marks them, in the host's Lister font.
//
// Nothing happens at ListLoad but adding the tab: the page reads the file
// when it is first shown and keeps it, with the document read as far as the
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

#include "export/CodePage.h"
#include "viewer/ListerFont.h"
#include "viewer/ReportFiller.h"
#include "viewer/ResizePage.h"
#include "viewer/RichEditControl.h"
#include "viewer/text/DocumentFill.h"
#include "viewer/text/PageDocument.h"

class CTextPage : public CResizePage {
public:
    CTextPage();
    ~CTextPage() override;

    // The file the page reads when first shown, the Lister font, and the code
    // page of a text whose format names none.
    void SetSource(std::wstring path, const ListerFont& font, const corvelle::CodePageInfo& encoding);

    // The Lister's find command on this page: selects the next match in the
    // whole text, bringing the text in up to it; false when there is none or
    // memory does not allow showing it.
    bool Search(const std::u16string& needle, int flags);

    void SetPageRect(RECT* pRect) override;
    // W toggles wrapping (and lets the key go on to the host); EM_SETSEL
    // selects the whole text and WM_COPY copies the selection, both consumed.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Reads the file and opens its document; false, with the reason shown,
    // when there is no document to show.
    bool LoadDocument();
    // Starts putting the document into the control, once.
    void StartFill();
    void ApplyFormats();
    void ShowProblem(const std::string& text);
    void ToggleWrap();
    void CopySelection();

    std::wstring m_path;
    ListerFont m_listerFont{};
    const corvelle::CodePageInfo* m_encoding = nullptr;

    CRichEditControl m_richEdit;
    std::unique_ptr<corvelle::PageDocument> m_document;
    std::unique_ptr<CDocumentFill> m_fill;
    CReportFiller m_filler{m_richEdit};
    bool m_bFillStarted = false;
    bool m_bWrap = true;
};
