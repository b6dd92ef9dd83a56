// The numeric keys of the settings file: each key's name, the field it sets, and which values the
// program can run with.
#pragma once

#include <atomic>
#include <cstdint>
#include <string_view>

#include "shared/settings.h"

using SettingsField = std::atomic<int32_t> SettingsRecord::*;
using RememberedField = int32_t RememberedGeometry::*;

struct SettingsKey {
  std::string_view name;
  SettingsField field;
  RememberedField remembered;  // geometry keys: the remembered copy, set together with the field
  SettingsField requested;     // `fftsample` and `fftradix4flag`: the requested companion
};

// The key with exactly this name (no trimming, case-sensitive), or nullptr. `wfkind` is a
// character, not a number, and is not among them.
const SettingsKey* FindSettingsKey(std::string_view name);

// The key that sets `field`. Every field named in a SettingsKey is found.
const SettingsKey& SettingsKeyOf(SettingsField field);

// `value` when the program can run with it as this key's value, otherwise the key's default.
int32_t UsableSettingValue(SettingsField field, int32_t value);
