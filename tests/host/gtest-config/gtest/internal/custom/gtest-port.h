// GoogleTest's port customisation for the mingw-w64 "win32" thread model,
// which lacks std::mutex and std::condition_variable. GoogleTest needs them
// only for its Notification, which this single-threaded host never waits on;
// a flag that is polled stands in for it.
#ifndef CORVELLE_HOST_GTEST_CUSTOM_PORT_H_
#define CORVELLE_HOST_GTEST_CUSTOM_PORT_H_

#include <atomic>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
 public:
  Notification() : m_notified(false) {}
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { m_notified.store(true); }
  void WaitForNotification() {
    while (!m_notified.load()) {
    }
  }

 private:
  std::atomic<bool> m_notified;
};

}  // namespace internal
}  // namespace testing

#endif  // CORVELLE_HOST_GTEST_CUSTOM_PORT_H_
