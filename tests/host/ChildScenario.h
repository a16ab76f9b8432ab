// Scenarios that run in a second copy of the host program: for checks that
// may crash the process (unloading the module) or take unbounded time (a huge
// report), so that the suite itself goes on and can report what happened.
//
//   CORVELLE_HOST_SCENARIO(my-scenario) { ...; return 0; }   // argument: `argument`
//   ChildResult result = RunScenarioInChild("my-scenario", "some argument", 60000);
//
// The child loads the same module as the parent and exits with the
// scenario's result; 3 means it crashed.
#pragma once

#include <windows.h>

#include <string>

namespace corvelle::host {

using ScenarioMain = int (*)(const std::string& argument);

struct ScenarioRegistration {
  ScenarioRegistration(const char* name, ScenarioMain main);
};

#define CORVELLE_HOST_SCENARIO(name)                                                       \
  static int ScenarioMain_##name(const std::string& argument);                             \
  static ::corvelle::host::ScenarioRegistration scenarioRegistration_##name(#name,          \
                                                                             &ScenarioMain_##name); \
  static int ScenarioMain_##name(const std::string& argument)

constexpr int kChildCrashed = 3;

struct ChildResult {
  bool started = false;
  bool finished = false;      // false: still running at the time limit, and ended
  DWORD exitCode = 0;
  double milliseconds = 0;
};

ChildResult RunScenarioInChild(const std::string& name, const std::string& argument, DWORD timeLimitMs);

// For the host's main(): when the command line asks for a scenario
// (--scenario=NAME and --scenario-argument=TEXT), runs it and gives its result.
bool RunRequestedScenario(const std::string& name, const std::string& argument, int* exitCode);

}  // namespace corvelle::host
