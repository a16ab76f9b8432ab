// corvelle-host.exe: GoogleTest's runner, which first says which module it tests.
#include <cstdio>

#include "Harness.h"
#include "Watchdog.h"

namespace {

// A crash inside the plug-in must end the run with a message, not open a
// debugger window that nobody can close under Xvfb.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
  std::fprintf(stderr, "corvelle-host: unhandled exception %08lX at %p\n",
               static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode),
               info->ExceptionRecord->ExceptionAddress);
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), 3);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

int main(int argc, char** argv) {
  SetUnhandledExceptionFilter(&ReportCrash);
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  testing::InitGoogleTest(&argc, argv);
  corvelle::host::StartWatchdog();
  const auto& module = corvelle::host::PluginModule::Get();
  std::printf("corvelle-host (%d-bit): module %s: %s\n", static_cast<int>(sizeof(void*) * 8), module.Path().c_str(),
              module.IsLoaded() ? "loaded" : module.LoadError().c_str());
  std::fflush(stdout);
  return RUN_ALL_TESTS();
}
