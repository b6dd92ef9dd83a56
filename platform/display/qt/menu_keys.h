// Characters typed while a popup or system menu is open reach the menu's owner window as well,
// as key presses it translates into characters: the program decides what a key means while one
// of its menus is open (the menu still takes its own accelerators).
#pragma once

#include <QMenu>
#include <QObject>

#include "platform/win32/user.h"

namespace morvex::display::qt {

class MenuKeyForwarder final : public QObject {
 public:
  explicit MenuKeyForwarder(HWND owner) : owner_(owner) {}
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  HWND owner_;
};

// Watches `menu` and every submenu in it with `forwarder`.
void ForwardMenuKeys(QMenu& menu, MenuKeyForwarder& forwarder);

}  // namespace morvex::display::qt
