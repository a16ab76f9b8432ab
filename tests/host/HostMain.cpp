// corvelle-host.exe: GoogleTest's runner plus the host's own options
//   --module=PATH              the plug-in module to load (default: Corvelle.wlx
//                              or Corvelle.wlx64 beside this program;
//                              CORVELLE_MODULE also works)
//   --scenario=NAME            run one child scenario instead of the tests
//   --scenario-argument=TEXT   (ChildScenario.h), as the tests start them
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include <string>

#include "ChildScenario.h"
#include "PluginModule.h"

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
  std::string scenario;
  std::string scenarioArgument;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    const auto valueOf = [&option](const char* prefix) -> const char* {
      size_t length = std::strlen(prefix);
      return option.compare(0, length, prefix) == 0 ? option.c_str() + length : nullptr;
    };
    if (const char* value = valueOf("--module=")) {
      corvelle::host::PluginModule::SetPathOverride(value);
    } else if (const char* value = valueOf("--scenario=")) {
      scenario = value;
    } else if (const char* value = valueOf("--scenario-argument=")) {
      scenarioArgument = value;
    } else {
      std::fprintf(stderr, "corvelle-host: unknown option %s\n", argv[i]);
      return 2;
    }
  }
  if (!scenario.empty()) {
    int exitCode = 0;
    corvelle::host::RunRequestedScenario(scenario, scenarioArgument, &exitCode);
    return exitCode;
  }
  const corvelle::host::PluginModule& module = corvelle::host::PluginModule::Get();
  std::printf("corvelle-host (%d-bit): module %s: %s\n", static_cast<int>(sizeof(void*) * 8), module.Path().c_str(),
              module.IsLoaded() ? "loaded" : module.LoadError().c_str());
  std::fflush(stdout);
  return RUN_ALL_TESTS();
}
