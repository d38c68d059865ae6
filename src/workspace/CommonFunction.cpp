#include "workspace/CommonFunction.h"

#include <QRegularExpression>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

bool IsNumericText(const QString& text)
{
    static const QRegularExpression number(
        QStringLiteral(R"(^[ \t]*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?[ \t]*$)"));
    return number.match(text).hasMatch();
}

bool IsNumeric(const QVariant& value)
{
    return ToNumber(value).has_value();
}

std::optional<double> ToNumber(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return std::nullopt;
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong: {
        const double d = value.toDouble();
        if (!std::isfinite(d))
            return std::nullopt;
        return d;
    }
    default:
        break;
    }
    const QString text = value.toString();
    if (!IsNumericText(text))
        return std::nullopt;
    bool ok = false;
    const double d = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    return d;
}

QString FixedText(double value, int decimals)
{
    if (!std::isfinite(value))
        return QString::number(value);
    // Take the 15 significant digits a double holds reliably, then round that
    // decimal text, so that a value typed as 12.345 rounds to 12.35 although its
    // binary form lies just below.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
    std::string digits;
    digits += buf[0];
    digits.append(buf + 2, 14);
    const int exponent = std::atoi(std::strchr(buf, 'e') + 1);
    const int intDigits = exponent + 1;
    const int keep = intDigits + decimals;  // digits of value * 10^decimals

    std::string scaled;  // value * 10^decimals as whole-number digits
    if (keep <= 0) {
        scaled = (keep == 0 && digits[0] >= '5') ? "1" : "0";
    } else if (keep >= static_cast<int>(digits.size())) {
        scaled = digits + std::string(keep - digits.size(), '0');
    } else {
        scaled = digits.substr(0, keep);
        if (digits[keep] >= '5') {
            int i = keep - 1;
            while (i >= 0 && scaled[i] == '9') {
                scaled[i] = '0';
                --i;
            }
            if (i < 0)
                scaled.insert(scaled.begin(), '1');
            else
                ++scaled[i];
        }
    }
    const auto firstNonZero = scaled.find_first_not_of('0');
    const bool zero = firstNonZero == std::string::npos;
    scaled = zero ? std::string("0") : scaled.substr(firstNonZero);
    if (static_cast<int>(scaled.size()) < decimals + 1)
        scaled.insert(0, decimals + 1 - scaled.size(), '0');
    std::string text = scaled;
    if (decimals > 0)
        text.insert(text.size() - decimals, ".");
    if (value < 0 && !zero)
        text.insert(0, "-");
    return QString::fromStdString(text);
}

namespace {

// True when the text already is what the value text rule makes of a non-zero
// number: an optional minus, a whole part without leading zeros, a point and
// exactly two decimals, at most 15 digits. Values are stored in that form, so
// lists of thousands of stored coals need not format each one again.
bool IsTwoDecimalText(const QString& text)
{
    const qsizetype n = text.size();
    const qsizetype first = (n > 0 && text[0] == QLatin1Char('-')) ? 1 : 0;
    const qsizetype point = n - 3;
    if (point - first < 1 || n - first - 1 > 15 || text[point] != QLatin1Char('.'))
        return false;
    if (text[first] == QLatin1Char('0') && point - first > 1)
        return false;
    bool nonZero = false;
    for (qsizetype k = first; k < n; ++k) {
        if (k == point)
            continue;
        const char16_t c = text[k].unicode();
        if (c < u'0' || c > u'9')
            return false;
        nonZero = nonZero || c != u'0';
    }
    return nonZero;
}

}  // namespace

QString FormatIndexValue(const QVariant& value)
{
    if (value.typeId() == QMetaType::QString) {
        QString text = value.toString();
        if (IsTwoDecimalText(text))
            return text;
    }
    const auto number = ToNumber(value);
    if (!number)
        return QString();
    if (*number == 0.0)
        return QStringLiteral("0");
    return FixedText(*number, 2);
}

double ToRoundedDouble(const QVariant& value, int decimals)
{
    const auto number = ToNumber(value);
    if (!number)
        return 0.0;
    const int places = decimals > 2 ? decimals : 2;
    return FixedText(*number, places).toDouble();
}

double RoundHalfEven(double value)
{
    // nearbyint follows the current rounding mode, which is to-nearest-even.
    return std::nearbyint(value);
}

qint32 ToLongOrZero(const QVariant& value)
{
    const auto number = ToNumber(value);
    if (!number)
        return 0;
    const double r = RoundHalfEven(*number);
    if (r >= static_cast<double>(std::numeric_limits<qint32>::max()))
        return std::numeric_limits<qint32>::max();
    if (r <= static_cast<double>(std::numeric_limits<qint32>::min()))
        return std::numeric_limits<qint32>::min();
    return static_cast<qint32>(r);
}

QString ShortestNumberText(double value)
{
    return QString::number(value, 'g', 15);
}

QString AddWeighted(const QString& value, const QString& sum, double weight)
{
    if (value.isEmpty())
        return QString();
    const double v = ToNumber(value).value_or(0.0);
    const double s = sum.isEmpty() ? 0.0 : ToNumber(sum).value_or(0.0);
    return ShortestNumberText(v * weight + s);
}

QString DivideAndFormat(const QString& sum, double divisor)
{
    if (sum.isEmpty())
        return QString();
    return FormatIndexValue(ToNumber(sum).value_or(0.0) / divisor);
}
