// The spectrogram's numbers: one line per column, its time in seconds, then the level of each
// bin from 0 Hz to the Nyquist frequency, under a header line with the bin frequencies.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

class SpectrumCsv {
 public:
  // False from ok() when the file cannot be made.
  explicit SpectrumCsv(const std::string& path);
  ~SpectrumCsv();
  SpectrumCsv(const SpectrumCsv&) = delete;
  SpectrumCsv& operator=(const SpectrumCsv&) = delete;

  bool ok() const { return file_ != nullptr; }
  // "time" and the frequency of bin k, k · rate / n, for k = 0 .. count - 1.
  void Header(int32_t rate, int32_t n, int32_t count);
  void Row(double seconds, const int32_t* bins, int32_t count);
  // Closes the file; false when anything could not be written.
  bool Close();

 private:
  void Put(const char* text, size_t length);
  FILE* file_;
};
