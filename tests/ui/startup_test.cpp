// Before the window: the regional format, the display check, the icon.

#include "startup.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocale>
#include <QProcess>
#include <map>

namespace zr::test {
namespace {

struct LocaleCase {
  const char* name;
  QLocale::Language language;
  QLocale::Territory territory;
  std::string separator;
};

class RegionalFormatTest : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(RegionalFormatTest, TakesTheDecimalSeparatorOfTheLocale) {
  const LocaleCase& c = GetParam();
  EXPECT_EQ(RegionalNumberFormat(QLocale(c.language, c.territory)).decimal_separator, c.separator);
}

INSTANTIATE_TEST_SUITE_P(Locales, RegionalFormatTest,
                         ::testing::Values(
                             // No regional setting: the Hungarian comma.
                             LocaleCase{"C", QLocale::C, QLocale::AnyTerritory, ","},
                             LocaleCase{"Hungarian", QLocale::Hungarian, QLocale::Hungary, ","},
                             LocaleCase{"English", QLocale::English, QLocale::UnitedStates, "."},
                             LocaleCase{"German", QLocale::German, QLocale::Germany, ","}),
                         [](const auto& info) { return std::string(info.param.name); });

struct EnvironmentCase {
  const char* name;
  std::map<std::string, std::string> variables;
  bool has_display;
};

class DisplayCheckTest : public ::testing::TestWithParam<EnvironmentCase> {};

TEST_P(DisplayCheckTest, ComplainsOnlyWhenNoDisplayCanBeFound) {
  const EnvironmentCase& c = GetParam();
  const auto message = MissingDisplayMessage([&c](const char* name) -> const char* {
    const auto it = c.variables.find(name);
    return it == c.variables.end() ? nullptr : it->second.c_str();
  });
  EXPECT_EQ(!message.has_value(), c.has_display);
  if (message) {
    EXPECT_EQ(message->find('\n'), std::string::npos);
    EXPECT_EQ(message->rfind("zeltano-redurir: ", 0), 0u);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Environments, DisplayCheckTest,
    ::testing::Values(EnvironmentCase{"Nothing", {}, false},
                      EnvironmentCase{
                          "EmptyVariables", {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}}, false},
                      EnvironmentCase{"X11", {{"DISPLAY", ":0"}}, true},
                      EnvironmentCase{"Wayland", {{"WAYLAND_DISPLAY", "wayland-0"}}, true},
                      EnvironmentCase{"Offscreen", {{"QT_QPA_PLATFORM", "offscreen"}}, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Program, ExitsWithStatusTwoAndOneLineWithoutADisplay) {
  QProcess program;
  program.setProcessEnvironment(QProcessEnvironment());
  program.start(ZELTANO_PROGRAM_PATH, {});
  ASSERT_TRUE(program.waitForFinished(10000));
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 2);
  const QString error = QString::fromUtf8(program.readAllStandardError());
  EXPECT_TRUE(error.startsWith("zeltano-redurir: nincs grafikus kijelző")) << error.toStdString();
  EXPECT_EQ(error.count('\n'), 1);
}

TEST(Icon, IsRenderedAtEverySize) {
  const QIcon icon = ApplicationIcon();
  for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
    const QImage image = icon.pixmap(QSize(size, size)).toImage();
    ASSERT_EQ(image.size(), QSize(size, size)) << size;
    EXPECT_NE(image.pixelColor(size / 2, size / 2).alpha(), 0) << size;  // a picture, not a blank
  }
}

// The tests' application is configured as the program's: Qt's own buttons
// and menus speak Hungarian.
TEST(QtTexts, AreHungarian) {
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Mégse");
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Save"), "Mentés");
}

}  // namespace
}  // namespace zr::test
