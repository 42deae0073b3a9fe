// SPDX-License-Identifier: GPL-3.0-or-later
// The conversions of the dialogs' box texts to numbers, on arbitrary text in locales with a point,
// a comma and a non-Latin decimal separator: each conversion returns a value or refuses with the
// program's own error, an accepted real number is finite, and what the boxes show for it reads
// back as nearly the same number.
#include <QByteArray>
#include <QLocale>
#include <QString>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "app/GuardedCall.h"
#include "dialogs/NumberText.h"

namespace {

[[noreturn]] void Failure(const char* what, const QString& text) {
  std::fprintf(stderr, "fuzz check failed: %s for '%s'\n", what, text.toUtf8().constData());
  std::abort();
}

void CheckFloat(const QString& text, const QLocale& locale) {
  double value = 0.0;
  try {
    value = ParseFloat(text, locale);
  } catch (const EError&) {
    return;
  }
  if (!std::isfinite(value)) Failure("an accepted number is not finite", text);
  // The boxes show six significant digits with three decimals; that text must convert back.
  const QString shown = FormatFixed(value, 6, 3, locale);
  double back = 0.0;
  try {
    back = ParseFloat(shown, locale);
  } catch (const EError&) {
    Failure("the shown text of an accepted number does not convert back", shown);
  }
  if (!(std::fabs(back - value) <= 1e-5 * std::fabs(value) + 5e-4))
    Failure("the shown text converts back to another number", shown);
  FormatScientific(value, locale);
}

void CheckInteger(const QString& text) {
  int value = 0;
  try {
    value = ParseInteger(text);
  } catch (const EError&) {
    return;
  }
  // What was accepted reads the same as a plain decimal number once the blanks before it and a
  // plus sign and leading zeros are gone.
  QString plain = text.trimmed();
  bool negative = false;
  if (plain.startsWith(QLatin1Char('+')) || plain.startsWith(QLatin1Char('-'))) {
    negative = plain.startsWith(QLatin1Char('-'));
    plain.remove(0, 1);
  }
  while (plain.size() > 1 && plain.startsWith(QLatin1Char('0'))) plain.remove(0, 1);
  const QString expected = QString::number(value).remove(QLatin1Char('-'));
  if (plain != expected || (value != 0 && negative != (value < 0)))
    Failure("an accepted integer reads as another number", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const QLocale locales[] = {QLocale::c(), QLocale(QLocale::German, QLocale::Germany),
                                    QLocale(QLocale::French, QLocale::France),
                                    QLocale(QLocale::Arabic, QLocale::Egypt)};
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QString texts[] = {QString::fromUtf8(bytes), QString::fromLatin1(bytes)};
  for (const QString& text : texts) {
    for (const QLocale& locale : locales) CheckFloat(text, locale);
    CheckInteger(text);
  }
  return 0;
}
