// The "RICHEDIT" window class of both page templates comes from riched32.dll,
// which must be loaded before the first page dialog is created.
#pragma once

namespace corvelle {

// Loads the library once per process; later calls only answer. On failure
// shows "Fail to Load RICHEDIT library" and answers false, and the next call
// tries again.
bool EnsureRichEditLibrary();

}  // namespace corvelle
