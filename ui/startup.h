#pragma once
// What the program does before and around its window: the display check,
// the regional number format, the application's identity and icon.

#include <QIcon>
#include <functional>
#include <optional>
#include <string>

#include "number_format.h"

class QApplication;
class QLocale;

namespace zr {

inline constexpr const char* kApplicationId = "zeltano-redurir";

// The decimal separator of `locale`; the C locale carries no regional
// setting, so the Hungarian format stands in for it.
NumberFormat RegionalNumberFormat(const QLocale& locale);

// Looks up an environment variable; nullptr when unset.
using EnvironmentLookup = std::function<const char*(const char*)>;

// The line to print when there is no display to open a window on (no X11,
// no Wayland and no explicit Qt platform), or nullopt when there may be one.
std::optional<std::string> MissingDisplayMessage(const EnvironmentLookup& getenv);

// The program icon at the usual sizes, rendered from its SVG.
QIcon ApplicationIcon();

// Loads Qt's Hungarian translation of its own texts (qtbase_hu from Qt's
// translations folder); false when it is not installed.
bool InstallQtTranslation(QApplication& app);

// Names the application, sets its icon, installs the font substitutes and
// Qt's Hungarian texts.
void ConfigureApplication(QApplication& app);

}  // namespace zr
