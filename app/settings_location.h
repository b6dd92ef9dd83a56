// Where this user's settings file is, once the program knows where it runs from.
#pragma once

#include <string>
#include <string_view>

// The derived settings path, moved to the user's configuration folder when this is an installed
// program (see InstalledSettingsPath). Windows keeps the derived path.
std::string SettingsPathForThisUser(std::string_view derivedPath, std::string_view moduleFileName);
