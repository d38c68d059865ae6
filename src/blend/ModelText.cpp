#include "blend/ModelText.h"

#include <charconv>
#include <limits>

namespace {

void AppendInt(std::string& out, long long value)
{
    char buffer[24];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, written.ptr);
}

bool BeyondAscii(const QString& text)
{
    for (const QChar c : text)
        if (c.unicode() >= 128)
            return true;
    return false;
}

// Texts copied into the model as typed; numbers as typed are ASCII.
void AppendCopied(std::string& out, const QString& text)
{
    if (!BeyondAscii(text)) {
        for (const QChar c : text)
            out += static_cast<char>(c.unicode());
        return;
    }
    out += text.toUtf8().toStdString();
}

// "c1*X1+c2*X2+...": k terms joined by "+", no leading sign; a negative
// coefficient keeps the joining plus in front of its minus.
template <typename Coefficient>
std::string TermList(const std::vector<std::string>& names, Coefficient&& coefficient)
{
    std::string out;
    for (std::size_t j = 0; j < names.size(); ++j) {
        if (j > 0)
            out += '+';
        coefficient(out, j);
        out += '*';
        out += names[j];
    }
    return out;
}

}  // namespace

ModelWriter::ModelWriter(const ModelInput& input)
{
    const std::size_t k = static_cast<std::size_t>(input.coals.size());
    plain_.resize(k);
    weighted_.resize(k);
    must_.resize(k);
    for (std::size_t j = 0; j < k; ++j) {
        const Mei& coal = input.coals[static_cast<qsizetype>(j)];
        plain_[j] = "X";
        AppendInt(plain_[j], static_cast<long long>(j + 1));
        if (input.shovelMode) {
            AppendCopied(weighted_[j], coal.MeiChan);
            weighted_[j] += '*';
            nonAscii_ = nonAscii_ || BeyondAscii(coal.MeiChan);
        }
        weighted_[j] += plain_[j];
        must_[j] = static_cast<qsizetype>(j) < input.mustInclude.size() && input.mustInclude[static_cast<qsizetype>(j)];
    }
    price_ = TermList(weighted_, [&](std::string& o, std::size_t j) {
        AppendIndexValue(o, input.coals[static_cast<qsizetype>(j)].JiaGe);
    });

    auto readBound = [&](const QString& text) {
        Bound bound;
        bound.text = text;
        bound.number = ReadNumberText(text);
        if (!bound.number)
            nonAscii_ = nonAscii_ || BeyondAscii(text);
        // A short plain decimal times a whole number is written exactly.
        const QByteArray ascii = text.toLatin1();
        if (!BeyondAscii(text))
            if (const auto plain = PlainDecimal(std::string_view(ascii.constData(), static_cast<std::size_t>(ascii.size()))))
                bound.plain = *plain;
        return bound;
    };
    for (int i = 0; i < kIndexCount; ++i) {
        if (input.lower[i].isEmpty() && input.upper[i].isEmpty())
            continue;
        if (!input.lower[i].isEmpty())
            lower_[i] = readBound(input.lower[i]);
        if (!input.upper[i].isEmpty())
            upper_[i] = readBound(input.upper[i]);
        const Basis basis = input.weighting.of(i);
        if (basis == Basis::AsReceived) {
            terms_[i] = TermList(weighted_, [&](std::string& o, std::size_t j) {
                AppendIndexText(o, IndexValue(input.coals[static_cast<qsizetype>(j)], i));
            });
            continue;
        }
        // "f*X1" (or "f*2*X1"): a coal's weight for this index. A coal without
        // a factor, which the checks refuse before a run, gets a "?" that the
        // engine refuses rather than a row it would solve wrongly.
        std::vector<std::string> mass(k);
        for (std::size_t j = 0; j < k; ++j) {
            if (const auto f = BasisFactor(basis, input.coals[static_cast<qsizetype>(j)]))
                AppendShortestNumber(mass[j], *f);
            else
                mass[j] = "?";
            mass[j] += '*';
            mass[j] += weighted_[j];
        }
        const std::string values = TermList(mass, [&](std::string& o, std::size_t j) {
            AppendIndexText(o, IndexValue(input.coals[static_cast<qsizetype>(j)], i));
        });
        auto line = [&](const Bound& bound, char sense) {
            std::string text = values;
            text += sense;
            text += TermList(mass, [&](std::string& o, std::size_t) { AppendBoundTimesTotal(o, bound, 1); });
            text += ";\r\n";
            return text;
        };
        if (lower_[i])
            weightedLower_[i] = line(*lower_[i], '>');
        if (upper_[i])
            weightedUpper_[i] = line(*upper_[i], '<');
    }

    if (!input.tonnage.isEmpty()) {
        AppendCopied(tonnage_, input.tonnage);
        nonAscii_ = nonAscii_ || BeyondAscii(input.tonnage);
        stock_.resize(k);
        for (std::size_t j = 0; j < k; ++j) {
            const QString& stock = input.coals[static_cast<qsizetype>(j)].Kucun;
            AppendCopied(stock_[j], stock);
            nonAscii_ = nonAscii_ || BeyondAscii(stock);
        }
    }
}

