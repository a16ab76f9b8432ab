// corvelle-host.exe: GoogleTest's runner plus --module=PATH (the module to
// load) and --scenario=NAME / --scenario-argument=TEXT (a child scenario).
#include <cstdio>
#include <cstring>
#include <string>

#include "Harness.h"

namespace {

// A crash inside the plug-in must end the run with a message, not open a
// debugger window that nobody can close under Xvfb.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
  std::fprintf(stderr, "corvelle-host: unhandled exception %08lX at %p\n",
               static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode),
               info->ExceptionRecord->ExceptionAddress);
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), corvelle::host::kChildCrashed);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

int main(int argc, char** argv) {
  SetUnhandledExceptionFilter(&ReportCrash);
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  testing::InitGoogleTest(&argc, argv);
  std::string scenario, argument;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    auto value = [&option](const char* prefix) {
      return option.rfind(prefix, 0) == 0 ? option.substr(std::strlen(prefix)) : std::string();
    };
    if (option.rfind("--module=", 0) == 0) {
      corvelle::host::PluginModule::SetPathOverride(value("--module="));
    } else if (option.rfind("--scenario=", 0) == 0) {
      scenario = value("--scenario=");
    } else if (option.rfind("--scenario-argument=", 0) == 0) {
      argument = value("--scenario-argument=");
    } else {
      std::fprintf(stderr, "corvelle-host: unknown option %s\n", argv[i]);
      return 2;
    }
  }
  if (!scenario.empty()) return corvelle::host::RunScenario(scenario, argument);
  const auto& module = corvelle::host::PluginModule::Get();
  std::printf("corvelle-host (%d-bit): module %s: %s\n", static_cast<int>(sizeof(void*) * 8), module.Path().c_str(),
              module.IsLoaded() ? "loaded" : module.LoadError().c_str());
  std::fflush(stdout);
  return RUN_ALL_TESTS();
}
