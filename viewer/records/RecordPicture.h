// The picture of an entry beside the Records page's text (model/PanePicture.h),
// an image file decoded by Windows' own imaging, as a device-independent
// bitmap shown by a static control.
// The page owns the bitmap; the control only shows it.
#pragma once

#include <windows.h>

#include "dump/LauncherIcon.h"

#include "dump/ByteSpan.h"
#include "formats/Format.h"
#include "base/UniqueHandle.h"

class CRecordPicture {
public:
    // The static control of the page's template that shows the picture.
    void Bind(HWND hStatic) { m_hStatic = hStatic; }
    // Shows the entry's picture: a Palm bitmap family's best rendition, an
    // image file or a format's own pixels; nothing when it does not decode. Answers whether a picture
    // is shown.
    bool Show(const corvelle::EntryPicture& picture);
    void Clear();

    bool IsShown() const { return static_cast<bool>(m_bitmap); }
    SIZE Size() const { return m_size; }
    HWND GetSafeHwnd() const { return m_hStatic; }

private:
    HWND m_hStatic = nullptr;
    corvelle::UniqueBitmap m_bitmap;
    SIZE m_size{};
};
