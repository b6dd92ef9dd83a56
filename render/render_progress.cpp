#include "render/render_progress.h"

#include <unistd.h>

#include <cstdio>

RenderProgress::RenderProgress(const char* what, int64_t total)
    : what_(what), total_(total > 0 ? total : 1), terminal_(isatty(STDERR_FILENO) == 1) {}

RenderProgress::~RenderProgress() {
  if (terminal_ && shown_ >= 0) std::fputc('\n', stderr);
}

void RenderProgress::Step(int64_t done) {
  const auto percent = static_cast<int32_t>(done * 100 / total_);
  if (!terminal_ || percent == shown_) return;
  shown_ = percent;
  std::fprintf(stderr, "\rmorvex-render: %s %3d%%", what_, percent);
  std::fflush(stderr);
}
