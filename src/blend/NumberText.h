#pragma once

#include <QString>
#include <QStringView>

#include <optional>
#include <string>
#include <string_view>

// The numeric text rules (IsNumericText / ToNumber, FormatIndexValue,
// ShortestNumberText) on the hot path of a blending run: a run writes up to
// 999 models of several hundred numbers each, so these work on plain buffers
// without regular expressions or variants. They give exactly the results of
// the general rules; the tests hold them to that.

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

// The number a numeric text holds (blanks and tabs around allowed, optional
// sign, digits with optional point, optional exponent), or nothing.
std::optional<double> ReadNumberText(QStringView text);

// FormatIndexValue of a number, appended: "" when not finite, "0" for zero,
// otherwise two decimals, halves away from zero on the 15-digit decimal form.
void AppendIndexValue(std::string& out, double value);

// FormatIndexValue of a text, appended ("" when the text is no number).
void AppendIndexText(std::string& out, QStringView text);

// ShortestNumberText, appended: at most 15 significant digits, no trailing zeros.
void AppendShortestNumber(std::string& out, double value);

// ToRoundedDouble(value, 0): rounded to two decimals as the value text rule
// rounds; 0 when not finite.
double RoundedPrice(double value);

// Convenience forms returning QString.
QString IndexValueText(double value);
