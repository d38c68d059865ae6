#pragma once

#include <QString>
#include <QVariant>

#include <optional>

// Conversions between the text a coal value is held in and numbers. Index
// values live as text throughout the program; these rules fix how such text is
// tested, shown, rounded and summed so every window shows a number the same way.
// The number format is fixed: "." as decimal point, no thousands separators.

// True when the text converts completely to a number: optional sign, digits
// with an optional decimal point, optional exponent, blanks around allowed.
// "12.3%" and " " are not numbers.
bool IsNumericText(const QString& text);

// A value is numeric when it holds a number, or a numeric text. Null is not.
bool IsNumeric(const QVariant& value);

// The number a numeric value holds; nothing for null or non-numeric values.
std::optional<double> ToNumber(const QVariant& value);

// The value text rule: "" for null or non-numeric, "0" for zero, otherwise the
// number with exactly two decimals, halves rounded away from zero (12.345 gives 12.35).
QString FormatIndexValue(const QVariant& value);

// Rounds a numeric value to max(decimals, 2) places, halves away from zero;
// anything else gives 0.
double ToRoundedDouble(const QVariant& value, int decimals = 0);

// Nearest 32-bit whole number, halves to even (2.5 gives 2, 3.5 gives 4);
// 0 for anything not numeric. Values beyond the 32-bit range are clamped.
qint32 ToLongOrZero(const QVariant& value);

// Nearest whole number, halves to even, without a range limit.
double RoundHalfEven(double value);

// One step of a weighted sum held as text: "" when the value is empty,
// otherwise value * weight + sum (an empty sum counting as 0) in shortest form.
QString AddWeighted(const QString& value, const QString& sum, double weight);

// "" for an empty sum, otherwise FormatIndexValue(sum / divisor). The divisor
// must not be 0.
QString DivideAndFormat(const QString& sum, double divisor);

// Shortest general text of a double, at most 15 significant digits
// (100 gives 100, 12.5 gives 12.5, 8.3 * 3 gives 24.9).
QString ShortestNumberText(double value);

// value rounded to the given number of decimals (halves away from zero), as
// fixed-point text with exactly that many decimals. The rounding works on the
// value's 15-digit decimal form, so 12.345 rounds up as written.
QString FixedText(double value, int decimals);
