// Integer arithmetic of the spectrum path. Sums are 32-bit two's complement and a
// double product is truncated toward zero into 32 bits; both are defined for every
// operand (a sum that overflows wraps, a product outside the 32-bit range or not a
// number becomes INT32_MIN, as the x86 conversion gives it), so scalar and vector
// code agree to the bit even on input that overflows.
#pragma once

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// 2π, 4π and π as the single-precision values every spectrum formula uses.
inline constexpr float kTwoPi = 6.2831855f;
inline constexpr float kFourPi = 12.566371f;
inline constexpr float kPi = 3.1415927f;

inline int32_t TruncToInt32(double v) {
#if defined(__SSE2__)
  return _mm_cvttsd_si32(_mm_set_sd(v));
#else
  if (v > -2147483649.0 && v < 2147483648.0) {
    return static_cast<int32_t>(v);
  }
  return INT32_MIN;
#endif
}

inline int32_t WrapAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

inline int32_t WrapSub(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
