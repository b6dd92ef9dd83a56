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
  int exitCode = -1;       // -1 when it did not end by itself
  std::string standardError;
};

class ProgramRun {
 public:
  // Copies the program into `dir`; arguments follow the program name.
  ProgramRun(const TempDir& dir, const std::vector<std::string>& arguments) {
    program_ = (dir.path() / "morvex").string();
    std::filesystem::copy_file(MORVEX_PROGRAM, program_, std::filesystem::copy_options::overwrite_existing);
    errorPath_ = (dir.path() / "stderr.txt").string();
    pid_ = fork();
    if (pid_ == 0) {
      const int err = open(errorPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      dup2(err, 2);
      const int null = open("/dev/null", O_RDWR);
      dup2(null, 0);
      dup2(null, 1);
      if (chdir(dir.path().c_str()) != 0) _exit(126);
      unsetenv("DISPLAY");
      unsetenv("WAYLAND_DISPLAY");
      std::vector<char*> argv{program_.data()};
      std::vector<std::string> copies = arguments;
      for (auto& a : copies) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(program_.c_str(), argv.data());
      _exit(127);
    }
  }

  // Whether the program is still running after `duration`.
  bool RunsFor(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
    int status = 0;
    return waitpid(pid_, &status, WNOHANG) == 0;
  }

  // Waits up to `timeout` until the program holds `file` open at `offset` or beyond (the sound is
  // read past its header once the message loop runs); false when it ends or never gets there.
  bool ReadsBeyond(const std::string& file, long long offset, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    const std::filesystem::path fds = "/proc/" + std::to_string(pid_) + "/fd";
    while (std::chrono::steady_clock::now() < deadline) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) != 0) return false;
      std::error_code error;
      for (const auto& fd : std::filesystem::directory_iterator(fds, error)) {
        if (std::filesystem::read_symlink(fd.path(), error) != file) continue;
        const std::string info = ReadFileBytes("/proc/" + std::to_string(pid_) + "/fdinfo/" +
                                               fd.path().filename().string());
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
    for (;;) {
      const pid_t done = waitpid(pid_, &status, WNOHANG);
      if (done == pid_) {
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        break;
      }
      if (std::chrono::steady_clock::now() >= deadline) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    result.standardError = ReadFileBytes(errorPath_);
    return result;
  }

  void Signal(int signal) { kill(pid_, signal); }

 private:
  std::string program_;
  std::string errorPath_;
  pid_t pid_ = -1;
};

}  // namespace test_support
