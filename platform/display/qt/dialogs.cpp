#include "platform/display/qt/dialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <cstring>
#include <string_view>

namespace morvex::display::qt {
namespace {

// The icon bits of a message box type.
QMessageBox::Icon IconOf(UINT type) {
  switch (type & 0xF0) {
    case 0x10: return QMessageBox::Critical;
    case 0x20: return QMessageBox::Question;
    case 0x30: return QMessageBox::Warning;
    case 0x40: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

QString Utf8(const char* text) { return text ? QString::fromUtf8(text) : QString(); }

}  // namespace

int ShowMessageBox(const char* text, const char* caption, UINT type) {
  const bool withCancel = (type & 0xF) == MB_OKCANCEL;
  QMessageBox box(IconOf(type), Utf8(caption), Utf8(text),
                  withCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok);
  // Shown as written, line breaks included; never read as markup.
  box.setTextFormat(Qt::PlainText);
  const bool confirmed = box.exec() == QMessageBox::Ok;
  // Closing a box that has only OK answers OK, as on Windows.
  return confirmed || !withCancel ? IDOK : IDCANCEL;
}

QStringList NameFilters(const char* pairs) {
  QStringList filters;
  if (!pairs) return filters;
  const char* next = pairs;
  while (*next) {
    const std::string_view description(next);
    next += description.size() + 1;
    if (!*next) break;  // a description without patterns ends the list
    const std::string_view patterns(next);
    next += patterns.size() + 1;
    QStringList patternList;
    for (const QString& pattern : QString::fromUtf8(patterns).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      patternList << pattern.trimmed();
    }
    const QString label = QString::fromUtf8(description);
    const QString suffix = QLatin1Char('(') + patternList.join(QLatin1Char(' ')) + QLatin1Char(')');
    // Qt reads the patterns from the label's last parentheses; most labels already end in them.
    filters << (label.endsWith(suffix) ? label : label + QLatin1Char(' ') + suffix);
  }
  return filters;
}

bool StoreChosenFile(OPENFILENAMEA& ofn, const std::string& path) {
  const size_t nameStart = path.rfind('/') + 1;  // 0 when there is no directory part
  const std::string_view title = std::string_view(path).substr(nameStart);
  // The offsets are 16-bit.
  if (!ofn.lpstrFile || path.size() + 1 > ofn.nMaxFile || path.size() > 0xFFFF) return false;
  if (ofn.lpstrFileTitle && title.size() + 1 > ofn.nMaxFileTitle) return false;
  std::memcpy(ofn.lpstrFile, path.c_str(), path.size() + 1);
  if (ofn.lpstrFileTitle) {
    std::memcpy(ofn.lpstrFileTitle, title.data(), title.size());
    ofn.lpstrFileTitle[title.size()] = '\0';
  }
  ofn.nFileOffset = static_cast<WORD>(nameStart);
  // After the last dot of the name; the terminating zero when there is none, 0 for a name
  // ending in a dot.
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < nameStart) {
    ofn.nFileExtension = static_cast<WORD>(path.size());
  } else {
    ofn.nFileExtension = dot + 1 == path.size() ? 0 : static_cast<WORD>(dot + 1);
  }
  return true;
}

bool ShowOpenFileDialog(OPENFILENAMEA& ofn, QWidget* owner) {
  QFileDialog dialog(owner, Utf8(ofn.lpstrTitle), Utf8(ofn.lpstrInitialDir));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  const QStringList filters = NameFilters(ofn.lpstrFilter);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    const qsizetype chosenFilter = ofn.nFilterIndex > 0 ? ofn.nFilterIndex - 1 : 0;
    if (chosenFilter < filters.size()) dialog.selectNameFilter(filters[chosenFilter]);
  }
  if (ofn.lpstrDefExt) dialog.setDefaultSuffix(Utf8(ofn.lpstrDefExt));
  if (ofn.lpstrFile[0]) dialog.selectFile(Utf8(ofn.lpstrFile));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  if (!filters.isEmpty()) ofn.nFilterIndex = static_cast<DWORD>(filters.indexOf(dialog.selectedNameFilter()) + 1);
  return StoreChosenFile(ofn, QFile::encodeName(dialog.selectedFiles().first()).toStdString());
}

}  // namespace morvex::display::qt
