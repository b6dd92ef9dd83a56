// The progress line on standard error while a long file renders, only when that is a terminal.
#pragma once

#include <cstdint>

class RenderProgress {
 public:
  RenderProgress(const char* what, int64_t total);
  ~RenderProgress();
  void Step(int64_t done);

 private:
  const char* what_;
  int64_t total_;
  int32_t shown_ = -1;  // the percentage on the line now
  bool terminal_;
};
