// Runs morvex-render with arguments, capturing its standard output, standard error and exit code,
// and reads the pictures it writes.
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <string>
#include <vector>

#include "platform/win32.h"
#include "support/temp_dir.h"

namespace render_test {

struct RenderResult {
  int exitCode = -1;
  std::string out;
  std::string error;
};

inline RenderResult RunRender(const test_support::TempDir& dir, std::vector<std::string> arguments) {
  const std::string outPath = (dir.path() / "stdout.txt").string(), errorPath = (dir.path() / "stderr.txt").string();
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
    dup2(open(errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
    std::vector<char*> argv{const_cast<char*>(MORVEX_RENDER)};
    for (auto& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(MORVEX_RENDER, argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test_support::ReadFileBytes(outPath),
          test_support::ReadFileBytes(errorPath)};
}

// A pixel of a written picture as the platform's COLORREF.
inline COLORREF PixelAt(const QImage& image, int x, int y) {
  const QRgb rgb = image.pixel(x, y);
  return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

}  // namespace render_test
