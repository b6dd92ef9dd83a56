// Sample bytes that tell where in a file they came from, and a piece of them, for checking what a
// device played.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace test_support {

inline std::vector<uint8_t> Pattern(size_t count, uint32_t seed = 12345) {
  std::vector<uint8_t> bytes(count);
  uint32_t state = seed;
  for (uint8_t& b : bytes) {
    state = state * 1664525u + 1013904223u;
    b = static_cast<uint8_t>(state >> 24);
  }
  return bytes;
}

inline std::vector<uint8_t> Slice(const std::vector<uint8_t>& bytes, size_t from, size_t count) {
  return std::vector<uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                              bytes.begin() + static_cast<std::ptrdiff_t>(from + count));
}

}  // namespace test_support
