// Not the program's leaks: fontconfig's caches, which Qt's dialogs and menus fill and never release.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
