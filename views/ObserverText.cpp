// SPDX-License-Identifier: GPL-3.0-or-later
// The observer window's texts that carry numbers.
#include "views/ObserverText.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QStringList>
#include <algorithm>
#include <array>
#include <cmath>

QString ObserverWord(const char* english) {
  return QCoreApplication::translate(ObserverContext, english);
}

QString SiText(double value, const QString& unit) {
  static constexpr std::array<const char*, 13> Prefixes = {"a", "f", "p", "n", "µ", "m", "",
                                                           "k", "M", "G", "T", "P", "E"};
  constexpr int Lowest = -6;
  constexpr int Highest = 6;
  if (value == 0.0 || !std::isfinite(value)) return QStringLiteral("0 ") + unit;
  int k = std::clamp(static_cast<int>(std::floor(std::log10(std::fabs(value)) / 3.0)), Lowest,
                     Highest);
  double figure = value / std::pow(1000.0, k);
  // Rounding to three digits may reach 1000: the next prefix then shows 1.00.
  if (std::fabs(figure) >= 999.5 && k < Highest) {
    ++k;
    figure /= 1000.0;
  }
  const double size = std::fabs(figure);
  const int decimals = size >= 99.95 ? 0 : size >= 9.995 ? 1 : 2;
  return QLocale().toString(figure, 'f', decimals) + QLatin1Char(' ') +
         QString::fromUtf8(Prefixes[static_cast<std::size_t>(k - Lowest)]) + unit;
}

QString ShortNumber(double value) {
  if (value == 0.0) return QStringLiteral("0");
  return QLocale().toString(value, 'g', 3);
}

QString LeftOutText(const TObserverTrace& trace) {
  const int reset = trace.BeforeResetCount();
  const int history = trace.BeyondHistoryCount();
  if (reset + history == 0) return ObserverWord("Every sample received");
  QString text = ObserverWord("%1 of %2 samples left out:").arg(reset + history).arg(trace.Count());
  if (reset > 0) text += QLatin1Char(' ') + ObserverWord("%1 sent before the last reset").arg(reset);
  if (reset > 0 && history > 0) text += QLatin1Char(',');
  if (history > 0)
    text += QLatin1Char(' ') + ObserverWord("%1 sent before the kept history").arg(history);
  return text;
}

QString UndulatorText(const TUndulatorLight& light) {
  const double low = std::min(light.ModelWavelengthLow, light.ModelWavelengthHigh);
  const double high = std::max(light.ModelWavelengthLow, light.ModelWavelengthHigh);
  // A span narrower than the three digits shown is one value.
  const QString model = SiText(low, QStringLiteral("m")) == SiText(high, QStringLiteral("m"))
                            ? SiText(low, QStringLiteral("m"))
                            : SiText(low, QStringLiteral("m")) + QStringLiteral(" – ") +
                                  SiText(high, QStringLiteral("m"));
  QString text = ObserverWord("Model: c/f₁ = λu(1/β̄ − cos θ) = %1").arg(model) +
                 QLatin1Char('\n') +
                 ObserverWord("Dialog: λrad = λu/(2γ²)(1 + K²/2) = %1")
                     .arg(SiText(light.DialogWavelength, QStringLiteral("m")));
  if (light.OnAxis) text += QLatin1Char('\n') + ObserverWord("On the axis: odd harmonics only");
  return text;
}

QString SpectrumNoteText(const TObserverSpectrum& spectrum, double secondsPerTick) {
  QStringList lines;
  if (spectrum.Fundamental) {
    lines << ObserverWord("The path's own frequency f₀ = %1 /tick = %2; lines at n f₀")
                 .arg(ShortNumber(*spectrum.Fundamental),
                      SiText(*spectrum.Fundamental / secondsPerTick, QStringLiteral("Hz")));
  }
  if (spectrum.Undulator) lines << UndulatorText(*spectrum.Undulator);
  return lines.join(QLatin1Char('\n'));
}

std::pair<QString, QString> ObserverCsvPaths(const QString& chosen) {
  QString stem = chosen;
  if (stem.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)) stem.chop(4);
  return {stem + QStringLiteral("-trace.csv"), stem + QStringLiteral("-spectrum.csv")};
}
