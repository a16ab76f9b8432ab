#include "viewer/Module.h"

#include "plugin/ModuleState.h"

char g_szHostIni[corvelle::kPathCapacity] = "";
char g_szOptionsIni[corvelle::kPathCapacity] = "quennet.ini";
UINT_PTR g_nFrameId = 0;

// Runs under the loader lock, so it only records the handle: loading the
// rich-edit library here could deadlock or fail in ways the host cannot
// report. The library is loaded on the first ListLoad instead.
extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD reason, LPVOID /*reserved*/) {
    if (reason == DLL_PROCESS_ATTACH) {
        SetCorvelleModule(hInstance);
        g_nFrameId = reinterpret_cast<UINT_PTR>(hInstance);
    }
    return TRUE;
}
