#include <gtest/gtest.h>

#include <QCoreApplication>
#include <clocale>
#include <cstdio>

#include "platform/display/qt/application.h"
#include "platform/display/qt/desktop_probe.h"

namespace morvex::display::qt {
namespace {

TEST(QtApplicationTest, NumbersKeepTheDecimalPointWhenQtTakesOnTheUsersLocale) {
  if (!PlatformPluginInstalled("offscreen") || QCoreApplication::instance() || !std::setlocale(LC_ALL, "de_DE.UTF-8")) {
    GTEST_SKIP() << "needs the de_DE.UTF-8 locale, Qt's offscreen platform and a process where Qt is not running";
  }
  setenv("LC_ALL", "de_DE.UTF-8", 1);
  StartApplication("offscreen");
  unsetenv("LC_ALL");
  char text[32];
  std::snprintf(text, sizeof text, "%.1fkhz %.2fsec", 44.1, 2.4);
  EXPECT_STREQ(text, "44.1khz 2.40sec");
  EXPECT_STREQ(std::setlocale(LC_MESSAGES, nullptr), "de_DE.UTF-8") << "Qt's own texts follow the user";
}

}  // namespace
}  // namespace morvex::display::qt
