#include "user_guide.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace zr {

QString FindUserGuide(const QString& program_dir, const QString& source_guide) {
  const QString installed = QDir(program_dir)
                                .filePath(QStringLiteral("../share/doc/zeltano-redurir/") +
                                          QString::fromLatin1(kGuideHtmlName));
  for (const QString& candidate : {installed, source_guide}) {
    if (!candidate.isEmpty() && QFileInfo(candidate).isFile()) {
      return QFileInfo(candidate).canonicalFilePath();
    }
  }
  return {};
}

QString FindUserGuide() {
  return FindUserGuide(QCoreApplication::applicationDirPath(),
                       QStringLiteral(ZELTANO_SOURCE_GUIDE));
}

}  // namespace zr
