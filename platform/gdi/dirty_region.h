// The part of a surface that drawing calls have changed since a display last showed it, kept as
// a few rectangles so that a display copies only those pixels. Fixed size: adding never
// allocates; when all rectangles are taken a new one joins the one it grows least.
#pragma once

#include <array>
#include <cstdint>

namespace morvex::gdi {

// A pixel rectangle; right and bottom are exclusive.
struct Box {
  int64_t left;
  int64_t top;
  int64_t right;
  int64_t bottom;
};

inline bool IsEmpty(const Box& box) { return box.left >= box.right || box.top >= box.bottom; }

// The smallest box holding both (an empty one counts as nothing).
Box Union(const Box& a, const Box& b);

class DirtyRegion {
 public:
  static constexpr int kCapacity = 4;

  void add(const Box& box);
  bool empty() const { return count_ == 0; }
  const Box* begin() const { return boxes_.data(); }
  const Box* end() const { return boxes_.data() + count_; }
  void clear() { count_ = 0; }

 private:
  std::array<Box, kCapacity> boxes_{};
  int count_ = 0;
  int last_ = 0;  // the box that grew last
};

}  // namespace morvex::gdi
