// The little state that lives as long as the module. Everything of one viewer
// lives in its frame object, so two Lister windows share only this.
#pragma once

#include <windows.h>

#include "plugin/Settings.h"

// The first candidate path of the host's "wincmd.ini": the directory of the
// INI path that the host suggests through ListSetDefaultParams. Empty until then.
extern char g_szHostIni[corvelle::kPathCapacity];

// The plug-in's options file: "quennet.ini" (in the Windows directory) until
// Corvelle.ini is found beside the module; then that path, for good.
extern char g_szOptionsIni[corvelle::kPathCapacity];

// The child-window identifier of every frame window: the module's instance
// handle, pointer-sized so a 64-bit handle is not cut.
extern UINT_PTR g_nFrameId;
