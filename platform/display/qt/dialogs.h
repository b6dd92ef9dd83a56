// The modal dialogs: message boxes and the open-file dialog.
#pragma once

#include <QStringList>
#include <QWidget>
#include <string>

#include "platform/win32/user.h"

namespace morvex::display::qt {

// A message box with the caption and text (UTF-8), OK or OK and Cancel by the type's low bits
// and the icon it names; returns IDOK or IDCANCEL.
int ShowMessageBox(const char* text, const char* caption, UINT type);

// The name filters of a Win32 filter list ("wavfile(*.wav)\0*.wav\0\0": description and
// ';'-separated patterns, in pairs) in Qt's syntax ("wavfile(*.wav)").
QStringList NameFilters(const char* pairs);

// Writes the chosen path into lpstrFile, and its last part into lpstrFileTitle when given, with
// the name and extension offsets; false, leaving the buffers alone, when either does not fit.
bool StoreChosenFile(OPENFILENAMEA& ofn, const std::string& path);

// The open-file dialog for an existing file; false when cancelled or the path does not fit.
bool ShowOpenFileDialog(OPENFILENAMEA& ofn, QWidget* owner);

}  // namespace morvex::display::qt