// A bound's right-hand side: the bound times n, at most 15 significant digits,
// so 8.3 * 3 reads 24.9. Text that is no number is copied for the engine to refuse.
void ModelWriter::AppendBoundTimesTotal(std::string& out, const Bound& bound, int n) const
{
    if (bound.plain)
        AppendTimesTotal(out, *bound.plain, n);
    else if (bound.number)
        AppendShortestNumber(out, *bound.number * n);
    else
        AppendCopied(out, bound.text);
}

void ModelWriter::AppendText(std::string& out, int n) const
{
    const std::size_t k = plain_.size();
    out += "model:\r\n[rObj] min=";
    out += price_;
    out += ";\r\n";

    for (int i = 0; i < kIndexCount; ++i) {
        if (!weightedLower_[i].empty() || !weightedUpper_[i].empty()) {
            out += weightedLower_[i];
            out += weightedUpper_[i];
            continue;
        }
        if (lower_[i]) {
            out += terms_[i];
            out += '>';
            AppendBoundTimesTotal(out, *lower_[i], n);
            out += ";\r\n";
        }
        if (upper_[i]) {
            out += terms_[i];
            out += '<';
            AppendBoundTimesTotal(out, *upper_[i], n);
            out += ";\r\n";
        }
    }

    for (std::size_t j = 0; j < k; ++j) {
        if (must_[j]) {
            out += weighted_[j];
            out += ">1;\r\n";
        }
    }

    for (std::size_t j = 0; j < k; ++j) {
        if (j > 0)
            out += '+';
        out += weighted_[j];
    }
    out += '=';
    AppendInt(out, n);
    out += ";\r\n";

    if (!tonnage_.empty()) {
        for (std::size_t j = 0; j < k; ++j) {
            out += tonnage_;
            out += '*';
            out += weighted_[j];
            out += '<';
            out += stock_[j];
            out += '*';
            AppendInt(out, n);
            out += ";\r\n";
        }
    }

    for (std::size_t j = 0; j < k; ++j) {
        out += "@gin(";
        out += plain_[j];
        out += ");\r\n";
    }
    out += "data:\r\n";
    for (std::size_t j = 0; j < k; ++j) {
        out += "@pointer(";
        AppendInt(out, static_cast<long long>(j + 1));
        out += ")=";
        out += plain_[j];
        out += ";\r\n";
    }
    out += "@pointer(";
    AppendInt(out, static_cast<long long>(k + 1));
    out += ")=rObj;\r\nenddata\r\nend";
}

void ModelWriter::AppendFileBytes(std::string& out, int n) const
{
    const std::size_t start = out.size();
    AppendText(out, n);
    if (nonAscii_) {
        const QByteArray converted =
            QString::fromUtf8(out.data() + start, static_cast<qsizetype>(out.size() - start)).toLocal8Bit();
        out.replace(start, std::string::npos, converted.constData(), static_cast<std::size_t>(converted.size()));
    }
    out += "\r\n";
}

int ProportionCount(const QString& text)
{
    const auto number = ReadNumberText(text);
    if (!number)
        return 100;
    // Anything outside the 16-bit range was either refused by the checks (above
    // 1000) or tries no total at all (below 2).
    const double rounded = RoundHalfEven(*number);
    if (rounded > std::numeric_limits<qint16>::max())
        return std::numeric_limits<qint16>::max();
    if (rounded < std::numeric_limits<qint16>::min())
        return std::numeric_limits<qint16>::min();
    return int(rounded);
}
