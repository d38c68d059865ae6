#include "base/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

std::optional<PlainNumber> PlainDecimal(std::string_view text)
{
    PlainNumber number;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        number.negative = text[i] == '-';
        ++i;
    }
    int count = 0;
    int point = -1;
    for (; i < text.size(); ++i) {
        const unsigned digit = static_cast<unsigned char>(text[i]) - '0';
        if (digit <= 9) {
            if (++count > 15)
                return std::nullopt;
            number.digits = number.digits * 10 + digit;
        } else if (text[i] == '.' && point < 0) {
            point = count;
        } else {
            return std::nullopt;
        }
    }
    if (count == 0)
        return std::nullopt;
    number.decimals = point < 0 ? 0 : count - point;
    return number;
}

double PlainNumber::value() const
{
    static constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    // Both operands are exact doubles (at most 15 digits, a power of ten up to
    // 1e15), so the one division is the correctly rounded value of the text.
    const double magnitude = static_cast<double>(digits) / kPowers[decimals];
    return negative ? -magnitude : magnitude;
}

std::optional<double> ReadNumberText(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    auto blank = [&](qsizetype i) { return text[i] == u' ' || text[i] == u'\t'; };
    while (begin < end && blank(begin))
        ++begin;
    while (end > begin && blank(end - 1))
        --end;

    // Copy the ASCII form while checking the shape: [+-] digits [. digits] [e [+-] digits]
    char local[128];
    std::string longer;
    char* buffer = local;
    if (end - begin >= static_cast<qsizetype>(sizeof local)) {
        longer.resize(static_cast<std::size_t>(end - begin));
        buffer = longer.data();
    }
    qsizetype length = 0;
    qsizetype i = begin;
    auto digit = [&](qsizetype at) { return at < end && text[at] >= u'0' && text[at] <= u'9'; };
    if (i < end && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-')
            buffer[length++] = '-';
        ++i;
    }
    qsizetype mantissaDigits = 0;
    while (digit(i)) {
        buffer[length++] = static_cast<char>(text[i].unicode());
        ++i;
        ++mantissaDigits;
    }
    if (i < end && text[i] == u'.') {
        buffer[length++] = '.';
        ++i;
        while (digit(i)) {
            buffer[length++] = static_cast<char>(text[i].unicode());
            ++i;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < end && (text[i] == u'e' || text[i] == u'E')) {
        buffer[length++] = 'e';
        ++i;
        if (i < end && (text[i] == u'+' || text[i] == u'-')) {
            buffer[length++] = static_cast<char>(text[i].unicode());
            ++i;
        }
        if (!digit(i))
            return std::nullopt;
        while (digit(i)) {
            buffer[length++] = static_cast<char>(text[i].unicode());
            ++i;
        }
    }
    if (i != end)
        return std::nullopt;

    if (const auto plain = PlainDecimal(std::string_view(buffer, static_cast<std::size_t>(length))))
        return plain->value();
    double value = 0.0;
    const auto result = std::from_chars(buffer, buffer + length, value);
    if (result.ec == std::errc::result_out_of_range && result.ptr == buffer + length) {
        // Too small for a double is zero; too large is no number the program
        // can hold.
        const std::string_view all(buffer, static_cast<std::size_t>(length));
        const std::size_t e = all.find('e');
        const std::string_view mantissa = all.substr(0, e);
        int exponent = 0;
        if (e != std::string_view::npos) {
            const char* from = all.data() + e + 1 + (all[e + 1] == '+' ? 1 : 0);
            if (std::from_chars(from, all.data() + all.size(), exponent).ec != std::errc())
                exponent = all[e + 1] == '-' ? std::numeric_limits<int>::min() / 2 : std::numeric_limits<int>::max() / 2;
        }
        const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
        const std::size_t first = mantissa.find_first_not_of("-0.");
        if (first == std::string_view::npos)
            return 0.0;
        const long long magnitude = first < point ? static_cast<long long>(point - first) - 1
                                                  : -static_cast<long long>(first - point);
        if (magnitude + exponent < 0)
            return mantissa.front() == '-' ? -0.0 : 0.0;
        return std::nullopt;
    }
    if (result.ec != std::errc() || result.ptr != buffer + length || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool IsNumericText(QStringView text)
{
    return ReadNumberText(text).has_value();
}

bool IsUsableNumber(QStringView text)
{
    const std::optional<double> value = ReadNumberText(text);
    return value && std::fabs(*value) < kLargestValue;
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
    case QMetaType::QString:
        return ReadNumberText(*static_cast<const QString*>(value.constData()));
    default:
        break;
    }
    return ReadNumberText(value.toString());
}

void AppendFixed(std::string& out, double value, int decimals)
{
    if (!std::isfinite(value))
        return;
    if (decimals == 2 && std::fabs(value) < 1e9) {
        // Away from a half cent, the nearest whole number of cents is the
        // answer (the margin covers the difference between the value and its
        // 15-digit decimal form below 1e9).
        const double cents = value * 100.0;
        const double whole = std::nearbyint(cents);
        if (std::fabs(std::fabs(cents - whole) - 0.5) > 1e-3) {
            long long c = static_cast<long long>(whole);
            if (c < 0) {
                out += '-';
                c = -c;
            }
            char digits[24];
            const auto written = std::to_chars(digits, digits + sizeof digits, c);
            const int length = static_cast<int>(written.ptr - digits);
            if (length <= 2) {
                out += "0.";
                if (length == 1)
                    out += '0';
                out.append(digits, length);
            } else {
                out.append(digits, length - 2);
                out += '.';
                out.append(digits + length - 2, 2);
            }
            return;
        }
    }
    // The 15 significant digits a double holds reliably, rounded as decimal
    // text, so that 12.345 becomes 12.35 although its binary form lies below.
    char sci[40];
    const auto written = std::to_chars(sci, sci + sizeof sci, std::fabs(value), std::chars_format::scientific, 14);
    char digits[15];
    digits[0] = sci[0];
    std::memcpy(digits + 1, sci + 2, 14);
    int exponent = 0;
    std::from_chars(sci + 17 + (sci[17] == '+' ? 1 : 0), written.ptr, exponent);
    const int keep = exponent + 1 + decimals;  // digits of value * 10^decimals

    std::string scaled;  // value * 10^decimals as whole-number digits
    if (keep <= 0) {
        scaled = (keep == 0 && digits[0] >= '5') ? "1" : "0";
    } else if (keep >= 15) {
        scaled.assign(digits, 15);
        scaled.append(static_cast<std::size_t>(keep - 15), '0');
    } else {
        scaled.assign(1, '0');
        scaled.append(digits, static_cast<std::size_t>(keep));
        if (digits[keep] >= '5') {
            std::size_t at = scaled.size() - 1;
            while (scaled[at] == '9') {
                scaled[at] = '0';
                --at;
            }
            ++scaled[at];
        }
    }
    const std::size_t first = scaled.find_first_not_of('0');
    const bool zero = first == std::string::npos;
    scaled = zero ? std::string("0") : scaled.substr(first);
    const std::size_t wanted = static_cast<std::size_t>(decimals) + 1;
    if (scaled.size() < wanted)
        scaled.insert(0, wanted - scaled.size(), '0');
    if (value < 0 && !zero)
        out += '-';
    out.append(scaled, 0, scaled.size() - decimals);
    if (decimals > 0) {
        out += '.';
        out.append(scaled, scaled.size() - decimals, std::string::npos);
    }
}

QString FixedText(double value, int decimals)
{
    std::string text;
    AppendFixed(text, value, decimals);
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

void AppendIndexValue(std::string& out, double value)
{
    if (!std::isfinite(value))
        return;
    if (value == 0.0) {
        out += '0';
        return;
    }
    AppendFixed(out, value, 2);
}

void AppendIndexText(std::string& out, QStringView text)
{
    if (const auto value = ReadNumberText(text))
        AppendIndexValue(out, *value);
}

QString FormatIndexValue(double value)
{
    std::string text;
    AppendIndexValue(text, value);
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
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
        const QString& text = *static_cast<const QString*>(value.constData());
        if (IsTwoDecimalText(text))
            return text;
    }
    const auto number = ToNumber(value);
    if (!number)
        return QString();
    return FormatIndexValue(*number);
}

double ToRoundedDouble(double value)
{
    std::string text;
    AppendFixed(text, value, 2);
    double rounded = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), rounded);
    return rounded;
}

