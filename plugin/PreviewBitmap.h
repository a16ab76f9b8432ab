// The host's thumbnail entry points: the file manager asks a Lister plug-in
// for a picture of a file, and Corvelle answers with a Palm application's
// launcher icon.
#pragma once

#include <windows.h>

#include "dump/PalmBitmap.h"

extern "C" {
// A bitmap of at most width x height pixels, which the host deletes; null
// when the file has no icon, is not a Palm database, or anything fails.
// contentbuf holds the file's first bytes, which the host has read already;
// the icon usually lies further in, so it is not used.
HBITMAP __stdcall ListGetPreviewBitmap(char* FileToLoad, int width, int height, char* contentbuf, int contentbuflen);
// The same for a UTF-16 name.
HBITMAP __stdcall ListGetPreviewBitmapW(WCHAR* FileToLoad, int width, int height, char* contentbuf,
                                        int contentbuflen);
}

namespace corvelle {

// The icon drawn over the background as a 24-bit bottom-up DIB section;
// null when GDI cannot make it.
HBITMAP OpaqueBitmap(const IconImage& icon, COLORREF background);

}  // namespace corvelle
