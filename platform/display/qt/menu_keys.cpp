#include "platform/display/qt/menu_keys.h"

#include <QKeyEvent>

#include "platform/display/qt/key_codes.h"
#include "platform/user/window_info.h"

namespace morvex::display::qt {

bool MenuKeyForwarder::eventFilter(QObject*, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  const uint32_t character = CharacterOf(key->text());
  // Printable characters only: the arrows, Return and Escape steer the menu.
  if (character >= 0x20 && character != 0x7F) {
    user::PostKeyDown(owner_, VirtualKeyOf(key->key(), key->modifiers()), character);
  }
  return false;
}

void ForwardMenuKeys(QMenu& menu, MenuKeyForwarder& forwarder) {
  menu.installEventFilter(&forwarder);
  for (QMenu* submenu : menu.findChildren<QMenu*>()) submenu->installEventFilter(&forwarder);
}

}  // namespace morvex::display::qt
