// The arithmetic by which a link fits its static control's window to its text.
// The Win32 side measures; this decides where the window goes.
#pragma once

#include <cstdint>

namespace corvelle {

// Static-control style bits that steer the fit (the values of SS_CENTER,
// SS_RIGHT and SS_CENTERIMAGE).
constexpr uint32_t kStaticCenter = 0x0001;
constexpr uint32_t kStaticRight = 0x0002;
constexpr uint32_t kStaticCenterImage = 0x0200;

struct PixelRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

struct PixelSize {
    int32_t cx = 0;
    int32_t cy = 0;
};

// Where MoveWindow puts the window: its top-left corner and outer size.
struct WindowPlacement {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

struct LinkFitInput {
    PixelRect window;    // window rectangle in the parent's client coordinates
    PixelSize client;    // size of the client rectangle
    PixelSize text;      // extent of the window text in the link's font
    uint32_t staticStyle = 0;  // the control's window style
};

// Fits the window around the text while keeping the border it has. The style
// is tested bit by bit, as the static control's alignment values are not flags:
// an image static (SS_BITMAP, 0x0E) has the SS_RIGHT bit and so keeps its
// right edge. Halves are truncated toward zero.
WindowPlacement FitWindowToText(const LinkFitInput& input);

}  // namespace corvelle
