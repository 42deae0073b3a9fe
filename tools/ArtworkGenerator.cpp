// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the program's pictures with QPainter and writes them as JPEG files into a folder:
//   artwork-generator <assets folder>
// Every picture the windows show comes from here; tools/make-artwork.sh builds and runs it.
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <utility>

#include "app/JpegImage.h"

namespace {

constexpr double Pi = std::numbers::pi;
constexpr int JpegQuality = 95;  // small files anyway; keeps thin lines and text crisp

const QString SerifFamily = QStringLiteral("Liberation Serif");
const QString SansFamily = QStringLiteral("Liberation Sans");

QFont Font(const QString& family, double pixelSize, bool italic = false,
           int weight = QFont::Normal) {
  QFont font(family);
  font.setPixelSize(static_cast<int>(std::lround(pixelSize)));
  font.setItalic(italic);
  font.setWeight(static_cast<QFont::Weight>(weight));
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

// A picture of width x height pixels drawn at ratio device pixels to each: a painter draws on it
// in the pixels of the picture at 1, every line and letter ratio times as fine.
QImage Canvas(int width, int height, const QColor& background, double ratio) {
  QImage image(static_cast<int>(std::lround(width * ratio)),
               static_cast<int>(std::lround(height * ratio)), QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(background);
  return image;
}

// y grows downwards.
QPointF Direction(double angle) {
  return {std::cos(angle), -std::sin(angle)};
}

// A physics symbol: an italic serif letter with an optional upright subscript, baseline at origin.
// Returns the advance, so that a unit can follow.
double DrawSymbol(QPainter& painter, QPointF origin, const QString& letter,
                  const QString& subscript, double pixelSize) {
  const QFont main = Font(SerifFamily, pixelSize, true);
  painter.setFont(main);
  painter.drawText(origin, letter);
  double advance = QFontMetricsF(main).horizontalAdvance(letter);
  if (!subscript.isEmpty()) {
    // Sans: a serif "rad" at eleven pixels reads like "Tad".
    const QFont small = Font(SansFamily, pixelSize * 0.66);
    painter.setFont(small);
    // The italic letter leans right; the subscript starts a little in to sit under its foot.
    const QPointF at = origin + QPointF(advance + pixelSize * 0.02, pixelSize * 0.25);
    painter.drawText(at, subscript);
    advance += pixelSize * 0.02 + QFontMetricsF(small).horizontalAdvance(subscript);
  }
  return advance;
}

void DrawArrowHead(QPainter& painter, QPointF tip, QPointF from, double size) {
  const QPointF d = tip - from;
  const double length = std::hypot(d.x(), d.y());
  if (length <= 0) return;
  const QPointF u = d / length, n(-u.y(), u.x());
  const QPolygonF head{tip, tip - u * size + n * size * 0.45, tip - u * size - n * size * 0.45};
  painter.save();
  painter.setBrush(painter.pen().color());
  painter.setPen(Qt::NoPen);
  painter.drawPolygon(head);
  painter.restore();
}

// A dimension line with arrow heads at both ends.
void DrawDimension(QPainter& painter, QPointF a, QPointF b, double head = 6) {
  painter.drawLine(a, b);
  DrawArrowHead(painter, a, b, head);
  DrawArrowHead(painter, b, a, head);
}

// ---------------------------------------------------------------------------------------------
// The greeting's words in one language, with the family that has their letters.
struct TGreetingWords {
  QString Family;
  bool Italic;  // Japanese letters have no italic form; slanted, they read as a mistake
  QString Welcome;
  QString Invitation;
  QString Explanation;
};

const TGreetingWords EnglishGreeting{
    SansFamily, true, QStringLiteral("Welcome!"),
    QStringLiteral("Drag the charge and watch its field radiate."),
    QStringLiteral("When a charge changes its speed, each field line gets a kink that runs outward "
                   "at the speed of light.")};
const TGreetingWords JapaneseGreeting{
    QStringLiteral("IPAPGothic"), false, QStringLiteral("ようこそ！"),
    QStringLiteral("電荷をドラッグして、\n電場の放射を見てください。"),
    QStringLiteral("電荷の速さが変わると、\n電気力線に折れ曲がりができ、\n光の速さで外へ走っていきます。")};

// The greeting panel of the version window: the field lines of a charge that has just started
// to move, with the kink that travels outward, beside the program's name and a greeting.
QImage Greeting(double ratio, const TGreetingWords& words) {
  constexpr int Width = 601, Height = 337;
  QImage image = Canvas(Width, Height, Qt::black, ratio);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);

  QLinearGradient sky(0, 0, 0, Height);
  sky.setColorAt(0, QColor(14, 30, 62));
  sky.setColorAt(1, QColor(3, 8, 22));
  painter.fillRect(image.rect(), sky);

  // The charge was at rest at start, then was kicked to the right. Outside the shell the field
  // still points away from the old place; inside, away from the new one; in the shell the lines
  // are bent sideways: that kink is the radiation.
  const QPointF start(168, 172), now(222, 172);
  constexpr double InnerRadius = 100, OuterRadius = 124;

  QRadialGradient shellGlow(start, OuterRadius + 8);
  shellGlow.setColorAt(0, QColor(255, 200, 80, 0));
  shellGlow.setColorAt((InnerRadius - 6) / (OuterRadius + 8), QColor(255, 200, 80, 0));
  shellGlow.setColorAt((InnerRadius + OuterRadius) / 2 / (OuterRadius + 8),
                       QColor(255, 200, 80, 60));
  shellGlow.setColorAt(1, QColor(255, 200, 80, 0));
  painter.setPen(Qt::NoPen);
  painter.setBrush(shellGlow);
  painter.drawEllipse(start, OuterRadius + 8, OuterRadius + 8);

  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(255, 210, 110, 90), 1, Qt::DashLine));
  painter.drawEllipse(start, InnerRadius, InnerRadius);
  painter.drawEllipse(start, OuterRadius, OuterRadius);

