#include "analysis/window_function.h"

#include <algorithm>
#include <cmath>

#include "analysis/fft_arith.h"

const WindowKind WindowKinds[kWindowKindCount] = {
    {'t', "triangle", "windowfunc:triangle"},
    {'n', "hanning", "windowfunc:hanning"},
    {'g', "gause", "windowfunc:gauss(+-4.24)"},
    {'m', "hamming", "windowfunc:hamming"},
    {'h', "blackman-harris", "windowfunc:blackman-harris"},
    {'r', "rosen-field", "windowfunc:rosen field"},
    {'s', "sin", "windowfunc:sin"},
    {'b', "blackman", "windowfunc:blackman"},
    {'f', "flattop", "windowfunc:flat top"},
    {'z', "none", "windowfunc:none(rectangular wave)"},
};

float WindowTable[kWindowTableRoom];
std::atomic<const char*> WindowLabel{""};
std::atomic<int32_t> WindowRebuild{1};

namespace {

// Angles from the single-precision 2π and 4π and an integer index, in double.
double TwoPiAngle(int i, int m) { return static_cast<double>(kTwoPi) * i / m; }
double FourPiAngle(int i, int m) { return static_cast<double>(kFourPi) * i / m; }

// The kinds whose value is a function of the angle of each sample over the block.
template <typename Shape>
void FillOverBlock(float* w, int m, Shape shape) {
  for (int i = 0; i < m; ++i) {
    w[i] = static_cast<float>(shape(i));
  }
}

// The kinds symmetric about the centre sample h: the value for distance j is stored
// at h+j and h-j for j < h, and sample 0 takes the value for j = h.
template <typename Shape>
void FillAroundCentre(float* w, int m, Shape shape) {
  const int h = m / 2;
  for (int j = 0; j < h; ++j) {
    w[h + j] = w[h - j] = static_cast<float>(shape(j));
  }
  w[0] = static_cast<float>(shape(h));
}

// Rises by an accumulated float step from 0 at sample 0 to 1 at the centre.
void BuildTriangle(float* w, int m) {
  const int h = m / 2;
  const float d = static_cast<float>(1.0 / h);
  float v = 0.0f;
  for (int i = 0; i < h; ++i) {
    w[i] = v;
    if (i >= 1) {
      w[m - i] = v;
    }
    v = v + d;
  }
  w[h] = 1.0f;
}

// exp(-v²/4) with v accumulated in float steps of 4.24/h away from the centre;
// sample 0 takes v = 4.24.
void BuildGauss(float* w, int m) {
  const int h = m / 2;
  const auto gauss = [](float v) { return std::exp(-(static_cast<double>(v) * v) / 4.0); };
  const float d = static_cast<float>(4.24 / h);
  float v = 0.0f;
  for (int j = 0; j < h; ++j) {
    w[h + j] = w[h - j] = static_cast<float>(gauss(v));
    v = v + d;
  }
  w[0] = static_cast<float>(gauss(4.24f));
}

// sin(π·v) with v accumulated in float steps of 1/m.
void BuildSine(float* w, int m) {
  const float d = static_cast<float>(1.0 / m);
  float v = 0.0f;
  for (int i = 0; i < m; ++i) {
    w[i] = static_cast<float>(std::sin(static_cast<double>(kPi) * v));
    v = v + d;
  }
}

void BuildShape(char letter, float* w, int m) {
  switch (letter) {
    case 't':
      BuildTriangle(w, m);
      break;
    case 'n':
      FillOverBlock(w, m, [m](int i) { return 0.5 - 0.5 * std::cos(TwoPiAngle(i, m)); });
      break;
    case 'g':
      BuildGauss(w, m);
      break;
    case 'm':
      FillOverBlock(w, m, [m](int i) { return 0.54 - 0.46 * std::cos(TwoPiAngle(i, m)); });
      break;
    case 'h':
      FillOverBlock(w, m, [m](int i) {
        return 0.423 - 0.498 * std::cos(TwoPiAngle(i, m)) + 0.0792 * std::cos(FourPiAngle(i, m));
      });
      break;
    case 'r':
      FillOverBlock(w, m, [m](int i) {
        return ((0.762 - std::cos(TwoPiAngle(i, m))) + 0.238 * std::cos(FourPiAngle(i, m))) / 2.0;
      });
      break;
    case 's':
      BuildSine(w, m);
      break;
    case 'b':
      // Normalised by m-1, so the centre value is 1.
      FillAroundCentre(w, m, [m](int j) {
        return 0.42 + 0.5 * std::cos(TwoPiAngle(j, m - 1)) + 0.08 * std::cos(FourPiAngle(j, m - 1));
      });
      break;
    case 'f':
      // A Hamming-weighted sinc scaled by 255/256; the centre is set to exactly 1.
      FillAroundCentre(w, m, [m](int j) {
        if (j == 0) {
          return 1.0;
        }
        const double a = TwoPiAngle(j, m);
        return (0.54 + 0.46 * std::cos(a)) * (std::sin(2 * a) / (2 * a)) * 255.0 / 256.0;
      });
      break;
    default:  // 'z'
      std::fill(w, w + m, 1.0f);
      break;
  }
}

}  // namespace

const WindowKind* FindWindowKind(char letter) {
  for (const WindowKind& kind : WindowKinds) {
    if (kind.letter == letter) {
      return &kind;
    }
  }
  return nullptr;
}

void BuildWindow(char wfkind, int m) {
  const WindowKind* kind = FindWindowKind(wfkind);
  if (kind == nullptr || m < 2 || m >= kWindowTableRoom) {
    return;
  }
  BuildShape(kind->letter, WindowTable, m);
  WindowLabel.store(kind->builtLabel, std::memory_order_relaxed);
}

void ApplyWindow(int32_t* x, int m) {
  const int count = std::min(m, kWindowTableRoom);
  int i = 0;
#if defined(__SSE2__)
  // Four samples per step, two products per double vector: the same conversions,
  // product and truncation as one sample at a time.
  for (; i + 4 <= count; i += 4) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(x + i));
    const __m128 w = _mm_loadu_ps(WindowTable + i);
    const __m128d low = _mm_mul_pd(_mm_cvtepi32_pd(v), _mm_cvtps_pd(w));
    const __m128d high = _mm_mul_pd(_mm_cvtepi32_pd(_mm_shuffle_epi32(v, 0xee)), _mm_cvtps_pd(_mm_movehl_ps(w, w)));
    const __m128i product = _mm_unpacklo_epi64(_mm_cvttpd_epi32(low), _mm_cvttpd_epi32(high));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(x + i), product);
  }
#endif
  for (; i < count; ++i) {
    x[i] = TruncToInt32(static_cast<double>(x[i]) * WindowTable[i]);
  }
}

void WindowSamples(int32_t* x, char wfkind, int m) {
  // Clearing the request before building keeps a request made during the build.
  if (WindowRebuild.exchange(0) != 0) {
    BuildWindow(wfkind, m);
  }
  if (wfkind != 'z') {
    ApplyWindow(x, m);
  }
}
