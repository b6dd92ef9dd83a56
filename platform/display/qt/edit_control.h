// The multi-line "edit" child control: a read-only text view inside its parent's widget,
// showing the control's window text.
#pragma once

#include <QPlainTextEdit>

#include "platform/user/window_info.h"

namespace morvex::display::qt {

// Whether the window is an edit control (class "edit", any case).
bool IsEditControl(const user::WindowInfo& info);

QPlainTextEdit* CreateEditControl(QWidget* parent);
// Text (CR LF line ends as one line break), position in the parent's client area, size and
// visibility.
void ApplyEditControl(QPlainTextEdit& edit, const user::WindowInfo& info);

}  // namespace morvex::display::qt
