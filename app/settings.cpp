#include "app/settings.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "analysis/window_function.h"
#include "app/settings_keys.h"

SettingsRecord Settings;
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
    // Only the first character counts ("hanning" is h). A line that ends at the "=" carries no
    // letter; a line end stored here would break the written file.
    if (!value.empty()) settings.wfkind = value.front();
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
  const std::string text = FormatSettings(settings, live);
  const std::string temporary = std::string(path) + ".tmp";
  FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) return false;
  bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  written = std::fclose(file) == 0 && written;
  std::error_code error;
  if (written) std::filesystem::rename(temporary, path, error);
  if (!written || error) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}
