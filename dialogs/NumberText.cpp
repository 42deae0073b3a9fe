// SPDX-License-Identifier: GPL-3.0-or-later
// Number texts of the dialogs' boxes: fixed and scientific formats and the strict conversions
// back, all with the locale's decimal separator and independent of the C library's locale.
#include "dialogs/NumberText.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <system_error>

#include "app/GuardedCall.h"

namespace {

// The C library's printf and strtod follow LC_NUMERIC, which QApplication sets from the
// environment; the texts are built with '.' here and the separator is swapped at the end.
QString WithSeparator(const std::string& text, const QLocale& locale) {
  QString result = QString::fromStdString(text);
  result.replace(QLatin1Char('.'), locale.decimalPoint());
  return result;
}

// Writes with snprintf and replaces any separator the C locale may have used by '.'.
template <class... Args>
std::string Print(const char* format, Args... args) {
  char buffer[512];
  const int length = std::snprintf(buffer, sizeof buffer, format, args...);
  std::string text(buffer, length < 0 ? 0 : std::min<std::size_t>(length, sizeof buffer - 1));
  for (char& c : text)
    if (c == ',') c = '.';
  return text;
}

QString NonFinite(double value) {
  if (std::isnan(value)) return QStringLiteral("NAN");
  return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

// "d.ddddE+xx": the mantissa with digits significant digits, at least two exponent digits.
std::string Scientific(double magnitude, int digits) {
  return Print("%.*E", digits - 1, magnitude);
}

bool IsBlank(QChar c) {
  return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool IsDigit(QChar c) {
  return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The text the user typed is quoted as it stands, so the message is translated before it goes in.
[[noreturn]] void NotAFloat(const QString& text) {
  throw EError(QCoreApplication::translate("Messages", "'%1' is not a valid floating point value")
                   .arg(text));
}

[[noreturn]] void NotAnInteger(const QString& text) {
  throw EError(
      QCoreApplication::translate("Messages", "'%1' is not a valid integer value").arg(text));
}

// "1.500", "-12.000.000": what a reader in a locale that groups thousands with points takes for
// a whole number, while the program would take the point for the decimal separator.
bool LooksGroupedByPoints(const QString& text, const QLocale& locale) {
  if (locale.groupSeparator() != QLatin1String(".")) return false;
  static const QRegularExpression grouped(
      QStringLiteral(R"(^[ \t]*[-+]?[1-9]\d{0,2}(\.\d{3})+[ \t]*$)"));
  return grouped.match(text).hasMatch();
}

}  // namespace

QString LocalizedNumber(const QString& pointText, const QLocale& locale) {
  return QString(pointText).replace(QLatin1Char('.'), locale.decimalPoint());
}

QString FormatFixed(double value, int significantDigits, int decimals, const QLocale& locale) {
  if (!std::isfinite(value)) return NonFinite(value);
  significantDigits = std::clamp(significantDigits, 1, 17);
  decimals = std::clamp(decimals, 0, 30);
  const bool negative = std::signbit(value);
  const double magnitude = std::fabs(value);

  // The value rounded to significantDigits digits, as "d.ddddde+x": its exponent tells how many
  // integer digits the rounded value has (999999.7 rounds up to seven).
  const std::string rounded = Print("%.*e", significantDigits - 1, magnitude);
  const int exponent = magnitude == 0.0 ? 0 : std::stoi(rounded.substr(rounded.find('e') + 1));

  std::string text;
  if (exponent + 1 > significantDigits) {
    text = Scientific(magnitude, significantDigits);
  } else if (exponent + 1 + decimals <= significantDigits) {
    // The decimals cut deeper than the significant digits: one rounding, at the last decimal.
    text = Print("%.*f", decimals, magnitude);
  } else {
    // The significant digits cut first; the decimals beyond them are zeros. The digits are
    // placed by hand so that the value is rounded only once.
    std::string digits;
    for (char c : rounded.substr(0, rounded.find('e')))
      if (c != '.') digits += c;
    std::string integerPart;
    std::string fraction;
    if (exponent >= 0) {
      integerPart = digits.substr(0, exponent + 1);
      fraction = digits.substr(exponent + 1);
    } else {
      integerPart = "0";
      fraction = std::string(-exponent - 1, '0') + digits;
    }
    fraction.resize(decimals, '0');
    text = decimals > 0 ? integerPart + "." + fraction : integerPart;
  }

  // A tiny negative value that rounds to zero is shown as zero, not "-0.000".
  const bool allZero = text.find_first_not_of("0.") == std::string::npos;
  if (negative && !allZero) text.insert(0, 1, '-');
  return WithSeparator(text, locale);
}

QString FormatScientific(double value, const QLocale& locale) {
  if (!std::isfinite(value)) return NonFinite(value);
  std::string text = Scientific(std::fabs(value), 3);
  if (std::signbit(value) && value != 0.0) text.insert(0, 1, '-');
  return WithSeparator(text, locale);
}

double ParseFloat(const QString& text, const QLocale& locale) {
  const QString separator = locale.decimalPoint();
  // The point of a suggestion written in the code, or of a user used to it, is a decimal
  // separator too, unless the locale's own separator is the point already.
  const bool pointToo = separator != QLatin1String(".");
  if (pointToo && LooksGroupedByPoints(text, locale)) {
    throw EError(QCoreApplication::translate(
                     "Messages", "'%1' can be read in two ways: write the decimal separator as %2")
                     .arg(text, separator));
  }
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;

  // Rebuilt in the form std::from_chars reads: sign, digits, '.', digits, 'e', sign, digits.
  std::string plain;
  qsizetype i = begin;
  bool negative = false;
  if (i < end && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
    negative = text[i] == QLatin1Char('-');
    ++i;
  }
  int mantissaDigits = 0;
  int leadingPlaces = 0;  // decimal places before the point, not counting leading zeros
  bool seenSeparator = false;
  bool seenNonZero = false;
  int zerosAfterPoint = 0;  // zeros between the point and the first non-zero digit
  while (i < end) {
    if (IsDigit(text[i])) {
      const char digit = static_cast<char>(text[i].unicode());
      plain += digit;
      ++mantissaDigits;
      if (digit != '0') seenNonZero = true;
      if (!seenSeparator && seenNonZero) ++leadingPlaces;
      if (seenSeparator && !seenNonZero) ++zerosAfterPoint;
      ++i;
    } else if (!seenSeparator && !separator.isEmpty() &&
               text.mid(i, separator.size()) == separator) {
      plain += '.';
      seenSeparator = true;
      i += separator.size();
    } else if (!seenSeparator && pointToo && text[i] == QLatin1Char('.')) {
      plain += '.';
      seenSeparator = true;
      ++i;
    } else {
      break;
    }
  }
  if (mantissaDigits == 0) NotAFloat(text);

  long long exponent = 0;
  if (i < end && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
    ++i;
    bool exponentNegative = false;
    if (i < end && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
      exponentNegative = text[i] == QLatin1Char('-');
      ++i;
    }
    int exponentDigits = 0;
    std::string exponentText;
    while (i < end && IsDigit(text[i])) {
      exponentText += static_cast<char>(text[i].unicode());
      // Saturates: beyond a million the value is out of range either way.
      if (exponent < 1000000) exponent = exponent * 10 + (text[i].unicode() - '0');
      ++exponentDigits;
      ++i;
    }
    if (exponentDigits == 0) NotAFloat(text);
    if (exponentNegative) exponent = -exponent;
    plain += 'e';
    plain += exponentNegative ? "-" : "";
    plain += exponentText;
  }
  if (i != end) NotAFloat(text);

  double result = 0.0;
  const auto [stop, error] = std::from_chars(plain.data(), plain.data() + plain.size(), result);
  if (error == std::errc::result_out_of_range) {
    // Below the smallest double the value is zero for every purpose here; above the largest it
    // cannot be represented at all.
    const long long magnitude = (leadingPlaces > 0 ? leadingPlaces : -zerosAfterPoint) + exponent;
    if (magnitude > 0) NotAFloat(text);
    result = 0.0;
  } else if (error != std::errc() || stop != plain.data() + plain.size()) {
    NotAFloat(text);
  }
  return negative ? -result : result;
}

int ParseInteger(const QString& text) {
  qsizetype i = 0;
  const qsizetype end = text.size();
  while (i < end && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < end && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
    negative = text[i] == QLatin1Char('-');
    ++i;
  }
  if (i == end) NotAnInteger(text);
  // Accumulated as a magnitude, so that -2147483648 fits while 2147483648 does not.
  const long long limit = negative ? -static_cast<long long>(std::numeric_limits<int>::min())
                                   : std::numeric_limits<int>::max();
  long long magnitude = 0;
  for (; i < end; ++i) {
    if (!IsDigit(text[i])) NotAnInteger(text);
    magnitude = magnitude * 10 + (text[i].unicode() - '0');
    if (magnitude > limit) NotAnInteger(text);
  }
  return static_cast<int>(negative ? -magnitude : magnitude);
}
