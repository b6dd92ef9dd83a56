// Window classes the system provides: the multi-line "edit" control. Its text is the window
// text; the display shows it as a text field.
#pragma once

namespace morvex::user {

void EnsureBuiltinClasses();

}  // namespace morvex::user
