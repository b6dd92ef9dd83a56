// Runs the morvex program as a user would, without a display, from a copy in a private directory
// (where the settings file it writes beside itself lands), capturing its standard error.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_dir.h"

namespace test_support {

struct ProgramResult {
  int exitCode = -1;  // -1 when it did not end by itself
  std::string standardError;
};

class ProgramRun {
 public:
  ProgramRun(const TempDir& dir, std::vector<std::string> arguments) : errorPath_(dir.path() / "stderr.txt") {
    std::string program = (dir.path() / "morvex").string();
    std::filesystem::copy_file(MORVEX_PROGRAM, program, std::filesystem::copy_options::overwrite_existing);
    pid_ = fork();
    if (pid_ != 0) return;
    dup2(open(errorPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 1);
    if (chdir(dir.path().c_str()) != 0) _exit(126);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    std::vector<char*> argv{program.data()};
    for (auto& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }

  bool Running() {
    int status = 0;
    return waitpid(pid_, &status, WNOHANG) == 0;
  }

  // Waits up to `timeout` until the program holds `file` open at `offset` or beyond (the sound is
  // read past its header once the message loop runs); false when it ends or never gets there.
  bool ReadsBeyond(const std::string& file, long long offset, std::chrono::milliseconds timeout) {
    const std::string proc = "/proc/" + std::to_string(pid_);
    for (auto deadline = std::chrono::steady_clock::now() + timeout; std::chrono::steady_clock::now() < deadline;) {
      if (!Running()) return false;
      std::error_code error;
      for (const auto& fd : std::filesystem::directory_iterator(proc + "/fd", error)) {
        if (std::filesystem::read_symlink(fd.path(), error) != file) continue;
        const std::string info = ReadFileBytes(proc + "/fdinfo/" + fd.path().filename().string());
        if (info.rfind("pos:", 0) == 0 && std::stoll(info.substr(4)) >= offset) return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }

  // Waits up to `timeout` for the program to end by itself; kills it after that.
  ProgramResult Wait(std::chrono::milliseconds timeout) {
    ProgramResult result;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    bool killed = false;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() >= deadline) killed = kill(pid_, SIGKILL) == 0;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!killed) result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.standardError = ReadFileBytes(errorPath_);
    return result;
  }

  void Signal(int signal) { kill(pid_, signal); }

 private:
  std::string errorPath_;
  pid_t pid_ = -1;
};

}  // namespace test_support
