#include "viewer/records/ColumnWidth.h"

#include <commctrl.h>

#include <algorithm>

#include "viewer/WideText.h"

namespace {

// Room around a cell's text: the list pads a cell on both sides and keeps a
// few pixels free at its right end before it cuts the text with an ellipsis.
constexpr int kCellPadding = 16;

}  // namespace

CTextMeasure::CTextMeasure(HWND hWnd) : m_hWnd(hWnd), m_hDC(::GetDC(hWnd)) {
    if (m_hDC != nullptr) {
        const auto hFont = reinterpret_cast<HGDIOBJ>(::SendMessageA(hWnd, WM_GETFONT, 0, 0));
        m_hOldFont = ::SelectObject(m_hDC, hFont != nullptr ? hFont : ::GetStockObject(SYSTEM_FONT));
    }
}

CTextMeasure::~CTextMeasure() {
    if (m_hDC != nullptr) {
        ::SelectObject(m_hDC, m_hOldFont);
        ::ReleaseDC(m_hWnd, m_hDC);
    }
}

int CTextMeasure::Width(std::string_view text) const {
    SIZE extent{};
    const std::wstring wide = corvelle::WidenUtf8(std::string(text));
    if (m_hDC == nullptr || !::GetTextExtentPoint32W(m_hDC, wide.data(), static_cast<int>(wide.size()), &extent)) {
        return 0;
    }
    return extent.cx;
}

int ColumnWidth(HWND hList, const char* title, const char* sample) {
    int titleWidth = 0;
    if (const HWND hHeader = ListView_GetHeader(hList)) {
        // The header draws a title into exactly its measured width, this
        // margin (three edges, 6 pixels at 96 dpi) on each side of it, and
        // cuts it with an ellipsis where the column has less room.
        const int margin = static_cast<int>(::SendMessageA(hHeader, HDM_GETBITMAPMARGIN, 0, 0));
        titleWidth = CTextMeasure(hHeader).Width(title) + 2 * margin;
    }
    const int cellWidth = sample != nullptr ? CTextMeasure(hList).Width(sample) + kCellPadding : 0;
    return std::max(titleWidth, cellWidth);
}