  const QColor lineColour(120, 205, 255), kinkColour(255, 205, 90);
  constexpr int Lines = 20;
  for (int i = 0; i < Lines; ++i) {
    const double angle = (i + 0.5) * 2 * Pi / Lines;
    const QPointF u = Direction(angle);
    // The inner line leaves the charge and ends on the inner circle round the starting point:
    // solve |now + s u - start| = InnerRadius for s > 0.
    const QPointF offset = now - start;
    const double b = offset.x() * u.x() + offset.y() * u.y();
    const double c = offset.x() * offset.x() + offset.y() * offset.y() - InnerRadius * InnerRadius;
    const double s = -b + std::sqrt(b * b - c);
    const QPointF innerEnd = now + u * s, outerStart = start + u * OuterRadius;
    painter.setPen(QPen(lineColour, 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(now + u * 12, innerEnd);
    painter.drawLine(outerStart, start + u * 800);
    painter.setPen(QPen(kinkColour, 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(innerEnd, outerStart);
  }

  // Where the charge was, and the way it went.
  painter.setPen(QPen(QColor(255, 255, 255, 110), 1.2, Qt::DotLine));
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(start, 7, 7);
  painter.drawLine(start + QPointF(8, 0), now - QPointF(12, 0));

  QRadialGradient ball(now - QPointF(3, 3), 12);
  ball.setColorAt(0, QColor(255, 140, 160));
  ball.setColorAt(1, QColor(200, 20, 60));
  painter.setPen(QPen(QColor(255, 220, 230), 1));
  painter.setBrush(ball);
  painter.drawEllipse(now, 10, 10);
  painter.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(now - QPointF(4.5, 0), now + QPointF(4.5, 0));

  // The words, on a soft panel so the lines behind them do not disturb the reading. The bottom
  // right corner stays quiet: the window's web link button sits over it.
  const QRectF panel(338, 26, 246, 262);
  painter.setPen(QPen(QColor(255, 255, 255, 40), 1));
  painter.setBrush(QColor(4, 10, 26, 205));
  painter.drawRoundedRect(panel, 14, 14);

  const double left = panel.left() + 18, textWidth = panel.width() - 36;
  painter.setPen(Qt::white);
  painter.setFont(Font(SansFamily, 27, true, QFont::Bold));
  painter.drawText(QRectF(left, panel.top() + 16, textWidth, 70), Qt::AlignLeft | Qt::TextWordWrap,
                   QStringLiteral("Halvoran Radiation"));

  painter.setPen(kinkColour);
  painter.setFont(Font(words.Family, 22, false, QFont::Bold));
  painter.drawText(QPointF(left, panel.top() + 118), words.Welcome);

  painter.setPen(QColor(232, 238, 248));
  painter.setFont(Font(words.Family, 16));
  painter.drawText(QRectF(left, panel.top() + 132, textWidth, 50), Qt::AlignLeft | Qt::TextWordWrap,
                   words.Invitation);

  painter.setPen(QColor(150, 185, 225));
  painter.setFont(Font(words.Family, 12.5, words.Italic));
  painter.drawText(QRectF(left, panel.top() + 188, textWidth, 64), Qt::AlignLeft | Qt::TextWordWrap,
                   words.Explanation);
  return image;
}

// ---------------------------------------------------------------------------------------------
// The orbit picture at the top of the undulator dialog: the electron's path through the magnets
// as the program runs it (engine/PathGen.cpp): in along the axis, y = a (1 - cos(2π z / λu)) over
// N periods, swinging from the axis to 2a and back, out along the axis. It marks the amplitude a
// about the orbit's centre line and the swing 2a, the period λu, the periods numbered, the orbit
// angle φ and the emitted wave of wavelength λrad reaching an observer at angle θ.
void DrawEye(QPainter& painter, QPointF centre, double lookAngle) {
  painter.save();
  painter.translate(centre);
  painter.rotate(-lookAngle * 180 / Pi);
  QPainterPath almond;
  almond.moveTo(-13, 0);
  almond.quadTo(0, -11, 13, 0);
  almond.quadTo(0, 11, -13, 0);
  painter.setPen(QPen(Qt::white, 1.4));
  painter.setBrush(QColor(245, 245, 245));
  painter.drawPath(almond);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(70, 140, 220));
  painter.drawEllipse(QPointF(-4, 0), 4.6, 4.6);
  painter.setBrush(Qt::black);
  painter.drawEllipse(QPointF(-4.8, 0), 2.1, 2.1);
  painter.restore();
}

QImage UndulatorOrbit(double ratio) {
  constexpr int Width = 513, Height = 177;
  QImage image = Canvas(Width, Height, Qt::black, ratio);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);

  // Axis is the line of the entry and exit straights; the orbit swings from it to 2a on one side
  // and back, about its centre line at a. Up on the picture is up on the plot.
  constexpr double X0 = 46, Period = 80, Axis = 115, Amplitude = 25;
  constexpr int Periods = 4;
  const double xEnd = X0 + Periods * Period;
  const double centreY = Axis - Amplitude, crestY = Axis - 2 * Amplitude;
  // y = a (1 - cos(2π z / λu)) with z from the start of the first period.
  auto pathY = [&](double x) {
    return Axis - Amplitude * (1 - std::cos(2 * Pi * (x - X0) / Period));
  };

  // Magnet rows: the field peaks where the orbit bends most, at its troughs and crests, every half
  // period from the entry to the exit; it sets in and stops there at full strength, so the end
  // poles are half as long. Opposite poles face each other above and below.
  for (int k = 0; k <= 2 * Periods; ++k) {
    const double centre = X0 + k * Period / 2;
    const double left = std::max(X0, centre - Period / 4) + 1;
    const double right = std::min(xEnd, centre + Period / 4) - 1;
    const QRectF top(left, 8, right - left, 9);
    const QRectF bottom(left, Height - 17, right - left, 9);
    const bool north = k % 2 == 0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(north ? QColor(178, 52, 52) : QColor(46, 96, 178));
    painter.drawRect(top);
    painter.setBrush(north ? QColor(46, 96, 178) : QColor(178, 52, 52));
    painter.drawRect(bottom);
  }

  // The axis, where the electron comes in and goes out, and the orbit's centre line.
  painter.setPen(QPen(QColor(110, 110, 110), 1, Qt::DashLine));
  painter.drawLine(QPointF(10, Axis), QPointF(xEnd + 14, Axis));
  painter.setPen(QPen(QColor(85, 85, 85), 1, Qt::DotLine));
  painter.drawLine(QPointF(X0, centreY), QPointF(xEnd, centreY));

  // The electron path: straight in along the axis, N periods off to one side, straight out.
  QPainterPath orbit;
  orbit.moveTo(14, Axis);
  orbit.lineTo(X0, Axis);
  for (double x = X0; x <= xEnd + 0.01; x += 1) orbit.lineTo(x, pathY(x));
  orbit.lineTo(xEnd + 12, Axis);
  painter.setPen(QPen(QColor(80, 210, 255), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(orbit);
  painter.setPen(QPen(QColor(80, 210, 255), 2));
  DrawArrowHead(painter, QPointF(X0 - 6, Axis), QPointF(14, Axis), 8);

  // The electron entering.
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 90, 110));
  painter.drawEllipse(QPointF(20, Axis), 4.5, 4.5);
  painter.setPen(QColor(255, 160, 170));
  painter.setFont(Font(SerifFamily, 13, true));
  painter.drawText(QPointF(12, Axis - 10), QStringLiteral("e"));
  painter.setFont(Font(SerifFamily, 10));
  painter.drawText(QPointF(20, Axis - 16), QStringLiteral("\u2212"));

  const QColor labelColour(235, 235, 235), dimensionColour(185, 185, 185);

  // Periods numbered 1, 2 … N under the top magnets.
  painter.setPen(labelColour);
  const QStringList numbers{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("\u2026"),
                            QStringLiteral("N")};
  for (int k = 0; k < Periods; ++k) {
    const bool symbol = numbers[k] == QStringLiteral("N");
    painter.setFont(symbol ? Font(SerifFamily, 14, true) : Font(SansFamily, 13));
    painter.drawText(QRectF(X0 + k * Period, 20, Period, 18), Qt::AlignCenter, numbers[k]);
  }
  // Thin ticks between the periods.
  painter.setPen(QPen(QColor(90, 90, 90), 1));
  for (int k = 0; k <= Periods; ++k)
    painter.drawLine(QPointF(X0 + k * Period, 22), QPointF(X0 + k * Period, 36));

  // Amplitude a: from the centre line to the first crest, the letter under the arch.
  painter.setPen(QPen(dimensionColour, 1.2));
  const double crestX = X0 + Period / 2;
  DrawDimension(painter, QPointF(crestX, centreY - 1), QPointF(crestX, crestY + 2), 5);
  painter.setPen(labelColour);
  DrawSymbol(painter, QPointF(crestX + 5, centreY - 3), QStringLiteral("a"), QString(), 15);

  // The whole swing 2a, from the axis to the third crest: the orbit never crosses the axis.
  {
    const double x = X0 + 2.5 * Period;
    painter.setPen(QPen(dimensionColour, 1.2));
    DrawDimension(painter, QPointF(x, Axis - 1), QPointF(x, crestY + 2), 5);
    painter.setPen(labelColour);
    // The factor upright, the symbol in italics, as in a formula.
    const QFont upright = Font(SerifFamily, 15);
    const QString two = QStringLiteral("2");
    const QPointF at(x + 5, Axis - 6);
    painter.setFont(upright);
    painter.drawText(at, two);
    const double advance = QFontMetricsF(upright).horizontalAdvance(two);
    DrawSymbol(painter, at + QPointF(advance, 0), QStringLiteral("a"), QString(), 15);
  }

  // Period λu: under the path across the second period, trough to trough on the axis.
  const double p1 = X0 + Period, p2 = p1 + Period;
  painter.setPen(QPen(QColor(90, 90, 90), 1, Qt::DotLine));
  painter.drawLine(QPointF(p1, Axis + 3), QPointF(p1, Axis + 16));
  painter.drawLine(QPointF(p2, Axis + 3), QPointF(p2, Axis + 16));
  painter.setPen(QPen(dimensionColour, 1.2));
  DrawDimension(painter, QPointF(p1 + 1, Axis + 12), QPointF(p2 - 1, Axis + 12), 6);
  painter.setPen(labelColour);
  {
    const double w = 22;
    painter.fillRect(QRectF((p1 + p2) / 2 - w / 2 - 2, Axis + 4, w + 4, 16), Qt::black);
    DrawSymbol(painter, QPointF((p1 + p2) / 2 - w / 2, Axis + 17), QStringLiteral("\u03bb"),
               QStringLiteral("u"), 15);
  }

  // Orbit angle φ: the steepest slope 2π a / λu, where the path rises through its centre line a
  // quarter period after a trough, against the direction of the axis.
  {
    const double xc = X0 + 3.25 * Period;  // in the last period
    const double slope = 2 * Pi * Amplitude / Period;
    const double angle = std::atan(slope);
    const QPointF c(xc, centreY), u = Direction(angle);
    // Drawn long, so that it shows where the path curves away from it.
    painter.setPen(QPen(QColor(255, 150, 80), 1.3, Qt::DashLine));
    painter.drawLine(c - u * 30, c + u * 42);
    painter.setPen(QPen(QColor(255, 150, 80), 1.2));
    painter.drawLine(c, c + QPointF(24, 0));
    painter.setBrush(Qt::NoBrush);
    constexpr double r = 19;
    painter.drawArc(QRectF(xc - r, centreY - r, 2 * r, 2 * r), 0,
                    static_cast<int>(angle * 180 / Pi * 16));
    painter.setPen(QColor(255, 185, 130));
    DrawSymbol(painter, QPointF(xc + 20, centreY - 5), QStringLiteral("\u03c6"), QString(), 15);
  }

  // The wave leaving the end of the undulator towards the observer at angle θ.
  {
    const QPointF source(xEnd + 18, Axis);
    constexpr double theta = 24 * Pi / 180, length = 96, waveLength = 19, waveHeight = 5;
    const QPointF u = Direction(theta), n(-u.y(), u.x());
    painter.setPen(QPen(QColor(110, 110, 110), 1, Qt::DashLine));
    painter.drawLine(source, source + QPointF(length + 12, 0));
    QPainterPath wave;
    wave.moveTo(source);
    for (double s = 0; s <= length; s += 0.5) {
      const double envelope = std::min(1.0, s / 8);
      wave.lineTo(source + u * s + n * (waveHeight * envelope * std::sin(2 * Pi * s / waveLength)));
    }
    painter.setPen(QPen(QColor(255, 215, 80), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(wave);
    painter.setPen(QPen(QColor(255, 215, 80), 1.8));
    DrawArrowHead(painter, source + u * (length + 8), source + u * length, 8);

    // θ between the axis and the way to the eye.
    painter.setPen(QPen(dimensionColour, 1.1));
    constexpr double r = 36;
    painter.drawArc(QRectF(source.x() - r, source.y() - r, 2 * r, 2 * r), 0,
                    static_cast<int>(theta * 180 / Pi * 16));
    painter.setPen(labelColour);
    DrawSymbol(painter, source + QPointF(r + 4, -4), QStringLiteral("\u03b8"), QString(), 15);

    // λrad: one wavelength of the wave, marked beside it.
    const double s1 = 2.25 * waveLength, s2 = s1 + waveLength;
    const QPointF m1 = source + u * s1 - n * 10, m2 = source + u * s2 - n * 10;
    painter.setPen(QPen(dimensionColour, 1.1));
    DrawDimension(painter, m1, m2, 4.5);
    painter.setPen(QColor(255, 225, 120));
    DrawSymbol(painter, (m1 + m2) / 2 - n * 6 + QPointF(-22, -2), QStringLiteral("\u03bb"),
               QStringLiteral("rad"), 15);

    DrawEye(painter, source + u * (length + 22), theta);
  }
  return image;
}

// ---------------------------------------------------------------------------------------------
// Symbol-and-unit pictures beside the undulator dialog's rows.
QImage SymbolPicture(const QString& letter, const QString& subscript, const QString& unit,
                     double ratio) {
  constexpr int Width = 96, Height = 24;
  QImage image = Canvas(Width, Height, Qt::white, ratio);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setPen(Qt::black);
  constexpr double Baseline = 16.5;
  const double advance = DrawSymbol(painter, QPointF(5, Baseline), letter, subscript, 17);
  if (!unit.isEmpty()) {
    painter.setFont(Font(SansFamily, 13));
    painter.setPen(QColor(40, 40, 40));
    painter.drawText(QPointF(5 + advance + 6, Baseline), unit);
  }
  return image;
}

// A bracket joining two rows, with a chain link in the middle: the two values are linked.
QImage LinkBracket(double ratio) {
  constexpr int Width = 24, Height = 60;
  QImage image = Canvas(Width, Height, Qt::white, ratio);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor ink(50, 70, 110);
  painter.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  // Arms reach left towards the two rows; the spine is broken where the link sits.
  constexpr double Spine = 12, Top = 9, Bottom = Height - 9, Reach = 3;
  painter.drawLine(QPointF(Reach, Top), QPointF(Spine, Top));
  painter.drawLine(QPointF(Spine, Top), QPointF(Spine, 19));
  painter.drawLine(QPointF(Reach, Bottom), QPointF(Spine, Bottom));
  painter.drawLine(QPointF(Spine, Bottom), QPointF(Spine, Height - 19));

  // Two interlocked oval links, one above the other, slightly tilted.
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(ink, 1.8));
  painter.save();
  painter.translate(Spine, Height / 2.0);
  painter.rotate(-30);
  painter.drawRoundedRect(QRectF(-3.6, -10.5, 7.2, 12), 3.6, 3.6);
  painter.drawRoundedRect(QRectF(-3.6, -1.5, 7.2, 12), 3.6, 3.6);
  painter.restore();
  return image;
}

bool Write(const QDir& folder, const QString& name, const QImage& image) {
  const QByteArray jpeg = EncodeJpeg(image, JpegQuality);
  QFile file(folder.filePath(name));
  if (jpeg.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(jpeg) != jpeg.size()) {
    std::fprintf(stderr, "could not write %s\n", qPrintable(file.fileName()));
    return false;
  }
  std::printf("%s  %d x %d  %lld bytes\n", qPrintable(file.fileName()), image.width(),
              image.height(), static_cast<long long>(jpeg.size()));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  // Text needs a font database, which needs a GUI application; no window is ever shown.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <assets folder>\n", argv[0]);
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  if (!folder.exists()) {
    std::fprintf(stderr, "no such folder: %s\n", argv[1]);
    return 2;
  }
  const QString lambda = QStringLiteral("\u03bb");
  // Each picture as it is at 1, and twice as fine beside it for screens of 1.5 and more.
  const std::pair<double, const char*> ratios[] = {{1.0, ""}, {2.0, "@2x"}};
  bool ok = true;
  for (const auto& [ratio, suffix] : ratios) {
    const auto write = [&](const char* stem, const QImage& image) {
      ok &=
          Write(folder, QString::fromLatin1(stem) + QLatin1String(suffix) + QStringLiteral(".jpg"),
                image);
    };
    write("greeting", Greeting(ratio, EnglishGreeting));
    write("greeting-ja", Greeting(ratio, JapaneseGreeting));
    write("undulator-orbit", UndulatorOrbit(ratio));
    write("symbol-beta", SymbolPicture(QStringLiteral("\u03b2"), {}, {}, ratio));
    write("symbol-gamma", SymbolPicture(QStringLiteral("\u03b3"), {}, {}, ratio));
    write("symbol-lambda-u",
          SymbolPicture(lambda, QStringLiteral("u"), QStringLiteral("(cm)"), ratio));
    write("symbol-lambda-rad",
          SymbolPicture(lambda, QStringLiteral("rad"), QStringLiteral("(\u00b5m)"), ratio));
    write("symbol-phi",
          SymbolPicture(QStringLiteral("\u03c6"), {}, QStringLiteral("(rad)"), ratio));
    write("symbol-a", SymbolPicture(QStringLiteral("a"), {}, QStringLiteral("(m)"), ratio));
    write("link-bracket", LinkBracket(ratio));
  }
  return ok ? 0 : 1;
}
