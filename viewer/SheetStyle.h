// The window styles the resizable sheet is created with, free of Win32 so
// that the rules are checked natively; the bit values are the Windows ones.
#pragma once

#include <cstdint>

namespace corvelle {

constexpr uint32_t kWsChild = 0x40000000;
constexpr uint32_t kWsVisible = 0x10000000;
constexpr uint32_t kWsDisabled = 0x08000000;
constexpr uint32_t kWsClipSiblings = 0x04000000;
constexpr uint32_t kDsSetFont = 0x00000040;

// The sheet's style as a borderless child of the viewer frame. It starts
// disabled when the thread's active window is not the Lister window (the
// viewer is being created in the background); the frame enables it when it
// gets the focus.
uint32_t SheetCreateStyle(bool listerWindowIsActive);

// The style to write into the sheet's dialog template in place of
// `templateStyle`. DS_SETFONT says whether the template carries font data
// after its caption, so it must keep the template's value: changing it would
// make the dialog manager misread the rest of the template.
uint32_t ReplaceTemplateStyle(uint32_t templateStyle, uint32_t wantedStyle);

}  // namespace corvelle
