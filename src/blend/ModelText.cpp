#include "blend/ModelText.h"

#include "blend/NumberText.h"

#include <array>
#include <charconv>
#include <optional>
#include <string>
#include <vector>

namespace {

void AppendInt(std::string& out, long long value)
{
    char buffer[24];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, written.ptr);
}

// Set when a copied text brought in a character beyond ASCII: only then does
// the model need converting to the 8-bit code page as a whole.
thread_local bool tNonAscii = false;

void AppendUtf8(std::string& out, const QString& text)
{
    // Numbers as typed are ASCII; anything else goes through the full conversion.
    const QChar* c = text.constData();
    const qsizetype size = text.size();
    qsizetype i = 0;
    while (i < size && c[i].unicode() < 128)
        ++i;
    if (i == size) {
        for (i = 0; i < size; ++i)
            out += static_cast<char>(c[i].unicode());
    } else {
        out += text.toUtf8().toStdString();
        tNonAscii = true;
    }
}

// The variable name of coal j (0-based), with its shovel weight in front in the
// shovel-count form.
struct Variables {
    std::vector<std::string> plain;     // "X1", "X2", ...
    std::vector<std::string> weighted;  // "2*X1", ... (shovel form) or the plain names

    Variables() = default;
    Variables(const ModelInput& input, bool shovel)
    {
        const qsizetype k = input.coals.size();
        plain.resize(k);
        weighted.resize(k);
        for (qsizetype j = 0; j < k; ++j) {
            plain[j] = "X";
            AppendInt(plain[j], j + 1);
            if (shovel) {
                AppendUtf8(weighted[j], input.coals[j].MeiChan);
                weighted[j] += '*';
            }
            weighted[j] += plain[j];
        }
    }
};

// "c1*X1+c2*X2+...": k terms joined by "+", no leading sign; a negative
// coefficient keeps the joining plus in front of its minus.
template <typename Coefficient>
void AppendTerms(std::string& out, const Variables& names, qsizetype k, Coefficient&& coefficient)
{
    for (qsizetype j = 0; j < k; ++j) {
        if (j > 0)
            out += '+';
        coefficient(out, j);
        out += '*';
        out += names.weighted[j];
    }
}

// A bound text as read once: a short plain decimal, or anything else.
struct Bound {
    QString text;
    std::optional<PlainNumber> plain;
};

Bound ReadBound(const QString& text)
{
    Bound bound{text, std::nullopt};
    if (text.size() <= 24) {
        char ascii[24];
        qsizetype length = 0;
        for (const QChar c : text) {
            if (c.unicode() >= 128)
                break;
            ascii[length++] = static_cast<char>(c.unicode());
        }
        if (length == text.size())
            bound.plain = PlainDecimal(std::string_view(ascii, static_cast<std::size_t>(length)));
    }
    return bound;
}

// A bound's right-hand side: the bound times n, at most 15 significant digits,
// so 8.3 * 3 reads 24.9. Text that is no number is left for the engine to refuse.
void AppendBoundTimesTotal(std::string& out, const Bound& bound, int n)
{
    if (bound.plain) {
        AppendTimesTotal(out, *bound.plain, n);
        return;
    }
    if (const auto value = ReadNumberText(bound.text))
        AppendShortestNumber(out, *value * n);
    else
        AppendUtf8(out, bound.text);
}

// The bound texts of the last model, as read; read again only when a text changed.
const Bound& BoundFor(const QString& text, int slot)
{
    thread_local std::array<Bound, 2 * kIndexCount> bounds;
    Bound& bound = bounds[static_cast<std::size_t>(slot)];
    if (bound.text.isNull() || bound.text != text)
        bound = ReadBound(text);
    return bound;
}

// The term lists of one coal list. A run writes a model for every total with
// the same coals, and the lists (the bulk of a model) do not depend on the
// total, so the last coal list's lists are kept per thread and used again
// while the coals and the form are the same.
struct TermLists {
    QVector<Mei> coals;
    bool shovel = false;
    bool valid = false;
    bool nonAscii = false;  // a shovel weight beyond ASCII
    Variables names;
    std::string price;
    std::array<std::string, kIndexCount> index;
    std::array<bool, kIndexCount> built{};

    const std::string& Index(int i)
    {
        if (!built[i]) {
            index[i].clear();
            AppendTerms(index[i], names, coals.size(),
                        [&](std::string& o, qsizetype j) { AppendIndexText(o, IndexValue(coals.at(j), i)); });
            built[i] = true;
        }
        return index[i];
    }
};

