#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "platform/display/qt/application.h"
#include "platform/display/qt/dialogs.h"
#include "qt_display_fixture.h"

#ifdef __SANITIZE_THREAD__
// Qt is not built with ThreadSanitizer: the file dialog's own worker thread hands over through
// Qt's wait conditions in ways it cannot follow.
extern "C" const char* __tsan_default_suppressions() { return "race:QWaitCondition::\n"; }
#endif

namespace morvex::display::qt::testing {
namespace {

// The chosen path, its title and offsets are stored only when they fit the caller's buffers (a
// name without extension has the offset of its zero); a filter list ends at a broken pair.
TEST(QtChosenFileTest, PathTitleAndOffsetsAreStoredOnlyWhenTheyFit) {
  const struct { const char* path; DWORD maxFile, maxTitle; bool stored; WORD offset, extension; } cases[] = {
      {"/music/song.wav", 17, 9, true, 7, 12},  {"/music/song.wav", 16, 0, true, 7, 12},
      {"/music/song.wav", 15, 9, false, 0, 0},  {"/music/song.wav", 32, 8, false, 0, 0},
      {"/a.b/readme", 32, 16, true, 5, 11},     {"/x/name.", 32, 16, true, 3, 0},
  };
  for (const auto& c : cases) {
    char file[32], title[16];
    std::memset(file, 'x', sizeof file);
    std::memset(title, 'x', sizeof title);
    OPENFILENAMEA ofn{};
    ofn.lpstrFile = file;
    ofn.nMaxFile = c.maxFile;
    ofn.lpstrFileTitle = c.maxTitle ? title : nullptr;
    ofn.nMaxFileTitle = c.maxTitle;
    ASSERT_EQ(StoreChosenFile(ofn, c.path), c.stored) << c.path << " in " << c.maxFile;
    EXPECT_EQ(std::string(file, c.stored ? std::strlen(file) : 1), c.stored ? c.path : "x");
    EXPECT_EQ(std::string(title, c.stored && c.maxTitle ? std::strlen(title) : 1),
              c.stored && c.maxTitle ? c.path + c.offset : "x");
    EXPECT_EQ(ofn.nFileOffset, c.offset) << c.path;
    EXPECT_EQ(ofn.nFileExtension, c.extension) << c.path;
  }
  EXPECT_EQ(NameFilters("Sound\0*.wav; *.aiff\0Broken\0"), QStringList{QStringLiteral("Sound (*.wav *.aiff)")});
  EXPECT_TRUE(NameFilters(nullptr).isEmpty());
}

// Runs `act` on the modal dialog that opens next.
template <typename Dialog, typename Act>
void WhenOpen(Act act) {
  QTimer::singleShot(0, qApp, [act] {
    if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) act(dialog);
  });
}

// Qt's own dialogs follow the user's language; the numbers the program formats do not.
TEST(QtLocaleTest, NumbersKeepTheDecimalPointWhenQtTakesOnTheUsersLocale) {
  if (!PlatformPluginInstalled("offscreen") || QCoreApplication::instance() || !std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
    GTEST_SKIP() << "needs the de_DE.UTF-8 locale, Qt's offscreen platform and a process where Qt is not running";
  }
  setenv("LC_ALL", "de_DE.UTF-8", 1);
  StartApplication("offscreen");
  unsetenv("LC_ALL");
  char text[32];
  std::snprintf(text, sizeof text, "%.1fkhz %.2fsec", 44.1, 2.4);
  EXPECT_STREQ(text, "44.1khz 2.40sec");
}

using QtDialogsTest = QtDisplayTest;

// A box shows its text as written and answers with the button; the open dialog offers the filter
// and fills the caller's buffers, or answers false when cancelled.
TEST_F(QtDialogsTest, DialogsAnswerWithTheUsersChoice) {
  QString text, caption;
  WhenOpen<QMessageBox>([&](QMessageBox* box) {
    text = box->text();
    caption = box->windowTitle();
    box->button(QMessageBox::Cancel)->click();
  });
  EXPECT_EQ(MessageBoxA(nullptr, "file名をget出来ませんでした.", "error", MB_OKCANCEL), IDCANCEL);
  EXPECT_EQ(text, QString::fromUtf8("file名をget出来ませんでした."));
  EXPECT_EQ(caption, QStringLiteral("error"));

  bool cancelShown = true;
  Qt::TextFormat format = Qt::AutoText;
  WhenOpen<QMessageBox>([&](QMessageBox* box) {
    cancelShown = box->button(QMessageBox::Cancel) != nullptr;
    format = box->textFormat();
    box->reject();  // closed without choosing: OK is the only answer
  });
  EXPECT_EQ(MessageBoxA(nullptr, "<b>1</b>\nline", "'ap windowclass'register class failed.", MB_OK), IDOK);
  EXPECT_FALSE(cancelShown);
  EXPECT_EQ(format, Qt::PlainText);  // the text is shown as written

  QTemporaryDir directory;
  ASSERT_TRUE(directory.isValid());
  const std::string path = directory.filePath(QStringLiteral("tone.wav")).toStdString();
  std::ofstream(path) << "RIFF";
  QStringList filters;
  WhenOpen<QFileDialog>([&](QFileDialog* dialog) {
    filters = dialog->nameFilters();
    dialog->selectFile(QString::fromStdString(path));
    static_cast<QDialog*>(dialog)->accept();  // as the Open button does
  });
  char file[500] = "", title[500] = "";
  OPENFILENAMEA ofn{};
  ofn.lpstrFilter = "wavfile(*.wav)\0*.wav\0";
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrFileTitle = title;
  ofn.nMaxFileTitle = sizeof title;
  const QByteArray initialDir = directory.path().toUtf8();
  ofn.lpstrInitialDir = initialDir.constData();
  ASSERT_TRUE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(filters, QStringList{QStringLiteral("wavfile(*.wav)")});
  EXPECT_EQ(std::string(file), path);
  EXPECT_STREQ(title, "tone.wav");

  WhenOpen<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
  file[0] = '\0';
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
}

}  // namespace
}  // namespace morvex::display::qt::testing
