#include "platform/display/qt/edit_control.h"

namespace morvex::display::qt {

bool IsEditControl(const user::WindowInfo& info) {
  return info.parent && QString::fromStdString(info.className).compare(QStringLiteral("edit"), Qt::CaseInsensitive) == 0;
}

QPlainTextEdit* CreateEditControl(QWidget* parent) {
  auto* edit = new QPlainTextEdit(parent);
  edit->setReadOnly(true);
  edit->setFrameShape(QFrame::NoFrame);
  // Automatic horizontal scrolling: long lines scroll instead of wrapping.
  edit->setLineWrapMode(QPlainTextEdit::NoWrap);
  edit->hide();
  return edit;
}

void ApplyEditControl(QPlainTextEdit& edit, const user::WindowInfo& info) {
  QString text = QString::fromUtf8(info.text);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  // Setting the same text again would only lose the reader's scroll position.
  if (edit.toPlainText() != text) edit.setPlainText(text);
  edit.setGeometry(info.rect.left, info.rect.top, info.rect.right - info.rect.left, info.rect.bottom - info.rect.top);
  edit.setVisible(info.visible);
}

}  // namespace morvex::display::qt
