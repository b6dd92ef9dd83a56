#include "app/settings_location.h"

#ifdef _WIN32

std::string SettingsPathForThisUser(std::string_view derivedPath, std::string_view) {
  return std::string(derivedPath);
}

#else

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "app/settings_path.h"

namespace {

std::string_view Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// A fresh account has no configuration folder for the program yet; the save needs one, made for
// this user alone.
void MakeFolderOf(const std::string& path) {
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  std::error_code error;
  if (folder.empty() || std::filesystem::exists(folder, error)) return;
  if (std::filesystem::create_directories(folder, error)) {
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all, error);
  }
}

}  // namespace

std::string SettingsPathForThisUser(std::string_view derivedPath, std::string_view moduleFileName) {
  const std::size_t slash = moduleFileName.rfind('/');
  const std::string folder(moduleFileName.substr(0, slash == std::string_view::npos ? 0 : slash + 1));
  InstalledProgram program;
  program.installFolder = MORVEX_INSTALL_FOLDER;
  // access() asks for this user, a read-only file system included.
  program.executableFolderWritable = !folder.empty() && access(folder.c_str(), W_OK) == 0;
  program.xdgConfigHome = Environment("XDG_CONFIG_HOME");
  program.home = Environment("HOME");
  std::string path = InstalledSettingsPath(derivedPath, moduleFileName, program);
  if (!path.empty() && path != derivedPath) MakeFolderOf(path);
  return path;
}

#endif
