// Not the program's leaks: fontconfig's caches, which Qt's dialogs and menus fill and never release.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
// Qt is not built with ThreadSanitizer: what its own threads hand each other cannot be judged.
extern "C" const char* __tsan_default_suppressions() { return "race:libQt6Core.so\nrace:libQt6Gui.so\n"; }
