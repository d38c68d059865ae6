#pragma once

#include <QString>
#include <QStringView>
#include <QVariant>

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

// The program's one set of number rules: how a text is read as a number, and
// how a number becomes the text a coal value, a list cell or a model line
// holds. Index values live as text throughout the program; these rules make
// every window, list, export and model show a number the same way. The
// format is fixed: "." as decimal point, no thousands separators.
//
// The functions work on plain buffers without regular expressions, since a
// blending run writes up to 999 models of several hundred numbers each and a
// list shows thousands of values.

// ---- reading -------------------------------------------------------------------

// The number a text holds: blanks and tabs around allowed, an optional sign,
// digits with an optional decimal point, an optional exponent. Nothing for
// anything else ("12.3%", " ", "") and for values beyond a double's range
// ("1e400").
std::optional<double> ReadNumberText(QStringView text);

// True when ReadNumberText finds a number.
bool IsNumericText(QStringView text);

// The largest magnitude a value typed into the program may have: a value
// text holds 15 significant digits, and everything the blending model
// multiplies a value by stays well inside what the engine reads.
inline constexpr double kLargestValue = 1e15;

// True when the text holds a number the program can work with: numeric and
// smaller in magnitude than kLargestValue. The input checks refuse anything
// else as "not a number".
bool IsUsableNumber(QStringView text);

// The number a stored value holds: a number, or a numeric text. Nothing for
// Null and for anything else.
std::optional<double> ToNumber(const QVariant& value);

// ---- writing -------------------------------------------------------------------

// The value text rule: "" for Null, non-numeric or non-finite values, "0" for
// zero, otherwise the number with exactly two decimals, halves rounded away
// from zero on the number's 15-digit decimal form (12.345 gives 12.35 although
// its binary form lies just below).
QString FormatIndexValue(const QVariant& value);
QString FormatIndexValue(double value);
void AppendIndexValue(std::string& out, double value);
// FormatIndexValue of a text, appended ("" when the text is no number).
void AppendIndexText(std::string& out, QStringView text);

// The number rounded to the given decimals as FormatIndexValue rounds, as
// fixed-point text with exactly that many decimals (0 gives "0.00" with two
// decimals); "" when not finite.
QString FixedText(double value, int decimals);
void AppendFixed(std::string& out, double value, int decimals);

// Rounded to two decimals as the value text rule rounds; 0 for anything not
// numeric or not finite.
double ToRoundedDouble(double value);
double ToRoundedDouble(const QVariant& value);

// Nearest 32-bit whole number, halves to even (2.5 gives 2, 3.5 gives 4);
// 0 for anything not numeric. Values beyond the 32-bit range are clamped.
qint32 ToLongOrZero(const QVariant& value);

// Nearest whole number, halves to even, without a range limit.
double RoundHalfEven(double value);

// Shortest general text of a double, at most 15 significant digits
// (100 gives 100, 12.5 gives 12.5, 8.3 * 3 gives 24.9).
QString ShortestNumberText(double value);
void AppendShortestNumber(std::string& out, double value);

// ---- a value beside its bounds -------------------------------------------------

// The most decimals a value is shown with beside its bounds.
inline constexpr int kMostDecimalsBeside = 10;

// The decimals a bound needs to be shown as it is: as many as its shortest
// text has, at least two (the value text rule's), at most kMostDecimalsBeside.
int BoundDecimals(double bound);

// The decimals to show a value with beside its bounds, so that it can be
// compared with them: the most any bound needs (BoundDecimals), and more, up
// to kMostDecimalsBeside, until the value's text lies on the same side of
// every bound as the value itself does (below, above, or on it; on means
// within 1e-9 of the bound, relative to the bound when it is larger than 1).
// A blend value of 0.0293 beside 0.029 and 0.0295 shows as "0.0293", 11.996
// beside 12 as "11.996", 12.0000000001 beside 12 as "12.00".
int DecimalsBeside(double value, std::initializer_list<double> bounds);

// ---- decimals as written ------------------------------------------------------

// A decimal of at most 15 digits as written ("-12.50": digits 1250, two
// decimals), without blanks or exponent.
struct PlainNumber {
    unsigned long long digits = 0;
    int decimals = 0;
    bool negative = false;
    double value() const;
};
std::optional<PlainNumber> PlainDecimal(std::string_view text);

// ShortestNumberText(number * n), appended; exact decimal arithmetic where
// that gives the same text.
void AppendTimesTotal(std::string& out, const PlainNumber& number, long long n);
