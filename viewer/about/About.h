// CAbout: the viewer's second page. A banner, two image links (mail and web)
// and a read-only information box composed from the string table; the box
// follows the page's size, everything else stays where the template puts it.
#pragma once

#include <windows.h>

#include <string>

#include "viewer/about/HyperLink.h"
#include "viewer/ResizePage.h"
#include "viewer/RichEditControl.h"

class CAbout : public CResizePage {
public:
    CAbout();
    ~CAbout() override;

    // Also gives both links their URLs and opens them on press; run by the
    // constructor, so the links are styled before their windows exist.
    void ResetFirstShow() override;
    // Moves the page and lets the information box keep its margins.
    void SetPageRect(RECT* pRect) override;
    // The host's select-all and copy commands, posted to the page, act on the
    // information box wherever the focus is.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // The find command in the information box's text.
    bool Search(const std::wstring& needle, int flags) override;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ReleasePictures();

    CRichEditControl m_richInfo;
    RECT m_rcInfo{};
    std::string m_strInfo;
    CHyperLink m_linkMail;
    CHyperLink m_linkWeb;
};
