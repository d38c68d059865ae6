#include "blend/ModelText.h"

#include "workspace/CommonFunction.h"

namespace {

const QLatin1StringView kEol("\r\n");

// "c1*X1+c2*X2+...": k terms joined by "+", no leading sign; a negative
// coefficient keeps the joining plus in front of its minus.
void AppendTerms(QString& out, const QVector<QString>& coefficients)
{
    for (qsizetype j = 0; j < coefficients.size(); ++j) {
        if (j > 0)
            out += QLatin1Char('+');
        out += coefficients[j];
        out += QLatin1String("*X");
        out += QString::number(j + 1);
    }
}

// A bound's right-hand side: the bound times n, at most 15 significant digits,
// so 8.3 * 3 reads 24.9. Text that is no number is left for the engine to refuse.
QString BoundTimesTotal(const QString& bound, int n)
{
    const auto value = ToNumber(bound);
    if (!value)
        return bound;
    return ShortestNumberText(*value * n);
}

}  // namespace

QString BuildModelText(const ModelInput& input, int n)
{
    const qsizetype k = input.coals.size();
    const QString total = QString::number(n);

    QString out;
    out.reserve(256 + k * 40 * (kIndexCount + 4));
    out += QLatin1String("model:");
    out += kEol;

    QVector<QString> coefficients(k);
    for (qsizetype j = 0; j < k; ++j)
        coefficients[j] = FormatIndexValue(input.coals[j].JiaGe);
    out += QLatin1String("[rObj] min=");
    AppendTerms(out, coefficients);
    out += QLatin1Char(';');
    out += kEol;

    for (int i = 0; i < kIndexCount; ++i) {
        const QString& lower = input.lower[i];
        const QString& upper = input.upper[i];
        if (lower.isEmpty() && upper.isEmpty())
            continue;
        for (qsizetype j = 0; j < k; ++j)
            coefficients[j] = FormatIndexValue(IndexValue(input.coals[j], i));
        if (!lower.isEmpty()) {
            AppendTerms(out, coefficients);
            out += QLatin1Char('>');
            out += BoundTimesTotal(lower, n);
            out += QLatin1Char(';');
            out += kEol;
        }
        if (!upper.isEmpty()) {
            AppendTerms(out, coefficients);
            out += QLatin1Char('<');
            out += BoundTimesTotal(upper, n);
            out += QLatin1Char(';');
            out += kEol;
        }
    }

    for (qsizetype j = 0; j < k; ++j) {
        if (j < input.mustInclude.size() && input.mustInclude[j]) {
            out += QLatin1Char('X');
            out += QString::number(j + 1);
            out += QLatin1String(">1;");
            out += kEol;
        }
    }

    for (qsizetype j = 0; j < k; ++j) {
        if (j > 0)
            out += QLatin1Char('+');
        out += QLatin1Char('X');
        out += QString::number(j + 1);
    }
    out += QLatin1Char('=');
    out += total;
    out += QLatin1Char(';');
    out += kEol;

    if (!input.tonnage.isEmpty()) {
        for (qsizetype j = 0; j < k; ++j) {
            out += input.tonnage;
            out += QLatin1String("*X");
            out += QString::number(j + 1);
            out += QLatin1Char('<');
            out += input.coals[j].Kucun;
            out += QLatin1Char('*');
            out += total;
            out += QLatin1Char(';');
            out += kEol;
        }
    }

    for (qsizetype j = 0; j < k; ++j) {
        out += QLatin1String("@gin(X");
        out += QString::number(j + 1);
        out += QLatin1String(");");
        out += kEol;
    }

    out += QLatin1String("data:");
    out += kEol;
    for (qsizetype j = 0; j < k; ++j) {
        const QString number = QString::number(j + 1);
        out += QLatin1String("@pointer(");
        out += number;
        out += QLatin1String(")=X");
        out += number;
        out += QLatin1Char(';');
        out += kEol;
    }
    out += QLatin1String("@pointer(");
    out += QString::number(k + 1);
    out += QLatin1String(")=rObj;");
    out += kEol;
    out += QLatin1String("enddata");
    out += kEol;
    out += QLatin1String("end");
    return out;
}

QString ApplyShovelWeights(const QString& model, const QVector<Mei>& coals)
{
    // One pass over the text: a variable name is "X" and its digits, not glued
    // to a longer name before it. The names in "@gin(X" and ")=X" (integrality
    // and pointer lines) keep their plain form, because the variables stay whole
    // shovel counts and the pointers name them, not their weights.
    const qsizetype count = coals.size();
    const qsizetype size = model.size();
    const QChar* text = model.constData();
    QString out;
    out.reserve(size + size / 2);

    auto isNameChar = [](QChar c) {
        return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('@');
    };
    auto precededBy = [&](qsizetype at, QLatin1StringView what) {
        return at >= what.size() && QStringView(text + at - what.size(), what.size()) == what;
    };

    qsizetype i = 0;
    while (i < size) {
        const QChar c = text[i];
        if (c != QLatin1Char('X') || (i > 0 && isNameChar(text[i - 1]))) {
            out += c;
            ++i;
            continue;
        }
        qsizetype end = i + 1;
        qint64 number = 0;
        while (end < size && text[end].unicode() >= '0' && text[end].unicode() <= '9'
               && end - i <= 9) {
            number = number * 10 + (text[end].unicode() - '0');
            ++end;
        }
        const bool wholeName = end > i + 1 && (end == size || !isNameChar(text[end]));
        const bool protectedName = precededBy(i, QLatin1StringView("@gin("))
                                   || precededBy(i, QLatin1StringView(")="));
        if (wholeName && !protectedName && number >= 1 && number <= count) {
            out += coals[number - 1].MeiChan;
            out += QLatin1Char('*');
        }
        out += QStringView(text + i, end - i);
        i = end;
    }
    return out;
}
