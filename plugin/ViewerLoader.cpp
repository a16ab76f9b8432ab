#include "plugin/ViewerLoader.h"

#include <memory>

#include "model/TabStops.h"
#include "model/ViewedDatabase.h"
#include "plugin/ModuleState.h"
#include "plugin/RichEditLibrary.h"
#include "plugin/Settings.h"
#include "plugin/Win32SettingsPlatform.h"
#include "viewer/List.h"

namespace corvelle {
namespace {

// Child and visible, with the low style bits the Lister has always been given.
constexpr DWORD kFrameStyle = 0x50000900;

// True when the Lister window is itself a child (the viewer is embedded, for
// instance in a quick-view panel). GetParent would also answer the owner of a
// top-level window, which must still get its saved position.
bool HasParentWindow(HWND hWnd) {
    const HWND parent = ::GetAncestor(hWnd, GA_PARENT);
    return parent != nullptr && parent != ::GetDesktopWindow();
}

void MoveToSavedRect(HWND hParentWin, SettingsPlatform& platform) {
    const auto rect = ReadSavedHostRect(platform, g_szOptionsIni);
    if (!rect) return;
    ::MoveWindow(hParentWin, rect->left, rect->top, rect->right - rect->left,
                 rect->bottom - rect->top, TRUE);
}

void FillDumpPage(CListpagePty& page, const ListerFont& font, std::string text) {
    // While the page has not been shown its own initialisation applies what
    // is stored here; once shown, the stored values are applied at once.
    page.m_listerFont = font;
    if (!page.m_bFirstShow) page.ApplyCharFormat();

    // The tab stops go on the still empty control: the report's paragraphs
    // take them on as they arrive, where a pass over the whole text after it
    // is in would cost many times more than the text itself.
    const TabStops stops = TabStopsForFontHeight(font.nHeight);
    page.SetTabStops(stops.data(), static_cast<int>(stops.size()));
    if (!page.m_bFirstShow) page.ApplyParaFormat();

    page.m_strText = std::move(text);
    // A long report shows its first screens now and the rest arrives from
    // the host's message loop.
    if (!page.m_bFirstShow) page.ShowText();
}

HWND BuildViewer(HWND hParentWin, const std::wstring& path, bool embedded) {
    Win32SettingsPlatform platform(hParentWin);
    LocateOptionsFile(platform, g_szOptionsIni, sizeof g_szOptionsIni);
    const ListerFont font = ReadListerFont(platform, g_szHostIni);
    const CodePageInfo& encoding = ReadTextEncoding(platform, g_szOptionsIni);

    if (!embedded) MoveToSavedRect(hParentWin, platform);

    auto frame = std::make_unique<CList>();
    // The file is read once, here; before the sheet's window, because the
    // pages' tabs come from its header.
    CListSheet* pending = frame->GetListSheet();
    if (pending == nullptr) return nullptr;
    pending->m_pViewed = std::make_unique<ViewedDatabase>(path, encoding);
    const ViewedDatabase& viewed = *pending->m_pViewed;
    const TabStops stops = TabStopsForFontHeight(font.nHeight);
    pending->m_pageRecords.SetSource(viewed, font, stops.data(), static_cast<int>(stops.size()));
    if (viewed.HasDocument()) {
        pending->m_pageText.SetSource(viewed, font);
        pending->AddTextPage(ReadStartOnText(platform, g_szOptionsIni));
    }
    RECT client{};
    ::GetClientRect(hParentWin, &client);
    if (!frame->CreateEx(0, kFrameStyle, client, hParentWin, g_nFrameId, nullptr)) {
        return nullptr;
    }

    CListSheet* sheet = frame->GetListSheet();
    if (sheet == nullptr) return nullptr;
    // The sheet starts disabled when the Lister window is not the active one,
    // which is always so for an embedded viewer.
    if (embedded) ::EnableWindow(sheet->GetSafeHwnd(), TRUE);

    FillDumpPage(sheet->m_pageDump, font, viewed.Report());
    sheet->FitToParent(TRUE);
    return frame.release()->GetSafeHwnd();
}

}  // namespace

HWND LoadViewer(HWND hParentWin, const std::wstring& path) {
    if (!EnsureRichEditLibrary()) return nullptr;

    const bool embedded = HasParentWindow(hParentWin);
    // An embedded viewer must not take the focus from the window that had it.
    const HWND focus = embedded ? ::GetFocus() : nullptr;
    HWND frame = nullptr;
    try {
        frame = BuildViewer(hParentWin, path, embedded);
    } catch (...) {
        frame = nullptr;  // the frame object, if any, went with the unwinding
    }
    if (focus != nullptr && ::IsWindow(focus)) ::SetFocus(focus);
    return frame;
}

}  // namespace corvelle
