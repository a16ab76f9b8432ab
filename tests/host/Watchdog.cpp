#include "Watchdog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace corvelle::host {
namespace {

std::atomic<const char*> g_test{nullptr};
std::atomic<DWORD> g_testStarted{0};
std::atomic<const char*> g_waitingFor{nullptr};
std::atomic<UINT> g_message{0};
std::atomic<DWORD> g_dispatchStarted{0};
std::atomic<bool> g_dispatching{false};
char g_windowClass[64] = {};  // written by the GUI thread before g_dispatching is set

unsigned LimitSeconds() {
  const char* value = std::getenv("CORVELLE_HOST_TEST_LIMIT_S");
  const long seconds = value != nullptr ? std::strtol(value, nullptr, 10) : 0;
  return seconds > 0 ? static_cast<unsigned>(seconds) : kDefaultTestLimitS;
}

class Watch : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo& info) override {
    m_name = std::string(info.test_suite_name()) + "." + info.name();
    g_testStarted = GetTickCount();
    g_test = m_name.c_str();
  }
  void OnTestEnd(const testing::TestInfo&) override { g_test = nullptr; }

  std::string m_name;
};

DWORD WINAPI Watching(void* limitSeconds) {
  const DWORD limitMs = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(limitSeconds)) * 1000;
  for (;;) {
    Sleep(1000);
    const char* test = g_test;
    if (test == nullptr || GetTickCount() - g_testStarted < limitMs) continue;
    const char* waiting = g_waitingFor;
    std::printf("[  FAILED  ] %s: still running after %lu s, the host's bound for a test\n", test,
                static_cast<unsigned long>(limitMs / 1000));
    std::printf("corvelle-host: watchdog: %s waits for %s", test, waiting != nullptr ? waiting : "nothing it named");
    if (g_dispatching) {
      std::printf("; the host's loop is inside message %04X to a '%s' window, dispatched %lu s ago",
                  static_cast<unsigned>(g_message), g_windowClass,
                  static_cast<unsigned long>((GetTickCount() - g_dispatchStarted) / 1000));
    } else {
      std::printf("; the host's loop is not inside a message");
    }
    std::printf("\n");
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), 4);
  }
}

}  // namespace

void StartWatchdog() {
  testing::UnitTest::GetInstance()->listeners().Append(new Watch);
  const UINT_PTR seconds = LimitSeconds();
  HANDLE thread = CreateThread(nullptr, 0, &Watching, reinterpret_cast<void*>(seconds), 0, nullptr);
  if (thread != nullptr) CloseHandle(thread);
}

Waiting::Waiting(const char* what, bool fallback) : m_outer(g_waitingFor) {
  if (!fallback || m_outer == nullptr) g_waitingFor = what;
}
Waiting::~Waiting() { g_waitingFor = m_outer; }

void DispatchBegins(const MSG& message) {
  if (GetClassNameA(message.hwnd, g_windowClass, sizeof g_windowClass) == 0) g_windowClass[0] = '\0';
  g_message = message.message;
  g_dispatchStarted = GetTickCount();
  g_dispatching = true;
}

void DispatchEnds() { g_dispatching = false; }

}  // namespace corvelle::host
