// Writes the demo sound: stereo, 16-bit, 44100 Hz, a few seconds of steady tones
// (440 Hz left, 1000 Hz right, 5000 Hz on both) with a logarithmic sweep from
// 50 Hz to 15 kHz mixed in, so every view has something recognisable to show.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

void putLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: make_demo_wav OUTPUT.wav [SECONDS]\n");
    return 2;
  }
  const int seconds = argc > 2 ? std::atoi(argv[2]) : 8;
  if (seconds < 1 || seconds > 600) {
    std::fprintf(stderr, "make_demo_wav: seconds must be 1 to 600\n");
    return 2;
  }
  const uint32_t rate = 44100;
  const uint32_t frames = rate * static_cast<uint32_t>(seconds);
  const uint32_t dataBytes = frames * 4;

  std::vector<uint8_t> wav;
  wav.reserve(44 + dataBytes);
  for (char c : {'R', 'I', 'F', 'F'}) wav.push_back(static_cast<uint8_t>(c));
  putLe(wav, 36 + dataBytes, 4);
  for (char c : {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '}) wav.push_back(static_cast<uint8_t>(c));
  putLe(wav, 16, 4);
  putLe(wav, 1, 2);          // PCM
  putLe(wav, 2, 2);          // channels
  putLe(wav, rate, 4);
  putLe(wav, rate * 4, 4);   // bytes per second
  putLe(wav, 4, 2);          // block align
  putLe(wav, 16, 2);         // bits per sample
  for (char c : {'d', 'a', 't', 'a'}) wav.push_back(static_cast<uint8_t>(c));
  putLe(wav, dataBytes, 4);

  const double twoPi = 6.283185307179586;
  const double sweepFrom = 50.0, sweepTo = 15000.0;
  const double duration = seconds;
  const double k = std::log(sweepTo / sweepFrom) / duration;
  for (uint32_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / rate;
    const double sweepPhase = twoPi * sweepFrom * (std::exp(k * t) - 1.0) / k;
    const double sweep = 0.25 * std::sin(sweepPhase);
    const double common = 0.15 * std::sin(twoPi * 5000.0 * t);
    const double left = 0.35 * std::sin(twoPi * 440.0 * t) + common + sweep;
    const double right = 0.35 * std::sin(twoPi * 1000.0 * t) + common + sweep;
    putLe(wav, static_cast<uint16_t>(static_cast<int16_t>(std::lround(left * 32767.0))), 2);
    putLe(wav, static_cast<uint16_t>(static_cast<int16_t>(std::lround(right * 32767.0))), 2);
  }

  FILE* f = std::fopen(argv[1], "wb");
  if (!f || std::fwrite(wav.data(), 1, wav.size(), f) != wav.size() || std::fclose(f) != 0) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}
