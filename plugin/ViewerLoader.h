// Builds one viewer inside the Lister window: the steps that ListLoad and
// ListLoadW share once the name has been accepted.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace corvelle {

// Reads the settings, creates the frame with its sheet and pages over the
// host window's client area, fills the dump page with the report that
// `buildReport` makes and returns the frame window; null when the frame
// window could not be created. The Records page reads `path` when it is
// first shown. Never throws.
HWND LoadViewer(HWND hParentWin, const std::wstring& path, const std::function<std::string()>& buildReport);

}  // namespace corvelle
