#include "analysis/shared_spectrum.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

namespace {

// Sizes outside the room are held to it; `ready` is set again by each publication.
TEST(SharedSpectrumPublication, ACopyReturnsTheLatestSizeHeldToTheRoom) {
  std::vector<int32_t> out(kSpectrumRoom, 7);
  SharedSpectrum.ready = 0;
  PublishSpectrum(out.data(), kSpectrumRoom + 100);
  EXPECT_EQ(SharedSpectrum.ready, 1);
  EXPECT_EQ(CopySpectrum(out.data(), 1), kSpectrumRoom);
  PublishSpectrum(out.data(), -5);
  EXPECT_EQ(CopySpectrum(out.data(), 1), 0);
}

// A reader never sees bins of two cycles in one copy: the producer publishes spectra constant over
// their bins, the cycle as the value and a size alternating with it, as fast as it can; two readers
// (more threads than cores, so that copies get interrupted and overtaken) check every copy is whole.
TEST(SharedSpectrumPublication, ConcurrentCopiesAreNeverAMixtureOfCycles) {
  std::atomic<bool> stop{false};
  std::atomic<int32_t> published{0}, mixtures{0}, copies{0};
  std::thread producer([&] {
    std::vector<int32_t> bins(kSpectrumRoom);
    for (int32_t cycle = 1; !stop.load(); ++cycle) {
      const int32_t n = cycle % 2 == 0 ? kSpectrumRoom / 2 : kSpectrumRoom;
      std::fill(bins.begin(), bins.begin() + n, cycle);
      PublishSpectrum(bins.data(), n);
      published = cycle;
    }
  });
  while (published.load() < 1) std::this_thread::yield();
  auto reader = [&] {
    std::vector<int32_t> out(kSpectrumRoom);
    // At least 400 ms and 50 copies per reader, however slow the build (sanitizers) or the machine.
    const auto start = std::chrono::steady_clock::now();
    for (int32_t own = 0; own < 50 || std::chrono::steady_clock::now() - start < std::chrono::milliseconds(400);
         ++own) {
      const int32_t n = CopySpectrum(out.data(), kSpectrumRoom);
      const int32_t value = out[0];
      const bool whole = n == (value % 2 == 0 ? kSpectrumRoom / 2 : kSpectrumRoom) &&
                         std::all_of(out.begin(), out.begin() + n, [value](int32_t v) { return v == value; });
      mixtures += whole ? 0 : 1;
      ++copies;
    }
  };
  std::thread second(reader);
  reader();
  second.join();
  stop = true;
  producer.join();
  EXPECT_EQ(mixtures, 0);
  EXPECT_GT(published, copies / 10);  // the producer kept overtaking the readers
}

}  // namespace
