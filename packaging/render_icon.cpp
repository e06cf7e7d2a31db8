// Renders the square SVG icon into PNGs of the given pixel sizes, so the
// hicolor theme gets its fixed-size icons from the one SVG at build time.
//
//   zeltano-render-icon <icon.svg> <output-directory> <name> <size>...
//
// writes <output-directory>/<size>x<size>/<name>.png for each size.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
  // Rendering needs no display; the offscreen platform keeps a build machine
  // without X or Wayland happy.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);

  const QStringList args = QCoreApplication::arguments();
  if (args.size() < 5) {
    std::fprintf(stderr,
                 "usage: zeltano-render-icon <icon.svg> <output-directory> <name> <size>...\n");
    return EXIT_FAILURE;
  }

  const QString svg_path = args.at(1);
  QSvgRenderer renderer(svg_path);
  if (!renderer.isValid()) {
    std::fprintf(stderr, "zeltano-render-icon: cannot read %s\n", qPrintable(svg_path));
    return EXIT_FAILURE;
  }
  const QDir out_dir(args.at(2));
  const QString name = args.at(3);

  for (qsizetype i = 4; i < args.size(); ++i) {
    bool ok = false;
    const int size = args.at(i).toInt(&ok);
    if (!ok || size < 1 || size > 4096) {
      std::fprintf(stderr, "zeltano-render-icon: bad size %s\n", qPrintable(args.at(i)));
      return EXIT_FAILURE;
    }

    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
      QPainter painter(&image);
      painter.setRenderHint(QPainter::Antialiasing);
      painter.setRenderHint(QPainter::SmoothPixmapTransform);
      renderer.render(&painter, QRectF(0, 0, size, size));
    }

    const QString sub = QStringLiteral("%1x%1").arg(size);
    if (!out_dir.mkpath(sub)) {
      std::fprintf(stderr, "zeltano-render-icon: cannot create %s\n",
                   qPrintable(out_dir.filePath(sub)));
      return EXIT_FAILURE;
    }
    const QString png = out_dir.filePath(sub + QLatin1Char('/') + name + QStringLiteral(".png"));
    if (!image.save(png, "PNG")) {
      std::fprintf(stderr, "zeltano-render-icon: cannot write %s\n", qPrintable(png));
      return EXIT_FAILURE;
    }
  }
  return EXIT_SUCCESS;
}
