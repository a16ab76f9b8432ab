// CRichEditControl: a "RICHEDIT" control of a page's dialog template, taken
// over by its page (BindControl) so that it is part of the plug-in's window
// objects. It adds nothing to the control's behaviour; it only wraps the
// messages the pages send it.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <string>

#include "viewer/WindowObject.h"

class CRichEditControl : public CWindowObject {
public:
    // Replaces the whole text. Raises the control's text limit to the text's
    // length first: by default the control cuts what it is given at 64 KB,
    // and the report of a large database is many megabytes long.
    void SetText(const std::string& text);
    void SetSel(LONG nStart, LONG nEnd);
    // Copies the selection to the clipboard.
    void Copy();
    BOOL GetDefaultCharFormat(CHARFORMATA& format) const;
    BOOL SetDefaultCharFormat(CHARFORMATA& format);
    // Applies to the current selection.
    BOOL SetParaFormat(PARAFORMAT2& format);
    void SetOptions(WORD wOperation, DWORD dwOptions);
    // Line width 0 wraps at the window's edge; 1 does not wrap.
    void SetTargetDevice(HDC hDC, LONG nLineWidth);
    void ShowHorizontalScrollBar(bool bShow);
};
