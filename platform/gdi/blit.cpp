// BitBlt: block transfers between surfaces or within one, clipped at both ends.
#include <algorithm>
#include <cstring>
#include <functional>
#include <utility>

#include "platform/gdi/dc.h"
#include "platform/gdi/raster.h"

using namespace morvex::gdi;

namespace {

enum class Operation { Copy, And, Or };

bool OperationOf(DWORD rop, Operation& operation) {
  switch (rop) {
    case SRCCOPY: operation = Operation::Copy; return true;
    case SRCAND: operation = Operation::And; return true;
    case SRCPAINT: operation = Operation::Or; return true;
    default: return false;
  }
}

uint32_t Combine(Operation operation, uint32_t source, uint32_t dest) {
  switch (operation) {
    case Operation::And: return source & dest;
    case Operation::Or: return source | dest;
    default: return source;
  }
}

// One row of `count` pixels; returns the stretch [first, end) of it that changed, empty when
// none did. Source and destination may overlap (a surface onto itself): copies move like memmove,
// and the combining operations run from the end when the destination lies to the right of its
// source, so every source pixel is read before it is overwritten. A copy of a row that holds the
// same pixels already writes nothing, so a picture copied again unchanged marks nothing for the
// display to show again.
std::pair<int64_t, int64_t> TransferRow(Operation operation, uint32_t* dest, const uint32_t* source, int64_t count) {
  if (operation == Operation::Copy) {
    if (std::memcmp(dest, source, static_cast<size_t>(count) * sizeof(uint32_t)) == 0) return {0, 0};
    // Only the stretch between the first and the last differing block of pixels moves: a
    // curve redrawn over its background differs in a few pixels of each row.
    constexpr int64_t kBlock = 16;
    constexpr size_t kBlockBytes = kBlock * sizeof(uint32_t);
    int64_t first = 0;
    while (first + kBlock <= count && std::memcmp(dest + first, source + first, kBlockBytes) == 0) first += kBlock;
    int64_t end = count;
    while (end - kBlock >= first && std::memcmp(dest + end - kBlock, source + end - kBlock, kBlockBytes) == 0) end -= kBlock;
    std::memmove(dest + first, source + first, static_cast<size_t>(end - first) * sizeof(uint32_t));
    return {first, end};
  }
  if (std::greater<const uint32_t*>()(dest, source)) {
    for (int64_t i = count - 1; i >= 0; --i) dest[i] = Combine(operation, source[i], dest[i]);
  } else {
    for (int64_t i = 0; i < count; ++i) dest[i] = Combine(operation, source[i], dest[i]);
  }
  return {0, count};
}

// Holds both contexts and both surfaces for one transfer, in the fixed lock order (contexts,
// then surfaces, each pair by address).
class TransferLocks {
 public:
  TransferLocks(Dc& dest, Dc& source)
      : contexts_(LockInOrder(dest.mutex, source.mutex)), dest_(dest.surface), source_(source.surface) {
    if (dest_ && source_) surfaces_ = LockInOrder(dest_->mutex(), source_->mutex());
  }
  const std::shared_ptr<Surface>& dest() const { return dest_; }
  const std::shared_ptr<Surface>& source() const { return source_; }

 private:
  LockPair contexts_;
  std::shared_ptr<Surface> dest_;
  std::shared_ptr<Surface> source_;
  LockPair surfaces_;
};

// The destination rectangle is clipped to the destination surface and to the image of the source
// surface, so no pixel is read or written outside either; pixels whose source lies outside are
// left as they were.
bool SourceTransfer(Dc& destDc, Dc& sourceDc, Operation operation, Box box, int srcX, int srcY) {
  std::shared_ptr<Surface> dest;
  {
    TransferLocks locks(destDc, sourceDc);
    if (!locks.dest()) return true;
    if (!locks.source()) return false;
    Surface& to = *locks.dest();
    Surface& from = *locks.source();
    const int64_t offsetX = static_cast<int64_t>(srcX) - box.left;
    const int64_t offsetY = static_cast<int64_t>(srcY) - box.top;
    box = ClipToSurface(to, box);
    box.left = std::max(box.left, -offsetX);
    box.top = std::max(box.top, -offsetY);
    box.right = std::min(box.right, from.width() - offsetX);
    box.bottom = std::min(box.bottom, from.height() - offsetY);
    if (box.left >= box.right || box.top >= box.bottom) return true;
    // Moving a picture down within one surface goes bottom row first.
    const bool bottomFirst = &to == &from && offsetY < 0;
    // Copying the same rectangle from the same source again: only the columns either side has
    // changed since can differ, the rest hold the same pixels already (the status display
    // copies its picture 100 times a second, the FFT graph its grid and curve 185 times).
    Surface::LastCopy& last = to.lastCopy();
    const bool repeated = operation == Operation::Copy && &to != &from && last.sourceSerial == from.serial() &&
                          last.offsetX == offsetX && last.offsetY == offsetY && last.box.left == box.left &&
                          last.box.top == box.top && last.box.right == box.right && last.box.bottom == box.bottom;
    const Surface::LastCopy previous = last;
    Box changed{0, 0, 0, 0};
    for (int64_t i = 0; i < box.bottom - box.top; ++i) {
      const int64_t y = bottomFirst ? box.bottom - 1 - i : box.top + i;
      int64_t left = box.left;
      int64_t right = box.right;
      if (repeated) {
        const auto [destLeft, destRight] = to.changedColumns(y, previous.destCount);
        const auto [sourceLeft, sourceRight] = from.changedColumns(y + offsetY, previous.sourceCount);
        const Box columns = Union({destLeft, 0, destRight, 1}, {sourceLeft - offsetX, 0, sourceRight - offsetX, 1});
        left = std::max(left, columns.left);
        right = std::min(right, columns.right);
        if (left >= right) continue;
      }
      uint32_t* destRow = to.pixels() + (y * to.width() + left);
      const uint32_t* sourceRow = from.pixels() + ((y + offsetY) * from.width() + left + offsetX);
      const auto [first, end] = TransferRow(operation, destRow, sourceRow, right - left);
      if (first < end) {
        to.markRowChanged(y, left + first, left + end);
        changed = Union(changed, {left + first, y, left + end, y + 1});
      }
    }
    if (!IsEmpty(changed)) {
      to.dirty().add(changed);
      dest = locks.dest();
    }
    if (operation == Operation::Copy && &to != &from) {
      last = {from.serial(), box, offsetX, offsetY, from.changeCount(), to.changeCount()};
    } else {
      last.sourceSerial = 0;
    }
    to.markCopied();
    from.markCopied();
  }
  if (!dest) return true;
  dest->notifyChanged();
  return true;
}

}  // namespace

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop) {
  Operation operation;
  if (!dest || !OperationOf(rop, operation)) return FALSE;
  if (width <= 0 || height <= 0) return TRUE;
  const Box box{x, y, static_cast<int64_t>(x) + width, static_cast<int64_t>(y) + height};
  if (!src) return FALSE;
  return SourceTransfer(*DcFromHandle(dest), *DcFromHandle(src), operation, box, srcX, srcY) ? TRUE : FALSE;
}
