// Allocations that system libraries keep for the life of the process: fontconfig's caches,
// which Qt's dialogs and menus fill and never release. They are not the program's leaks.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
