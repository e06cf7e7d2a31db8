#pragma once
// Where the user guide is: the HTML the package installs beside the program
// (<prefix>/share/doc/zeltano-redurir/), else the Markdown of the source
// tree the program was built from.

#include <QString>

namespace zr {

inline constexpr const char* kGuideHtmlName = "felhasznaloi-utmutato.html";

// The guide's file for a program in `program_dir`; the first of the
// installed HTML and `source_guide` that exists, else empty.
QString FindUserGuide(const QString& program_dir, const QString& source_guide);

// The same for this program.
QString FindUserGuide();

}  // namespace zr
