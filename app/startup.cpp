#include "app/startup.h"

char SettingsPath[kStartupPathBytes];
char ExeDerivedPath[kStartupPathBytes];
int StartShowMode = SW_SHOWDEFAULT;
DWORD MainThreadId = 0;
HWND MainWindow = nullptr;
