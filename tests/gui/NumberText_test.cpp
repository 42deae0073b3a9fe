// SPDX-License-Identifier: GPL-3.0-or-later
// The texts the dialogs show for numbers and the conversions of typed texts back, in a point and
// a comma locale.
#include "dialogs/NumberText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "app/GuardedCall.h"
#include <gtest/gtest.h>

namespace {

const QLocale Point(QLocale::English, QLocale::UnitedStates);
const QLocale Comma(QLocale::German, QLocale::Germany);

QString FloatError(const QString& text) {
  return QStringLiteral("'%1' is not a valid floating point value").arg(text);
}

QString IntegerError(const QString& text) {
  return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

// The message of the EError that parse throws, or an empty text when it throws none.
template <class F>
QString ErrorOf(F&& parse) {
  try {
    parse();
  } catch (const EError& error) {
    return QString::fromStdString(error.what());
  }
  return {};
}

struct FixedRow {
  double Value;
  int Digits;
  int Decimals;
  const char* Expected;
};

TEST(FormatFixed, RoundsToSignificantDigitsThenPadsTheDecimals) {
  const FixedRow rows[] = {
      {0.8, 6, 3, "0.800"},
      {-0.5, 6, 3, "-0.500"},
      {0.5, 6, 3, "0.500"},
      {45, 6, 3, "45.000"},
      {0.05, 6, 3, "0.050"},
      {1234.5678, 6, 3, "1234.570"},
      {0.95, 6, 3, "0.950"},
      {1.2, 6, 3, "1.200"},
      {0, 6, 3, "0.000"},
      {123456, 6, 3, "123456.000"},
      {99999.97, 6, 3, "100000.000"},
      {0.0006, 6, 3, "0.001"},
      {0.0004, 6, 3, "0.000"},
      {1.1282, 8, 2, "1.13"},
      {0.8660254037844386, 6, 6, "0.866025"},
      {0.000123456789, 6, 10, "0.0001234570"},
      {2, 6, 0, "2"},
  };
  for (const FixedRow& row : rows)
    EXPECT_EQ(FormatFixed(row.Value, row.Digits, row.Decimals, Point), QString(row.Expected))
        << row.Value << " with " << row.Digits << " digits, " << row.Decimals << " decimals";
}

TEST(FormatFixed, TinyNegativeValuesShowAsZeroWithoutMinus) {
  EXPECT_EQ(FormatFixed(-0.0001, 6, 3, Point), QStringLiteral("0.000"));
  EXPECT_EQ(FormatFixed(-0.0, 6, 3, Point), QStringLiteral("0.000"));
  EXPECT_EQ(FormatFixed(-1e-300, 6, 3, Point), QStringLiteral("0.000"));
  EXPECT_EQ(FormatFixed(-0.0006, 6, 3, Point), QStringLiteral("-0.001"));
}

TEST(FormatFixed, MoreIntegerDigitsThanSignificantOnesGoScientific) {
  EXPECT_EQ(FormatFixed(12345678, 6, 3, Point), QStringLiteral("1.23457E+07"));
  EXPECT_EQ(FormatFixed(-12345678, 6, 3, Point), QStringLiteral("-1.23457E+07"));
  // Rounding to six digits carries into a seventh integer digit.
  EXPECT_EQ(FormatFixed(999999.7, 6, 3, Point), QStringLiteral("1.00000E+06"));
  EXPECT_EQ(FormatFixed(1e300, 6, 3, Point), QStringLiteral("1.00000E+300"));
  EXPECT_EQ(FormatFixed(12345678, 6, 3, Comma), QStringLiteral("1,23457E+07"));
}

TEST(FormatFixed, UsesTheLocaleSeparatorAndNoGrouping) {
  EXPECT_EQ(FormatFixed(1234.5678, 6, 3, Comma), QStringLiteral("1234,570"));
  EXPECT_EQ(FormatFixed(-0.5, 6, 3, Comma), QStringLiteral("-0,500"));
  EXPECT_EQ(FormatFixed(123456, 6, 3, Point), QStringLiteral("123456.000"));
}

TEST(FormatScientific, ThreeSignificantDigitsAndATwoDigitExponent) {
  const struct {
    double Value;
    const char* Expected;
  } rows[] = {
      {0.311, "3.11E-01"},     {14500, "1.45E+04"}, {0.00991, "9.91E-03"},
      {28600.4, "2.86E+04"},   {-0.5, "-5.00E-01"}, {0, "0.00E+00"},
      {9.996, "1.00E+01"},     {1e-100, "1.00E-100"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(FormatScientific(row.Value, Point), QString(row.Expected)) << row.Value;
  EXPECT_EQ(FormatScientific(0.311, Comma), QStringLiteral("3,11E-01"));
}

TEST(ParseFloat, AcceptsTheNumberForms) {
  const struct {
    const char* Text;
    double Expected;
  } rows[] = {
      {"0.5", 0.5},      {"  0.5  ", 0.5},  {"\t-1.5", -1.5}, {"+2", 2},
      {"45", 45},        {".5", 0.5},       {"5.", 5},        {"1e3", 1000},
      {"1E+3", 1000},    {"2.5e-2", 0.025}, {"-0", 0},        {"007", 7},
      {"1.7e308", 1.7e308},
      // Below the smallest double: zero, not a refusal.
      {"1e-400", 0},
  };
  for (const auto& row : rows)
    EXPECT_EQ(ParseFloat(QString::fromLatin1(row.Text), Point), row.Expected) << row.Text;
}

TEST(ParseFloat, RefusesAnythingElseWithTheTextAsTyped) {
  const char* rows[] = {"",     "   ",   "abc", "0,5",   "1,000.5", "1.2.3", "1e",   "1e+",
                        "e5",   "+",     "-",   ".",     "inf",     "nan",   "0x10", "1 2",
                        "1e999", "-1e999", "1.5x", "--1", "1d0",    "1..2"};
  for (const char* text : rows) {
    const QString typed = QString::fromLatin1(text);
    EXPECT_EQ(ErrorOf([&] { ParseFloat(typed, Point); }), FloatError(typed)) << text;
  }
}

// The point is read too where the locale writes a comma, unless the text could be a number in
// groups of thousands; a text with both separators is no number.
TEST(ParseFloat, ReadsTheCommaLocale) {
  EXPECT_EQ(ParseFloat(QStringLiteral("0,5"), Comma), 0.5);
  EXPECT_EQ(ParseFloat(QStringLiteral(" -1,25E1 "), Comma), -12.5);
  EXPECT_EQ(ParseFloat(QStringLiteral("0.5"), Comma), 0.5);
  EXPECT_EQ(ErrorOf([] { ParseFloat(QStringLiteral("1.000,5"), Comma); }),
            FloatError(QStringLiteral("1.000,5")));
  EXPECT_EQ(ErrorOf([] { ParseFloat(QStringLiteral("1.000"), Comma); }),
            QStringLiteral("'1.000' can be read in two ways: write the decimal separator as ,"));
}

TEST(ParseFloat, DefaultLocaleIsTheApplicationDefault) {
  const QLocale saved;
  QLocale::setDefault(Comma);
  EXPECT_EQ(ParseFloat(QStringLiteral("0,25")), 0.25);
  EXPECT_EQ(FormatFixed(0.25, 6, 3), QStringLiteral("0,250"));
  EXPECT_EQ(FormatScientific(0.25), QStringLiteral("2,50E-01"));
  QLocale::setDefault(saved);
  EXPECT_EQ(ParseFloat(QStringLiteral("0.25")), 0.25);
}

TEST(ParseFloat, ShownTextsReadBackToTheRoundedValue) {
  for (double value : {0.8, -0.5, 45.0, 0.05, 1234.5678, 12345678.0, 0.0, 1e-7}) {
    for (const QLocale& locale : {Point, Comma}) {
      const QString shown = FormatFixed(value, 6, 3, locale);
      // The text is rounded to three decimals or six digits: reading it back is within that.
      const double tolerance = std::max(0.0005, std::fabs(value) * 5e-6);
      EXPECT_NEAR(ParseFloat(shown, locale), value, tolerance) << shown.toStdString();
    }
  }
}

// The cases the page's tests read too (NumberTextCases.json beside this file): both front-ends
// write and read each of them alike.
QJsonObject SharedCases() {
  QFile file(QFileInfo(QString::fromUtf8(__FILE__)).dir().filePath(
      QStringLiteral("NumberTextCases.json")));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QJsonDocument::fromJson(file.readAll()).object();
}

// A decimal text of the table as a double, correctly rounded as the page's Number() reads it.
double ValueOf(const QJsonValue& text) {
  const std::string digits = text.toString().toStdString();
  double value = 0.0;
  const char* begin = digits.data();
  const bool negative = !digits.empty() && digits[0] == '-';
  if (negative) ++begin;
  std::from_chars(begin, digits.data() + digits.size(), value);
  return negative ? -value : value;
}

TEST(SharedNumberTexts, TheTableIsThere) {
  const QJsonObject cases = SharedCases();
  for (const char* part : {"fixed", "scientific", "reads", "refuses"})
    EXPECT_GT(cases.value(QLatin1String(part)).toArray().size(), 10) << part;
}

TEST(SharedNumberTexts, FixedAndScientificAsThePageWritesThem) {
  const QJsonObject cases = SharedCases();
  for (const QJsonValue& entry : cases.value(QStringLiteral("fixed")).toArray()) {
    const QJsonArray row = entry.toArray();
    const double value = ValueOf(row[0]);
    const QString text = row[3].toString();
    EXPECT_EQ(FormatFixed(value, row[1].toInt(), row[2].toInt(), Point), text)
        << row[0].toString().toStdString() << " with " << row[1].toInt() << " digits, "
        << row[2].toInt() << " decimals";
    EXPECT_EQ(FormatFixed(value, row[1].toInt(), row[2].toInt(), Comma),
              QString(text).replace(QLatin1Char('.'), QLatin1Char(',')));
  }
  for (const QJsonValue& entry : cases.value(QStringLiteral("scientific")).toArray()) {
    const QJsonArray row = entry.toArray();
    EXPECT_EQ(FormatScientific(ValueOf(row[0]), Point), row[1].toString())
        << row[0].toString().toStdString();
  }
}

TEST(SharedNumberTexts, ReadsAndRefusesAsThePageDoes) {
  const QJsonObject cases = SharedCases();
  for (const QJsonValue& entry : cases.value(QStringLiteral("reads")).toArray()) {
    const QJsonArray row = entry.toArray();
    const QString text = row[0].toString();
    double read = std::nan("");
    EXPECT_EQ(ErrorOf([&] { read = ParseFloat(text, Point); }), QString()) << text.toStdString();
    EXPECT_EQ(read, ValueOf(row[1])) << text.toStdString();
  }
  for (const QJsonValue& entry : cases.value(QStringLiteral("refuses")).toArray()) {
    const QString text = entry.toString();
    EXPECT_EQ(ErrorOf([&] { ParseFloat(text, Point); }), FloatError(text)) << text.toStdString();
  }
}

TEST(ParseInteger, AcceptsLeadingBlanksSignAndDigits) {
  const struct {
    const char* Text;
    int Expected;
  } rows[] = {{"300", 300},          {"  20", 20},     {"-5", -5},
              {"+7", 7},             {"0", 0},         {"2147483647", 2147483647},
              {"-2147483648", std::numeric_limits<int>::min()},
              {"0000000000000000000012", 12}};
  for (const auto& row : rows) EXPECT_EQ(ParseInteger(QString::fromLatin1(row.Text)), row.Expected);
}

TEST(ParseInteger, RefusesTrailingBlanksFractionsAndOverflow) {
  const char* rows[] = {"",    " ",   "20 ",        "2.5",         "x1",    "1e3", "+",
                        "-",   "0x10", "2147483648", "-2147483649", "99999999999999999999",
                        "1 2", "$10"};
  for (const char* text : rows) {
    const QString typed = QString::fromLatin1(text);
    EXPECT_EQ(ErrorOf([&] { ParseInteger(typed); }), IntegerError(typed)) << text;
  }
}

}  // namespace
