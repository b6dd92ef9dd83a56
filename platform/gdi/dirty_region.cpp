#include "platform/gdi/dirty_region.h"

#include <algorithm>

namespace morvex::gdi {
namespace {

int64_t Area(const Box& box) { return (box.right - box.left) * (box.bottom - box.top); }

// Overlapping or edge to edge: one box then covers both without covering anything else.
bool Touch(const Box& a, const Box& b) {
  return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

}  // namespace

Box Union(const Box& a, const Box& b) {
  if (IsEmpty(a)) return b;
  if (IsEmpty(b)) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

void DirtyRegion::add(const Box& box) {
  if (IsEmpty(box)) return;
  // Pixel by pixel drawing mostly lands inside the box it grew last.
  if (count_ > 0) {
    const Box& last = boxes_[last_];
    if (box.left >= last.left && box.top >= last.top && box.right <= last.right && box.bottom <= last.bottom) return;
  }
  for (int i = 0; i < count_; ++i) {
    if (Touch(boxes_[i], box)) {
      boxes_[i] = Union(boxes_[i], box);
      last_ = i;
      return;
    }
  }
  if (count_ < kCapacity) {
    last_ = count_;
    boxes_[count_++] = box;
    return;
  }
  int best = 0;
  int64_t bestGrowth = INT64_MAX;
  for (int i = 0; i < count_; ++i) {
    const int64_t growth = Area(Union(boxes_[i], box)) - Area(boxes_[i]);
    if (growth < bestGrowth) {
      bestGrowth = growth;
      best = i;
    }
  }
  boxes_[best] = Union(boxes_[best], box);
  last_ = best;
}

}  // namespace morvex::gdi
