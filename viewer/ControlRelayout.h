// A new wrapping or a new size for a page's text control. A rich-edit control
// lays out every line it holds again in the one message that changes either,
// and on Wine that grows faster than the text: wrapping a report of 600 KB
// took 0.8 s on 64-bit and 100 s on 32-bit, one of 13 MB seven minutes, and
// on a 32-bit heap left nearly full by a memory stop it did not end. So only
// a control that holds no more than a text that goes in at once is changed in
// place; a fuller one is renewed empty (CRichEditControl::Renew), laid out
// while empty, and its filler brings the text back in pieces from the host's
// loop as the first fill did, the user's selection and view kept.
#pragma once

#include <windows.h>

#include <functional>

class CReportFiller;
class CRichEditControl;

struct ControlLayout {
    const RECT* rect = nullptr;  // the control's new place, or null: it stays
    bool wrapChanged = false;    // the page's wrapping has changed
    // Sets the page's wrapping on the control (in place, or on a fresh one).
    std::function<void()> applyWrap;
    // Gives a fresh control the page's formats and options; the wrapping
    // follows through applyWrap.
    std::function<void()> prepareFresh;
};

void ChangeLayout(CRichEditControl& control, CReportFiller& filler, const ControlLayout& layout);
