// The program's flags are 0 or 1; a toggle makes 1 of 0 and 0 of anything else.
#pragma once

#include <atomic>
#include <cstdint>

inline int32_t Toggle(std::atomic<int32_t>& flag) {
  const int32_t value = flag == 0 ? 1 : 0;
  flag = value;
  return value;
}
