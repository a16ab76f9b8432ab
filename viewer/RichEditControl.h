// CRichEditControl: a "RICHEDIT" control of a page's dialog template, taken
// over by its page (BindControl) so that it is part of the plug-in's window
// objects. It adds nothing to the control's behaviour; it only wraps the
// messages the pages send it.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <functional>
#include <string>

#include "model/ListerFont.h"
#include "viewer/WindowObject.h"

class CRichEditControl : public CWindowObject {
public:
    // Replaces the whole text. Raises the control's text limit to the text's
    // length first: by default the control cuts what it is given at 64 KB,
    // and the report of a large database is many megabytes long.
    void SetText(const std::string& text);
    // Raises the text limit so that `length` characters fit.
    void LimitTextTo(size_t length);
    // Keeps no undo history: a read-only report has nothing to undo, and on
    // Wine the history of every inserted piece slows each later insertion.
    void DisableUndo();
    // Replaces the selection (at an empty selection: inserts there) by `size`
    // bytes of plain text. The new paragraphs take the format of the one at
    // the selection, so text streamed into a formatted empty control or at
    // the end of formatted text needs no formatting pass of its own.
    void ReplaceSelection(const char* data, size_t size);
    // The same for many small insertions at the end of a long text: it
    // takes the text with EM_REPLACESEL, which Wine's control handles without
    // the walk from the first paragraph that each EM_STREAMIN ends with, so
    // that an insertion costs what its own text costs whatever the control
    // already holds.
    void InsertAtCaret(const char* data, size_t size);
    // The same for UTF-16 text, which the control takes whatever its code
    // page: streamed in, and inserted at the caret by EM_SETTEXTEX (the
    // text must hold no NUL), the Unicode counterpart of EM_REPLACESEL.
    void ReplaceSelection(const wchar_t* data, size_t count);
    void InsertAtCaret(const wchar_t* data, size_t count);
    // Replaces the whole text by UTF-16 text.
    void SetText(const std::wstring& text);
    // The character format of the selection; at an empty selection, of the
    // text inserted there next.
    BOOL SetSelectionCharFormat(CHARFORMATA& format);
    LONG TextLength() const;
    void SetSel(LONG nStart, LONG nEnd);
    CHARRANGE GetSel() const;
    // The scroll position in pixels; false where the control cannot say.
    bool GetScrollPosition(POINT& position) const;
    void SetScrollPosition(POINT position);
    LONG FirstVisibleLine() const;
    // Where the character `index` stands, in client pixels: the top of its
    // line. Of the first character, it says how far the view is scrolled
    // down in a text of any length, which EM_GETSCROLLPOS does not: its
    // answer is cut to 16 bits once the text is taller than 65535 pixels.
    bool CharPosition(LONG index, POINTL& at) const;
    void ScrollLines(LONG nLines);
    // Copies the selection to the clipboard.
    void Copy();
    BOOL GetDefaultCharFormat(CHARFORMATA& format) const;
    BOOL SetDefaultCharFormat(CHARFORMATA& format);
    // Makes the default character format follow the Lister font; nothing is
    // written when the font sets nothing.
    void FollowListerFont(const ListerFont& font);
    // Applies to the current selection.
    BOOL SetParaFormat(PARAFORMAT2& format);
    void SetOptions(WORD wOperation, DWORD dwOptions);
    // Line width 0 wraps at the window's edge; 1 does not wrap.
    void SetTargetDevice(HDC hDC, LONG nLineWidth);
    // Puts a fresh, empty control of the same class, style, font and id in
    // this one's place (at `rect` in the parent's coordinates, or where it
    // is), in its place among its siblings and with its focus, binds this
    // object to it and destroys the old one. Changing the wrapping or the
    // size of a control makes it lay out every line it holds again in one
    // message, which for a text of megabytes holds the host for seconds to
    // minutes (see viewer/ControlRelayout.h); a fresh control is laid out
    // while it is empty, and destroying the old one costs a walk over its
    // text. False, the old control kept, when no new one can be made.
    bool Renew(const RECT* rect);
    void ShowHorizontalScrollBar(bool bShow);

    // Called before the control handles any message that may read or move
    // its selection or scroll to its caret: input, focus, size, selection and
    // line queries, copying. Not for painting, timers, scrolling, pointer
    // moves or reading the text. A filler that keeps the caret parked at the
    // end of the text puts the user's selection back here.
    std::function<void()> m_beforeSelectionUse;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