double ToRoundedDouble(const QVariant& value)
{
    const auto number = ToNumber(value);
    return number ? ToRoundedDouble(*number) : 0.0;
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

void AppendShortestNumber(std::string& out, double value)
{
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    out.append(buffer, written.ptr);
}

QString ShortestNumberText(double value)
{
    std::string text;
    AppendShortestNumber(text, value);
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

void AppendTimesTotal(std::string& out, const PlainNumber& number, long long n)
{
    // The exact product of a short decimal and a whole number is what the
    // double product rounds to at 15 significant digits, as long as it has
    // at most 15 digits and lies where that rounding writes no exponent
    // (from 0.0001 up to 1e15); elsewhere the general rule writes it.
    const unsigned long long limit = 1000000000000000ULL;  // 1e15
    const long long magnitudeN = n < 0 ? -n : n;
    const bool negative = number.negative != (n < 0);
    if (magnitudeN > 0 && number.digits > limit / static_cast<unsigned long long>(magnitudeN)) {
        AppendShortestNumber(out, number.value() * static_cast<double>(n));
        return;
    }
    unsigned long long product = number.digits * static_cast<unsigned long long>(magnitudeN);
    if (product >= limit) {
        AppendShortestNumber(out, number.value() * static_cast<double>(n));
        return;
    }
    int decimals = number.decimals;
    while (decimals > 0 && product % 10 == 0) {
        product /= 10;
        --decimals;
    }
    if (product == 0) {
        out += negative ? "-0" : "0";
        return;
    }
    char digits[24];
    const auto written = std::to_chars(digits, digits + sizeof digits, product);
    const int length = static_cast<int>(written.ptr - digits);
    if (decimals > 0 && length - decimals <= -4) {  // below 0.0001: exponent form
        AppendShortestNumber(out, number.value() * static_cast<double>(n));
        return;
    }
    if (negative)
        out += '-';
    if (decimals == 0) {
        out.append(digits, length);
    } else if (length > decimals) {
        out.append(digits, length - decimals);
        out += '.';
        out.append(digits + length - decimals, decimals);
    } else {
        out += "0.";
        out.append(decimals - length, '0');
        out.append(digits, length);
    }
}

namespace {

// -1, 0 or 1: below, on (within 1e-9, relative beyond 1) or above the bound.
int SideOf(double value, double bound)
{
    if (std::fabs(value - bound) <= 1e-9 * std::max(1.0, std::fabs(bound)))
        return 0;
    return value < bound ? -1 : 1;
}

// The number a fixed text of the value reads back as.
double Shown(double value, int decimals)
{
    std::string text;
    AppendFixed(text, value, decimals);
    double shown = value;
    std::from_chars(text.data(), text.data() + text.size(), shown);
    return shown;
}

}  // namespace

int BoundDecimals(double bound)
{
    if (!std::isfinite(bound))
        return 2;
    int decimals = 2;
    while (decimals < kMostDecimalsBeside
           && std::fabs(Shown(bound, decimals) - bound) > 1e-12 * std::max(1.0, std::fabs(bound)))
        ++decimals;
    return decimals;
}

int DecimalsBeside(double value, std::initializer_list<double> bounds)
{
    int decimals = 2;
    for (const double bound : bounds)
        decimals = std::max(decimals, BoundDecimals(bound));
    if (!std::isfinite(value))
        return decimals;
    auto sameSides = [&](int d) {
        const double shown = Shown(value, d);
        for (const double bound : bounds)
            if (std::isfinite(bound) && SideOf(shown, bound) != SideOf(value, bound))
                return false;
        return true;
    };
    while (decimals < kMostDecimalsBeside && !sameSides(decimals))
        ++decimals;
    return decimals;
}
