// The hyperlink's style word and the colour it draws its text in. Kept free of
// Win32 so that the rules can be checked without a window.
#pragma once

#include <cstdint>

namespace corvelle {

// Style bits of a link; no other bits are used.
constexpr uint32_t LS_UNDERLINE = 0x01;      // the link font is underlined
constexpr uint32_t LS_HOVERCOLOR = 0x02;     // hover colour while the pointer is over it
constexpr uint32_t LS_AUTOSIZE = 0x04;       // the window is fitted to its text
constexpr uint32_t LS_OPENONPRESS = 0x08;    // opens on button down instead of up
constexpr uint32_t LS_FOCUSONCLICK = 0x10;   // a press gives the link the focus
constexpr uint32_t LS_NOHANDCURSOR = 0x20;   // the hand cursor is not loaded
constexpr uint32_t LS_NOACTIVECOLOR = 0x40;  // the active colour is never used

constexpr uint32_t kDefaultLinkStyle = LS_UNDERLINE | LS_AUTOSIZE | LS_FOCUSONCLICK;

// Applies a style change to `style`. A change that would both remove and add
// the same bit is contradictory and is refused: false, `style` untouched.
bool ChangeStyleBits(uint32_t& style, uint32_t remove, uint32_t add);

// A colour as GDI stores it: 0x00BBGGRR.
using ColorValue = uint32_t;

constexpr ColorValue MakeColor(uint8_t red, uint8_t green, uint8_t blue) {
    return static_cast<ColorValue>(red) | (static_cast<ColorValue>(green) << 8) |
           (static_cast<ColorValue>(blue) << 16);
}

// The four text colours every link of the process shares.
struct LinkPalette {
    ColorValue link = MakeColor(0, 0, 255);
    ColorValue active = MakeColor(0, 128, 128);
    ColorValue visited = MakeColor(128, 0, 128);
    ColorValue hover = MakeColor(255, 0, 0);
};

// What the link is showing at the moment it is painted.
struct LinkState {
    bool hover = false;
    bool active = false;
    bool visited = false;
};

// The text colour for a link in `state` with `style`: hover (when styled for
// it) beats active (unless styled away), which beats visited, which beats the
// plain link colour.
ColorValue ChooseLinkColor(const LinkState& state, uint32_t style, const LinkPalette& palette);

}  // namespace corvelle
