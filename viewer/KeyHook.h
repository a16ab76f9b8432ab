// The thread message hook that lets the plug-in's windows pre-translate their
// keyboard input. The message loop that runs is the host's, which knows
// nothing of our windows; without the hook, dialog navigation, Ctrl+digit and
// the forwarding of the host's keys would never happen. One hook serves every
// open viewer of the thread.
#pragma once

#include <windows.h>

#include "base/UniqueHandle.h"

// The installed hook, empty while no sheet is initialised. Owned, so that a
// module unloaded with a viewer still open does not leave the system calling
// into unloaded code.
extern corvelle::UniqueHook g_hKeyHook;
// Sheets sharing the hook besides the one that installed it.
extern int g_nKeyHookRefs;

// Taken by every sheet at its initialisation: the first installs the hook
// (or, if that failed before, tries again), later ones share it.
void AcquireKeyHook();
// Given back by every sheet that took the hook: the last one removes it.
void ReleaseKeyHook();

// Offers retrieved keyboard messages, EM_SETSEL and WM_COPY to the
// pre-translation chain of their target window; a message the chain handles
// is turned into WM_NULL in the queue so that the host does not dispatch it.
LRESULT CALLBACK KeyHookProc(int nCode, WPARAM wParam, LPARAM lParam);
