#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/win32.h"

namespace {

TEST(WaitOnAddress, ReturnsAtOnceForAChangedValueAndAfterTheLimitForAnEqualOne) {
  std::atomic<int32_t> value{5};
  int32_t other = 4;
  EXPECT_TRUE(WaitOnAddress(&value, &other, 4, INFINITE));
  int32_t same = 5;
  SetLastError(0);
  EXPECT_FALSE(WaitOnAddress(&value, &same, 4, 1));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TIMEOUT));
  int64_t wide = 5;
  EXPECT_FALSE(WaitOnAddress(&value, &wide, 8, 1));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(WaitOnAddress, AWakeEndsTheWaitOfEveryWaiter) {
  std::atomic<int32_t> value{0};
  std::atomic<int32_t> woken{0};
  auto waiter = [&] {
    int32_t zero = 0;
    while (value.load() == 0) WaitOnAddress(&value, &zero, 4, INFINITE);
    woken.fetch_add(1);
  };
  std::thread a(waiter);
  std::thread b(waiter);
  value = 1;
  WakeByAddressAll(&value);
  a.join();
  b.join();
  EXPECT_EQ(woken.load(), 2);
}

}  // namespace
