#include "viewer/ControlRelayout.h"

#include "model/ReportFillPlan.h"
#include "viewer/ReportFiller.h"
#include "viewer/WindowGeometry.h"

namespace {

bool SameSize(const RECT& a, const RECT& b) {
    return a.right - a.left == b.right - b.left && a.bottom - a.top == b.bottom - b.top;
}

}  // namespace

void ChangeLayout(CRichEditControl& control, CReportFiller& filler, const ControlLayout& layout) {
    HWND hWnd = control.GetSafeHwnd();
    if (hWnd == nullptr) {
        return;
    }
    const bool resized = layout.rect != nullptr && !SameSize(*layout.rect, WindowRectIn(hWnd, ::GetParent(hWnd)));
    // Moved alone, the control keeps its layout: nothing is laid out again.
    const bool inPlace = (!resized && !layout.wrapChanged) || filler.ShownBytes() <= corvelle::kWholeReportBytes;
    if (!inPlace) {
        bool renewed = false;
        filler.Refill([&] {
            renewed = control.Renew(layout.rect);
            if (renewed) {
                layout.prepareFresh();
                layout.applyWrap();
            }
            return renewed;
        });
        if (renewed) {
            return;
        }
    }
    if (layout.rect != nullptr) {
        MoveWindowTo(hWnd, *layout.rect);
    }
    if (layout.wrapChanged) {
        layout.applyWrap();
    }
}
