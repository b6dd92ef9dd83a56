#include "platform/display/qt/menu_builder.h"

#include <QAction>
#include <QString>

#include "platform/user/menus.h"

namespace morvex::display::qt {
namespace {

// The model refuses deeper nesting; this only guards against a menu that contains itself.
constexpr int kMaxDepth = 16;

void BuildLevel(QMenu& target, HMENU menu, int depth) {
  for (const user::MenuItem& item : user::MenuItems(menu)) {
    if (item.flags & MF_SEPARATOR) {
      target.addSeparator();
      continue;
    }
    const QString label = QString::fromUtf8(item.text);
    const bool grey = item.flags & (MF_GRAYED | MF_DISABLED);
    if (item.flags & MF_POPUP) {
      QMenu* submenu = target.addMenu(label);
      submenu->setEnabled(!grey);
      if (depth < kMaxDepth) BuildLevel(*submenu, item.submenu, depth + 1);
      continue;
    }
    QAction* action = target.addAction(label);
    action->setData(static_cast<uint>(item.id));
    // Only checked items are checkable, so an unchecked item shows no empty box, as on Windows.
    action->setCheckable(item.flags & MF_CHECKED);
    action->setChecked(item.flags & MF_CHECKED);
    action->setEnabled(!grey);
  }
}

}  // namespace

void BuildMenu(QMenu& target, HMENU menu) { BuildLevel(target, menu, 0); }

UINT ChosenId(const QAction* action) {
  if (!action || !action->data().isValid()) return 0;
  return action->data().toUInt();
}

}  // namespace morvex::display::qt
