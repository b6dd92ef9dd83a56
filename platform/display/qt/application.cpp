#include "platform/display/qt/application.h"

#include <QApplication>
#include <QThread>
#include <clocale>

namespace morvex::display::qt {
namespace {

// Qt keeps references to argc and argv for the application's lifetime.
int argumentCount = 1;
std::string platformArgument;
char programName[] = "morvex";
char platformOption[] = "-platform";
char* arguments[] = {programName, platformOption, nullptr, nullptr};

}  // namespace

void StartApplication(const std::string& platform) {
  if (QCoreApplication::instance()) return;
  if (!platform.empty()) {
    platformArgument = platform;
    arguments[2] = platformArgument.data();
    argumentCount = 3;
  }
  auto* application = new QApplication(argumentCount, arguments);
  // Qt applies the user's locale to the C library; every number the program formats or reads
  // keeps the C locale's decimal point ("44.1khz", "2.40sec", the settings file) whatever LANG
  // says. Qt's own dialogs stay in the user's language.
  std::setlocale(LC_NUMERIC, "C");
  // The window layer decides when the program ends, not the last window closing.
  application->setQuitOnLastWindowClosed(false);
}

bool OnApplicationThread() {
  const QCoreApplication* application = QCoreApplication::instance();
  return application && application->thread() == QThread::currentThread();
}

}  // namespace morvex::display::qt
