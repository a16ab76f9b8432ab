#include "viewer/Module.h"

namespace {
HINSTANCE g_hModule = nullptr;
}  // namespace

HINSTANCE CorvelleModule() { return g_hModule; }

void SetCorvelleModule(HINSTANCE module) { g_hModule = module; }
