// How wide a column of a report-view list must be for its title and its
// widest cell to show whole, measured in the fonts the list and its header
// really draw with (the host's dialog font, in whatever face the system gives
// for it), not in one machine's.
#pragma once

#include <windows.h>

#include <string_view>

// Texts measured in the font a window draws with (WM_GETFONT; the system font
// when it has none), through one device context for all of them.
class CTextMeasure {
public:
    explicit CTextMeasure(HWND hWnd);
    ~CTextMeasure();
    CTextMeasure(const CTextMeasure&) = delete;
    CTextMeasure& operator=(const CTextMeasure&) = delete;

    // The UTF-8 text's width in pixels; 0 without a device context.
    int Width(std::string_view text) const;

private:
    HWND m_hWnd;
    HDC m_hDC;
    HGDIOBJ m_hOldFont = nullptr;
};

// The width in pixels for a column of `hList` titled `title` whose widest cell
// is `sample`: the wider of the title in the header's font with the margin the
// header keeps on each side of it, and the sample in the list's font with the
// room the list leaves around a cell. Call it once the list has its font.
int ColumnWidth(HWND hList, const char* title, const char* sample);
