// Builds one viewer inside the Lister window: the steps that ListLoad and
// ListLoadW share once the name has been accepted.
#pragma once

#include <windows.h>

#include <string>

namespace corvelle {

// Reads the settings, creates the frame with its sheet and pages over the
// host window's client area, reads the file at `path` once for every page,
// fills the dump page with its report and returns the frame window; null
// when the frame window could not be created. Never throws.
HWND LoadViewer(HWND hParentWin, const std::wstring& path);

}  // namespace corvelle
