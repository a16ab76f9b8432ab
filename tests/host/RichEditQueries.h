// Reading a rich-edit control and the clipboard as another program would.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <string>

namespace corvelle::host {

// The whole text through WM_GETTEXTLENGTH and WM_GETTEXT (any size).
std::string ControlText(HWND control);
// The whole text through EM_STREAMOUT with SF_TEXT.
std::string StreamedText(HWND control);

CHARRANGE SelectionOf(HWND control);
// The selected text (EM_GETSELTEXT).
std::string SelectedText(HWND control);
// The display line that holds the caret (EM_EXLINEFROMCHAR of the selection's end).
LRESULT CaretLine(HWND control);
// EM_GETCHARFORMAT with SCF_DEFAULT: the control's default character format.
CHARFORMATA DefaultCharFormat(HWND control);
// EM_GETPARAFORMAT of the current selection (PARAFORMAT2, 188 bytes).
PARAFORMAT2 ParagraphFormat(HWND control);
// A tab position of PARAFORMAT without its alignment and leader bits.
LONG TabPosition(LONG rawTab);

LRESULT DisplayLineCount(HWND control);  // EM_GETLINECOUNT
LRESULT FirstVisibleLine(HWND control);  // EM_GETFIRSTVISIBLELINE
// True when the control shows a horizontal scroll bar now.
bool ShowsHorizontalScrollBar(HWND control);

// CF_TEXT on the clipboard; empty when there is none.
std::string ClipboardText();
// Puts a text on the clipboard, so that a test can see it replaced.
bool SetClipboardText(const std::string& text);

}  // namespace corvelle::host
