#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/display/qt/repaint_slots.h"

namespace morvex::display::qt {
namespace {

HWND Handle(uintptr_t value) { return reinterpret_cast<HWND>(value); }

// Only the first drawing call after a paint requests one, for shown windows only; a removed
// window frees its slot with no request left; a full table refuses further windows.
TEST(QtRepaintSlotsTest, OnlyTheFirstDrawingCallAfterAPaintRequests) {
  RepaintSlots slots;
  const auto first = slots.add(Handle(0x100));
  const auto second = slots.add(Handle(0x110));
  ASSERT_TRUE(first && second);
  EXPECT_NE(*first, *second);
  EXPECT_TRUE(slots.raise(Handle(0x110)));
  EXPECT_TRUE(slots.raise(Handle(0x100)));
  EXPECT_FALSE(slots.raise(Handle(0x100)));
  EXPECT_EQ(slots.takeRaised(0), first);
  EXPECT_EQ(slots.takeRaised(*first + 1), second);
  EXPECT_EQ(slots.takeRaised(0), std::nullopt);  // delivered once
  EXPECT_FALSE(slots.raise(Handle(0x100)));       // the window has not painted yet
  slots.lower(*first);
  EXPECT_TRUE(slots.raise(Handle(0x100)));
  EXPECT_FALSE(slots.raise(Handle(0x999)));
  slots.remove(*first);
  EXPECT_FALSE(slots.raise(Handle(0x100)));
  EXPECT_EQ(slots.add(Handle(0x130)), first);
  EXPECT_TRUE(slots.raise(Handle(0x130)));  // not stuck in the old window's state
  for (int i = 2; i < RepaintSlots::kCapacity; ++i) ASSERT_TRUE(slots.add(Handle(0x1000 + 16 * i)));
  EXPECT_EQ(slots.add(Handle(0x100000)), std::nullopt);
  EXPECT_FALSE(slots.raise(Handle(0x100000)));
}

TEST(QtRepaintSlotsTest, RacingDrawingThreadsRequestOncePerPaint) {
  RepaintSlots slots;
  ASSERT_TRUE(slots.add(Handle(0x100)));
  std::atomic<int> requests{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 10000; ++i) {
        if (slots.raise(Handle(0x100))) requests.fetch_add(1);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(requests.load(), 1);
}

}  // namespace
}  // namespace morvex::display::qt
