#include "render/render_csv.h"

#include <charconv>

SpectrumCsv::SpectrumCsv(const std::string& path) : file_(std::fopen(path.c_str(), "wb")) {}

SpectrumCsv::~SpectrumCsv() { Close(); }

void SpectrumCsv::Put(const char* text, size_t length) { std::fwrite(text, 1, length, file_); }

void SpectrumCsv::Header(int32_t rate, int32_t n, int32_t count) {
  Put("time", 4);
  char text[48];
  for (int32_t k = 0; k < count; ++k) {
    text[0] = ',';
    const auto end = std::to_chars(text + 1, text + sizeof text, static_cast<double>(k) * rate / n,
                                   std::chars_format::fixed, 3).ptr;
    Put(text, static_cast<size_t>(end - text));
  }
  Put("\n", 1);
}

void SpectrumCsv::Row(double seconds, const int32_t* bins, int32_t count) {
  char text[48];
  auto end = std::to_chars(text, text + sizeof text, seconds, std::chars_format::fixed, 6).ptr;
  Put(text, static_cast<size_t>(end - text));
  for (int32_t k = 0; k < count; ++k) {
    text[0] = ',';
    end = std::to_chars(text + 1, text + sizeof text, bins[k]).ptr;
    Put(text, static_cast<size_t>(end - text));
  }
  Put("\n", 1);
}

bool SpectrumCsv::Close() {
  if (!file_) return false;
  const bool written = std::ferror(file_) == 0;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  return written && closed;
}
