// The plug-in module's instance handle, for window classes, dialog templates
// and the thread hook. The plug-in's start-up records it.
#pragma once

#include <windows.h>

#if __has_include("plugin/Module.h")
#include "plugin/Module.h"
#else
HINSTANCE CorvelleModule();
#endif
