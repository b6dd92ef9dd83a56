// Message boxes, the open-file dialog, and icon and cursor resources.
#include <cstdio>

#include "platform/display/display_backend.h"
#include "platform/win32.h"

int MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
  // Every message box is also written to standard error, so it is seen without a display too.
  std::fprintf(stderr, "[%s] %s\n", caption ? caption : "Error", text ? text : "");
  std::fflush(stderr);
  return morvex::display::Backend().messageBox(text ? text : "", caption ? caption : "Error", type);
}

BOOL GetOpenFileNameA(LPOPENFILENAMEA ofn) {
  if (!ofn || !ofn->lpstrFile || ofn->nMaxFile == 0) return FALSE;
  return morvex::display::Backend().openFileName(ofn) ? TRUE : FALSE;
}

// Icons and cursors are named by their resource number; the display looks the picture up.
HICON LoadIconA(HINSTANCE, LPCSTR name) {
  return reinterpret_cast<HICON>(const_cast<char*>(name));
}

HCURSOR LoadCursorA(HINSTANCE, LPCSTR name) {
  return reinterpret_cast<HCURSOR>(const_cast<char*>(name));
}
