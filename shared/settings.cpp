#include "shared/settings.h"

SettingsRecord Settings;
