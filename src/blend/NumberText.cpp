#include "blend/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstring>

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
    if (end - begin > 400)
        return std::nullopt;

    // Copy the ASCII form while checking the shape: [+-] digits [. digits] [e [+-] digits]
    char buffer[401];
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

    double value = 0.0;
    if (const auto plain = PlainDecimal(std::string_view(buffer, length))) {
        value = plain->value();
        return value;
    }
    const auto result = std::from_chars(buffer, buffer + length, value);
    if (result.ec != std::errc() || result.ptr != buffer + length || !std::isfinite(value))
        return std::nullopt;
    return value;
}

void AppendIndexValue(std::string& out, double value)
{
    if (!std::isfinite(value))
        return;
    if (value == 0.0) {
        out += '0';
        return;
    }
    // Away from a half cent, the nearest whole number of cents is the answer
    // (the margin covers the difference between the value and its 15-digit
    // decimal form below 1e9).
    const double cents = value * 100.0;
    if (std::fabs(value) < 1e9) {
        const double whole = std::nearbyint(cents);
        const double offHalf = std::fabs(std::fabs(cents - whole) - 0.5);
        if (offHalf > 1e-3) {
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
    // Near a half cent: the 15 significant digits a double holds reliably,
    // rounded as decimal text, so that 12.345 becomes 12.35 although its
    // binary form lies below.
    char sci[40];
    const auto written = std::to_chars(sci, sci + sizeof sci, std::fabs(value),
                                       std::chars_format::scientific, 14);
    char digits[15];
    digits[0] = sci[0];
    std::memcpy(digits + 1, sci + 2, 14);
    int exponent = 0;
    std::from_chars(sci + 17 + (sci[17] == '+' ? 1 : 0), written.ptr, exponent);
    const int keep = exponent + 1 + 2;  // digits of value * 100

    // value * 100 as whole-number digits (at most 15 + a carry, or padded).
    char scaled[340];
    int size = 0;
    if (keep <= 0) {
        scaled[size++] = (keep == 0 && digits[0] >= '5') ? '1' : '0';
    } else if (keep >= 15) {
        std::memcpy(scaled, digits, 15);
        size = 15;
        const int pad = keep - 15;
        if (pad > 300)
            return;  // beyond any value the program handles
        std::memset(scaled + size, '0', pad);
        size += pad;
    } else {
        std::memcpy(scaled + 1, digits, keep);
        scaled[0] = '0';
        size = keep + 1;
        if (digits[keep] >= '5') {
            int at = size - 1;
            while (scaled[at] == '9') {
                scaled[at] = '0';
                --at;
            }
            ++scaled[at];
        }
    }
    int first = 0;
    while (first < size - 1 && scaled[first] == '0')
        ++first;
    const bool zero = first == size - 1 && scaled[first] == '0';
    if (value < 0 && !zero)
        out += '-';
    const int significant = size - first;
    if (significant < 3) {
        out += "0.";
        if (significant == 1)
            out += '0';
        out.append(scaled + first, significant);
        return;
    }
    out.append(scaled + first, significant - 2);
    out += '.';
    out.append(scaled + size - 2, 2);
}

void AppendIndexText(std::string& out, QStringView text)
{
    if (const auto value = ReadNumberText(text))
        AppendIndexValue(out, *value);
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

void AppendShortestNumber(std::string& out, double value)
{
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    out.append(buffer, written.ptr);
}

double RoundedPrice(double value)
{
    std::string text;
    AppendIndexValue(text, value);
    double rounded = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), rounded);
    return rounded;
}

QString IndexValueText(double value)
{
    std::string text;
    AppendIndexValue(text, value);
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
