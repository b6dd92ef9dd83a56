#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/display/qt/repaint_slots.h"

namespace morvex::display::qt {
namespace {

HWND Handle(uintptr_t value) { return reinterpret_cast<HWND>(value); }

TEST(QtRepaintSlotsTest, OnlyTheFirstDrawingCallAfterAPaintRequests) {
  RepaintSlots slots;
  const auto first = slots.add(Handle(0x100));
  const auto second = slots.add(Handle(0x110));
  ASSERT_TRUE(first && second);
  EXPECT_NE(*first, *second);
  EXPECT_EQ(slots.raise(Handle(0x100)), first);
  EXPECT_EQ(slots.raise(Handle(0x100)), std::nullopt);
  EXPECT_EQ(slots.raise(Handle(0x110)), second);  // each window has its own flag
  slots.lower(*first);
  EXPECT_EQ(slots.raise(Handle(0x100)), first);
  EXPECT_EQ(slots.raise(Handle(0x999)), std::nullopt);  // not a shown window
}

TEST(QtRepaintSlotsTest, RemovedWindowFreesItsSlotWithTheFlagDown) {
  RepaintSlots slots;
  const auto slot = slots.add(Handle(0x100));
  ASSERT_TRUE(slot);
  EXPECT_TRUE(slots.raise(Handle(0x100)));
  slots.remove(*slot);
  EXPECT_EQ(slots.raise(Handle(0x100)), std::nullopt);
  EXPECT_EQ(slots.add(Handle(0x120)), slot);
  EXPECT_EQ(slots.raise(Handle(0x120)), slot);
}

TEST(QtRepaintSlotsTest, FullTableRefusesFurtherWindows) {
  RepaintSlots slots;
  for (int i = 0; i < RepaintSlots::kCapacity; ++i) ASSERT_TRUE(slots.add(Handle(0x1000 + 16 * i)));
  EXPECT_EQ(slots.add(Handle(0x100000)), std::nullopt);
  EXPECT_EQ(slots.raise(Handle(0x100000)), std::nullopt);
}

TEST(QtRepaintSlotsTest, RacingDrawingThreadsRequestOncePerPaint) {
  RepaintSlots slots;
  const auto slot = slots.add(Handle(0x100));
  ASSERT_TRUE(slot);
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
