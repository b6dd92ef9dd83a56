#include <gtest/gtest.h>

#include <QCoreApplication>
#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "platform/display/qt/application.h"
#include "platform/display/qt/desktop_probe.h"

namespace morvex::display::qt {
namespace {

TEST(QtApplicationTest, NumbersKeepTheDecimalPointWhenQtTakesOnTheUsersLocale) {
  if (!PlatformPluginInstalled("offscreen")) GTEST_SKIP() << "Qt's offscreen platform is not installed";
  if (QCoreApplication::instance()) GTEST_SKIP() << "Qt already runs in this process";
  locale_t german = newlocale(LC_ALL_MASK, "de_DE.UTF-8", nullptr);
  if (!german) GTEST_SKIP() << "the de_DE.UTF-8 locale is not generated";
  freelocale(german);
  setenv("LC_ALL", "de_DE.UTF-8", 1);
  StartApplication("offscreen");
  unsetenv("LC_ALL");
  char text[32];
  std::snprintf(text, sizeof text, "%.1fkhz %.2fsec", 44.1, 2.4);
  EXPECT_STREQ(text, "44.1khz 2.40sec");
  EXPECT_EQ(std::strtod("2.5", nullptr), 2.5);
  EXPECT_STREQ(std::setlocale(LC_MESSAGES, nullptr), "de_DE.UTF-8") << "Qt's own texts follow the user";
}

}  // namespace
}  // namespace morvex::display::qt
