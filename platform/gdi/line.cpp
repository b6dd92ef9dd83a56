#include "platform/gdi/line.h"

#include <algorithm>

#include "platform/gdi/raster.h"

namespace morvex::gdi {

namespace {

// The pixel at step i has its minor coordinate q(i) = floor((2 * minorDelta * i + bias) /
// (2 * majorDelta)) steps away from the start, with bias majorDelta - 1 when the minor
// coordinate grows (ties go back towards the start, i.e. to the smaller coordinate) and
// majorDelta when it shrinks (ties go forward, again to the smaller coordinate). The state keeps
// q and the remainder so that each further step is one addition.
struct MinorStepper {
  uint64_t minorDelta;
  uint64_t twiceMajor;
  uint64_t quotient;
  uint64_t remainder;

  MinorStepper(uint64_t majorDelta, uint64_t minor, uint64_t bias, uint64_t firstStep)
      : minorDelta(minor), twiceMajor(2 * majorDelta) {
    // 2 * minor * i may exceed 64 bits; minor * i does not (both are below 2^32).
    const uint64_t product = minor * firstStep;
    const uint64_t partial = 2 * (product % majorDelta) + bias;
    quotient = product / majorDelta + partial / twiceMajor;
    remainder = partial % twiceMajor;
  }

  void advance() {
    remainder += 2 * minorDelta;
    if (remainder >= twiceMajor) {
      remainder -= twiceMajor;
      ++quotient;
    }
  }
};

}  // namespace

void DrawLine(Surface& surface, int x0, int y0, int x1, int y1, uint32_t pixel) {
  const int64_t dx = static_cast<int64_t>(x1) - x0;
  const int64_t dy = static_cast<int64_t>(y1) - y0;
  const bool xMajor = (dx < 0 ? -dx : dx) > (dy < 0 ? -dy : dy);
  const int64_t majorStart = xMajor ? x0 : y0;
  const int64_t minorStart = xMajor ? y0 : x0;
  const int64_t majorSigned = xMajor ? dx : dy;
  const int64_t minorSigned = xMajor ? dy : dx;
  const uint64_t majorDelta = static_cast<uint64_t>(majorSigned < 0 ? -majorSigned : majorSigned);
  const uint64_t minorDelta = static_cast<uint64_t>(minorSigned < 0 ? -minorSigned : minorSigned);
  if (majorDelta == 0) return;  // a line to its own start point draws nothing
  const int64_t majorStep = majorSigned < 0 ? -1 : 1;
  const int64_t minorStep = minorSigned < 0 ? -1 : 1;

  // Steps whose pixel lies on the surface along the major axis.
  const int64_t lowest = 0;
  const int64_t highest = (xMajor ? surface.width() : surface.height()) - 1;
  int64_t first = 0;
  int64_t last = static_cast<int64_t>(majorDelta) - 1;
  if (majorStep > 0) {
    first = std::max(first, lowest - majorStart);
    last = std::min(last, highest - majorStart);
  } else {
    first = std::max(first, majorStart - highest);
    last = std::min(last, majorStart - lowest);
  }
  if (first > last) return;

  const uint64_t bias = minorStep > 0 ? majorDelta - 1 : majorDelta;
  MinorStepper minor(majorDelta, minorDelta, bias, static_cast<uint64_t>(first));
  for (int64_t i = first; i <= last; ++i) {
    const int64_t major = majorStart + majorStep * i;
    const int64_t minorCoordinate = minorStart + minorStep * static_cast<int64_t>(minor.quotient);
    if (xMajor) {
      PlotPixel(surface, major, minorCoordinate, pixel);
    } else {
      PlotPixel(surface, minorCoordinate, major, pixel);
    }
    minor.advance();
  }
}

}  // namespace morvex::gdi
