// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the program's icon: a charge that has just been kicked sideways, its field lines bent
// where the news of the kick has reached, and the wavefront of that news. Writes the SVG and its
// PNG renderings into a folder:
//   icon-generator <icons folder>
// tools/make-artwork.sh builds and runs it with the other artwork.
#include <QByteArray>
#include <QSaveFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <cmath>
#include <cstdio>
#include <numbers>

namespace {

constexpr double Pi = std::numbers::pi;
constexpr int Side = 256;           // the SVG's own units
constexpr int PngSizes[] = {48, 128, 256};
constexpr int LineCount = 10;

// Before the kick the charge sat at Before; now it is at After. Inside the wavefront the lines
// come from After, outside it from Before, and across the shell they run sideways: the kink.
constexpr double BeforeX = 112, BeforeY = 138;
constexpr double AfterX = 136, AfterY = 124;
constexpr double InnerEnd = 66;     // end of the inner lines, from After
constexpr double OuterStart = 84;   // start of the outer lines, from Before
constexpr double OuterEnd = 190;    // the rounded square clips the rest
constexpr double WaveRadius = 75;   // the wavefront, about Before

QString Number(double v) { return QString::number(v, 'f', 1); }

QString LinePath() {
  QString d;
  for (int k = 0; k < LineCount; ++k) {
    const double a = 2 * Pi * (k + 0.5) / LineCount;
    const double c = std::cos(a), s = std::sin(a);
    d += QStringLiteral("M%1 %2 L%3 %4 L%5 %6 L%7 %8 ")
             .arg(Number(AfterX + 16 * c), Number(AfterY + 16 * s))
             .arg(Number(AfterX + InnerEnd * c), Number(AfterY + InnerEnd * s))
             .arg(Number(BeforeX + OuterStart * c), Number(BeforeY + OuterStart * s))
             .arg(Number(BeforeX + OuterEnd * c), Number(BeforeY + OuterEnd * s));
  }
  return d.trimmed();
}

QByteArray Svg() {
  const QString svg = QStringLiteral(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" viewBox=\"0 0 %1 %1\">\n"
      "  <defs><clipPath id=\"tile\"><rect x=\"8\" y=\"8\" width=\"240\" height=\"240\" rx=\"40\"/>"
      "</clipPath></defs>\n"
      "  <rect x=\"8\" y=\"8\" width=\"240\" height=\"240\" rx=\"40\" fill=\"#0b1230\"/>\n"
      "  <g clip-path=\"url(#tile)\" fill=\"none\" stroke-linecap=\"round\" stroke-linejoin=\"round\">\n"
      "    <circle cx=\"%2\" cy=\"%3\" r=\"%4\" stroke=\"#ff6496\" stroke-width=\"5\" opacity=\"0.8\"/>\n"
      "    <path d=\"%5\" stroke=\"#00c8ff\" stroke-width=\"8\"/>\n"
      "  </g>\n"
      "  <circle cx=\"%6\" cy=\"%7\" r=\"17\" fill=\"#1f3cff\" stroke=\"#ff2020\" stroke-width=\"6\"/>\n"
      "</svg>\n")
                          .arg(Side)
                          .arg(Number(BeforeX), Number(BeforeY), Number(WaveRadius), LinePath(),
                               Number(AfterX), Number(AfterY));
  return svg.toUtf8();
}

bool Write(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: icon-generator <icons folder>\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  const QByteArray svg = Svg();
  if (!Write(folder + QStringLiteral("/halvoran-radiation.svg"), svg)) return 1;
  QSvgRenderer renderer(svg);
  for (int size : PngSizes) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    const QString path = folder + QStringLiteral("/halvoran-radiation-%1.png").arg(size);
    if (!image.save(path, "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