TermLists& TermListsFor(const ModelInput& input, bool shovel)
{
    thread_local TermLists lists;
    // The same list handed in again shares its data with the kept copy (and
    // could not have been changed in place while shared): no need to compare.
    const bool same = lists.valid && lists.shovel == shovel
                      && (lists.coals.constData() == input.coals.constData() || lists.coals == input.coals)
                      && lists.coals.size() == input.coals.size();
    if (!same) {
        lists.coals = input.coals;
        lists.shovel = shovel;
        const bool before = tNonAscii;
        tNonAscii = false;
        lists.names = Variables(input, shovel);
        lists.nonAscii = tNonAscii;
        tNonAscii = before;
        lists.price.clear();
        AppendTerms(lists.price, lists.names, input.coals.size(),
                    [&](std::string& o, qsizetype j) { AppendIndexValue(o, input.coals[j].JiaGe); });
        lists.built.fill(false);
        lists.valid = true;
    }
    return lists;
}

// The model text in UTF-8; the shovel-count form is written directly, with the
// same result as ApplyShovelWeights on the plain form.
void AppendModelBytes(std::string& out, const ModelInput& input, int n, bool shovel)
{
    const qsizetype k = input.coals.size();
    TermLists& lists = TermListsFor(input, shovel);
    tNonAscii = tNonAscii || lists.nonAscii;
    const Variables& names = lists.names;

    out += "model:\r\n[rObj] min=";
    out += lists.price;
    out += ";\r\n";

    for (int i = 0; i < kIndexCount; ++i) {
        const QString& lower = input.lower[i];
        const QString& upper = input.upper[i];
        if (lower.isEmpty() && upper.isEmpty())
            continue;
        const std::string& terms = lists.Index(i);
        if (!lower.isEmpty()) {
            out += terms;
            out += '>';
            AppendBoundTimesTotal(out, BoundFor(lower, 2 * i), n);
            out += ";\r\n";
        }
        if (!upper.isEmpty()) {
            out += terms;
            out += '<';
            AppendBoundTimesTotal(out, BoundFor(upper, 2 * i + 1), n);
            out += ";\r\n";
        }
    }

    for (qsizetype j = 0; j < k; ++j) {
        if (j < input.mustInclude.size() && input.mustInclude[j]) {
            out += names.weighted[j];
            out += ">1;\r\n";
        }
    }

    for (qsizetype j = 0; j < k; ++j) {
        if (j > 0)
            out += '+';
        out += names.weighted[j];
    }
    out += '=';
    AppendInt(out, n);
    out += ";\r\n";

    if (!input.tonnage.isEmpty()) {
        std::string tonnage;
        AppendUtf8(tonnage, input.tonnage);
        for (qsizetype j = 0; j < k; ++j) {
            out += tonnage;
            out += '*';
            out += names.weighted[j];
            out += '<';
            AppendUtf8(out, input.coals[j].Kucun);
            out += '*';
            AppendInt(out, n);
            out += ";\r\n";
        }
    }

    for (qsizetype j = 0; j < k; ++j) {
        out += "@gin(";
        out += names.plain[j];
        out += ");\r\n";
    }
    out += "data:\r\n";
    for (qsizetype j = 0; j < k; ++j) {
        out += "@pointer(";
        AppendInt(out, j + 1);
        out += ")=";
        out += names.plain[j];
        out += ";\r\n";
    }
    out += "@pointer(";
    AppendInt(out, k + 1);
    out += ")=rObj;\r\nenddata\r\nend";
}

}  // namespace

QString BuildModelText(const ModelInput& input, int n)
{
    std::string bytes;
    AppendModelBytes(bytes, input, n, false);
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

void AppendModelFileBytes(std::string& out, const ModelInput& input, int n)
{
    bool direct = true;
    if (input.shovelMode) {
        // Writing the weights directly equals rewriting the plain text unless a
        // copied text itself holds a variable name; such input takes the long way.
        auto holdsX = [](const QString& t) { return t.contains(QLatin1Char('X')); };
        direct = !holdsX(input.tonnage);
        for (const Mei& coal : input.coals)
            direct = direct && !holdsX(coal.Kucun) && !holdsX(coal.MeiChan);
        for (int i = 0; i < kIndexCount; ++i)
            direct = direct && !holdsX(input.lower[i]) && !holdsX(input.upper[i]);
    }
    if (!direct) {
        out += ApplyShovelWeights(BuildModelText(input, n), input.coals).toLocal8Bit().toStdString();
        return;
    }
    const std::size_t start = out.size();
    tNonAscii = false;
    AppendModelBytes(out, input, n, input.shovelMode);
    if (tNonAscii) {
        const QByteArray converted =
            QString::fromUtf8(out.data() + start, static_cast<qsizetype>(out.size() - start)).toLocal8Bit();
        out.replace(start, std::string::npos, converted.constData(), static_cast<std::size_t>(converted.size()));
    }
}

QByteArray ModelFileBytes(const ModelInput& input, int n)
{
    std::string bytes;
    AppendModelFileBytes(bytes, input, n);
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
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
