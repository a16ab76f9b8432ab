#include "ChildScenario.h"

#include <cstdio>
#include <map>

#include "PluginModule.h"
#include "ResourceCounts.h"

namespace corvelle::host {
namespace {

std::map<std::string, ScenarioMain>& Scenarios() {
  static std::map<std::string, ScenarioMain> scenarios;
  return scenarios;
}

// Quotes one argument for CreateProcess's command-line parser.
std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  size_t backslashes = 0;
  for (char c : text) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') backslashes = backslashes * 2 + 1;
    quoted.append(backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, '\\');
  return quoted + "\"";
}

}  // namespace

ScenarioRegistration::ScenarioRegistration(const char* name, ScenarioMain main) { Scenarios()[name] = main; }

ChildResult RunScenarioInChild(const std::string& name, const std::string& argument, DWORD timeLimitMs) {
  ChildResult result;
  char program[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, program, MAX_PATH);
  std::string commandLine = Quoted(program) + " " + Quoted("--module=" + PluginModule::Get().Path()) + " " +
                            Quoted("--scenario=" + name) + " " + Quoted("--scenario-argument=" + argument);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  std::fflush(stdout);
  double start = NowMilliseconds();
  if (!CreateProcessA(program, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return result;
  }
  result.started = true;
  CloseHandle(process.hThread);
  if (WaitForSingleObject(process.hProcess, timeLimitMs) == WAIT_OBJECT_0) {
    result.finished = true;
    GetExitCodeProcess(process.hProcess, &result.exitCode);
  } else {
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 10000);
  }
  result.milliseconds = NowMilliseconds() - start;
  CloseHandle(process.hProcess);
  return result;
}

bool RunRequestedScenario(const std::string& name, const std::string& argument, int* exitCode) {
  auto found = Scenarios().find(name);
  if (found == Scenarios().end()) {
    std::fprintf(stderr, "corvelle-host: no scenario %s\n", name.c_str());
    *exitCode = 2;
    return false;
  }
  *exitCode = found->second(argument);
  std::fflush(stdout);
  return true;
}

}  // namespace corvelle::host
