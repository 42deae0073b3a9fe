// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers shown in and read from the dialogs' boxes, with the locale's decimal separator.
#pragma once

#include <QLocale>
#include <QString>

// Rounded to significantDigits significant digits, then fixed-point with exactly decimals
// decimals, a leading minus for negative values, no thousands separators; a value with more than
// significantDigits integer digits is written in scientific notation instead.
// FormatFixed(0.8, 6, 3) = "0.800", FormatFixed(1234.5678, 6, 3) = "1234.570".
QString FormatFixed(double value, int significantDigits, int decimals,
                    const QLocale& locale = QLocale());

// Three significant digits: one digit, the separator, two digits, "E", the exponent's sign and
// at least two exponent digits. FormatScientific(0.311) = "3.11E-01".
QString FormatScientific(double value, const QLocale& locale = QLocale());

// Blanks around, an optional sign, digits with at most one decimal separator, an optional
// exponent. The separator is the locale's; the point is taken too where the locale writes another
// one, except in a text that reads as a whole number in groups of thousands where the locale
// groups with points ("1.500" in German): that throws EError, saying to use the locale's separator.
// Anything else, the empty text included, throws
// EError("'<text>' is not a valid floating point value").
double ParseFloat(const QString& text, const QLocale& locale = QLocale());

// A number written with a point ("0.95", the form of the suggestion lists in the code) in the
// locale's form ("0,95" in German).
QString LocalizedNumber(const QString& pointText, const QLocale& locale = QLocale());

// Leading blanks, an optional sign and decimal digits within the 32-bit range; anything else
// (trailing blanks and the empty text included) throws EError("'<text>' is not a valid integer
// value").
int ParseInteger(const QString& text);
