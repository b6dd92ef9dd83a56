#include "app/settings_file.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "analysis/window_function.h"
#include "app/settings_keys.h"

std::atomic<int32_t> KeyboardShortcutsEnabled{0};

namespace {

// Lines are read in pieces of at most 299 characters; a longer line yields several pieces, each
// taken as a line of its own.
constexpr int kLineBufferBytes = 300;

// A decimal integer: leading white space, an optional sign, digits up to the first non-digit.
// No digits give 0; a number beyond 32 bits is held at the nearest end of the range.
int32_t ParseValue(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  constexpr int64_t kLimit = int64_t{INT32_MAX} + 1;
  int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > kLimit) magnitude = kLimit;
  }
  if (negative) return static_cast<int32_t>(-magnitude);
  return static_cast<int32_t>(magnitude < kLimit ? magnitude : INT32_MAX);
}

void ApplyLine(SettingsRecord& settings, std::string_view line) {
  if (line.empty() || line.front() == '[' || line.front() == '/') return;  // section or comment
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return;
  const std::string_view key = line.substr(0, equals);
  const std::string_view value = line.substr(equals + 1);

  if (key == "wfkind") {
    // Only the first character counts ("hanning" is h). Anything but a printable character (a
    // line end, a control or non-ASCII byte) keeps the letter in force: written back, it would
    // not read back as itself.
    if (!value.empty() && value.front() >= ' ' && value.front() <= '~') settings.wfkind = value.front();
    WindowRebuild = 1;
    return;
  }
  const SettingsKey* known = FindSettingsKey(key);
  if (known == nullptr) return;
  const int32_t number = UsableSettingValue(known->field, ParseValue(value));
  settings.*known->field = number;
  if (known->remembered != nullptr) settings.remembered.*known->remembered = number;
  if (known->requested != nullptr) settings.*known->requested = number;
  if (known->field == &SettingsRecord::keyboardshortcut && number == 1) KeyboardShortcutsEnabled = 1;
}

// Where a write to `path` lands: a symbolic link (or a chain of them) is followed to its target,
// so that the link stays a link and its target takes the new settings.
bool FollowLinks(const std::filesystem::path& path, std::filesystem::path* target) {
  constexpr int kMostLinks = 40;
  *target = path;
  for (int links = 0;; ++links) {
    std::error_code error;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(*target, error))) return true;
    const std::filesystem::path next = std::filesystem::read_symlink(*target, error);
    if (error || links == kMostLinks) return false;
    *target = next.is_absolute() ? next : target->parent_path() / next;
  }
}

bool OpensForWriting(const std::filesystem::path& target) {
  FILE* file = std::fopen(target.string().c_str(), "r+b");  // neither creates nor cuts it
  if (file != nullptr) std::fclose(file);
  return file != nullptr;
}

// The file overwritten where it is and cut to the new length; only for when it cannot be
// replaced whole.
bool RewriteInPlace(const std::filesystem::path& target, const std::string& text) {
  FILE* file = std::fopen(target.string().c_str(), "r+b");
  if (file == nullptr) return false;
  bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  written = std::fclose(file) == 0 && written;
  std::error_code error;
  if (written) std::filesystem::resize_file(target, text.size(), error);
  return written && !error;
}

}  // namespace

void LoadSettings(SettingsRecord& settings, const char* path) {
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return;
  char buffer[kLineBufferBytes];
  while (std::fgets(buffer, sizeof buffer, file) != nullptr) {
    std::string_view line(buffer, std::strlen(buffer));
    // The file is written with CR LF; a file edited elsewhere may have LF alone.
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    ApplyLine(settings, line);
  }
  std::fclose(file);
}

bool SaveSettings(const SettingsRecord& settings, const char* path, const LiveGeometry& live) {
  if (path == nullptr || *path == '\0') return false;
  std::filesystem::path target;
  if (!FollowLinks(path, &target)) return false;
  std::error_code error;
  const std::filesystem::file_status old = std::filesystem::status(target, error);
  const bool exists = std::filesystem::exists(old);
  // A settings file the user made read-only keeps what it holds, whatever its folder allows.
  if (exists && !OpensForWriting(target)) return false;
  const std::string text = FormatSettings(settings, live);
  // Named for this process: two instances closing at once must not write into one file.
  const std::string temporary = target.string() + "." + std::to_string(GetCurrentProcessId()) + ".tmp";
  FILE* file = std::fopen(temporary.c_str(), "wb");
  // A folder the user cannot write to may still hold a settings file they can write.
  if (file == nullptr) return exists && RewriteInPlace(target, text);
  bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  written = std::fclose(file) == 0 && written;
  if (written && exists) std::filesystem::permissions(temporary, old.permissions(), error);
  error.clear();
  if (written) std::filesystem::rename(temporary, target, error);
  if (!written || error) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}
