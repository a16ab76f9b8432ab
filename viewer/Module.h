// The plug-in module itself: its instance handle (dialog templates, window
// classes and the thread hook all need it) and the name it shows as the
// caption of its message boxes. The windows own it; the module's start-up
// only records the handle the loader gave it.
#pragma once

#include <windows.h>

// The instance handle that the loader gave the module; null before that.
HINSTANCE CorvelleModule();
void SetCorvelleModule(HINSTANCE module);

// The caption of every message box the plug-in shows.
inline constexpr char kCorvelleAppName[] = "CORVELLE_WLX";
