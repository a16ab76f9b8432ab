// The host's watchdog: a test that runs past its bound ends the run at once,
// saying which test it was, what it waited for and which message the host's
// loop was inside, rather than the whole suite dying silently at the test
// runner's own limit. A hang inside the plug-in holds the GUI thread, so a
// thread of its own keeps the time.
#pragma once

#include <windows.h>

namespace corvelle::host {

// Starts the watch for every test of the run. The bound is
// CORVELLE_HOST_TEST_LIMIT_S seconds (the benchmarks and the picture session
// give theirs), else kDefaultTestLimitS.
constexpr unsigned kDefaultTestLimitS = 240;
void StartWatchdog();

// What the test waits for while it is alive: the innermost one counts, but
// a `fallback` only names a wait that nothing outside it named yet.
class Waiting {
 public:
  explicit Waiting(const char* what, bool fallback = false);
  ~Waiting();
  Waiting(const Waiting&) = delete;
  Waiting& operator=(const Waiting&) = delete;

 private:
  const char* m_outer;
};

// Called by the host's loop around each message it dispatches.
void DispatchBegins(const MSG& message);
void DispatchEnds();

}  // namespace corvelle::host
