// GoogleTest for the -win32 flavour of mingw-w64, whose C++ library has no
// std::mutex or std::condition_variable (GCC before 13): the one class of
// GoogleTest built from them, Notification, supplied without them. It only
// starts GoogleTest's own helper threads, which lumo calc's tests never use,
// so waiting by polling an atomic flag is enough. Included into every
// translation unit of GoogleTest and its tests by the cross build.
#pragma once

#include <atomic>

namespace testing::internal {

class Notification {
 public:
  Notification() = default;
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { notified_.store(true); }
  void WaitForNotification() {
    while (!notified_.load()) {
    }
  }

 private:
  std::atomic<bool> notified_{false};
};

}  // namespace testing::internal

#define GTEST_HAS_NOTIFICATION_ 1
