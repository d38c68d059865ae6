#include "base/CoalRules.h"

#include "base/NumberText.h"

#include <array>
#include <cmath>

const FieldLimits& CoalFieldLimits(int field);

namespace {

// Stock and shovel weight in tons, price in yuan per ton. A yard holds far
// less than a hundred million tons; a loader's bucket or a truck is well
// under a thousand tons; no coal costs a million a ton. A price below zero
// (a fee paid to take a coal away) is possible but worth a question.
std::array<FieldLimits, kCoalFieldCount> BuildLimits()
{
    std::array<FieldLimits, kCoalFieldCount> limits;
    limits[kCoalNameField].label = CoreText::tr("名称");
    for (int i = 0; i < kIndexCount; ++i) {
        const QualityIndex& index = QualityIndices()[i];
        FieldLimits& l = limits[CoalIndexField(i)];
        l.label = Text::Source(index.listHeader);
        l.unit = QString::fromUtf8(index.unit);
        l.hard = index.hardRange;
        l.plausible = index.plausibleRange;
    }
    limits[kCoalStockField] = {CoreText::tr("库存"), QStringLiteral("吨"), {0, 1e8}, false, {0, 1e8}};
    limits[kCoalShovelField] = {CoreText::tr("每铲重量"), QStringLiteral("吨"), {0, 1000}, true, {0.1, 100}};
    limits[kCoalPriceField] = {CoreText::tr("价格"), QStringLiteral("元/吨"), {-1e6, 1e6}, false, {0, 10000}};
    return limits;
}

Text WithUnit(const Text& text, int field)
{
    if (field == kCoalStockField || field == kCoalShovelField)
        return CoreText::tr("%1吨", text);
    if (field == kCoalPriceField)
        return CoreText::tr("%1元/吨", text);
    const QString& unit = CoalFieldLimits(field).unit;
    if (unit.isEmpty())
        return text;
    // Latin units stand apart from the number, signs do not.
    const bool latin = unit[0].unicode() < 128 && unit[0].isLetter();
    return Text::Source(latin ? "%1 %2" : "%1%2", {text, unit});
}

// A bound as people say large round numbers: 100万, 1亿.
Text BoundText(double v)
{
    const double magnitude = std::fabs(v);
    if (magnitude >= 1e8 && std::fmod(magnitude, 1e8) == 0)
        return CoreText::tr("%1亿", ShortestNumberText(v / 1e8));
    if (magnitude >= 1e6 && std::fmod(magnitude, 1e4) == 0)
        return CoreText::tr("%1万", ShortestNumberText(v / 1e4));
    return ShortestNumberText(v);
}

Text RangeText(const ValueRange& range, int field)
{
    return WithUnit(CoreText::tr("%1～%2", BoundText(range.low), BoundText(range.high)), field);
}

bool InHardRange(const FieldLimits& limits, double value)
{
    return limits.hard.contains(value) && !(limits.lowOpen && value <= limits.hard.low);
}

// One code point of the text at i (a surrogate pair read as one), and its length.
char32_t CodePointAt(QStringView text, qsizetype i, int* length)
{
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        *length = 2;
        return QChar::surrogateToUcs4(c, text[i + 1]);
    }
    *length = 1;
    return c.unicode();
}

bool IsControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// Characters that show nothing, or change how the text around them shows:
// controls, format characters (zero-width spaces and joiners, direction marks
// and overrides, the byte order mark, the soft hyphen), line and paragraph
// separators, halves of a surrogate pair standing alone, and the fillers that
// render as blanks.
bool IsInvisible(char32_t c)
{
    if (IsControl(c))
        return true;
    switch (QChar::category(c)) {
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        break;
    }
    return c == 0x034F || c == 0x115F || c == 0x1160 || c == 0x3164 || c == 0xFFA0 || c == 0xFFFE || c == 0xFFFF;
}

QString CodeText(char32_t c)
{
    return QStringLiteral("U+") + QString::number(static_cast<uint>(c), 16).rightJustified(4, QLatin1Char('0')).toUpper();
}

}  // namespace

// The unit of a field as words: the Chinese units are translated, the
// signs and Latin units stand as they are.
Text UnitText(int field)
{
    if (field == kCoalStockField || field == kCoalShovelField)
        return CoreText::tr("吨");
    if (field == kCoalPriceField)
        return CoreText::tr("元/吨");
    return CoalFieldLimits(field).unit;
}

const FieldLimits& CoalFieldLimits(int field)
{
    static const std::array<FieldLimits, kCoalFieldCount> limits = BuildLimits();
    return limits[field];
}

Text HardRangeText(int field)
{
    const FieldLimits& limits = CoalFieldLimits(field);
    const Text text = RangeText(limits.hard, field);
    return limits.lowOpen ? CoreText::tr("%1（不含%2）", text, ShortestNumberText(limits.hard.low)) : text;
}

Text PlausibleRangeText(int field)
{
    const FieldLimits& limits = CoalFieldLimits(field);
    return RangeText(limits.plausible, field);
}

ValueVerdict CheckCoalValue(int field, double value)
{
    const FieldLimits& limits = CoalFieldLimits(field);
    const QString number = ShortestNumberText(value);
    if (!InHardRange(limits, value))
        return {ValueFit::Refused,
                CoreText::tr("%1 %2 超出了范围 %3", limits.label, number, HardRangeText(field))};
    if (!limits.plausible.contains(value))
        return {ValueFit::Implausible,
                CoreText::tr("%1 %2 不在常见范围 %3 内", limits.label, number, PlausibleRangeText(field))};
    return {};
}

Text FieldLimitsTip(int field)
{
    const FieldLimits& limits = CoalFieldLimits(field);
    Text tip = limits.label;
    if (!limits.unit.isEmpty())
        tip = CoreText::tr("%1，单位 %2", tip, UnitText(field));
    tip = CoreText::tr("%1\n可填 %2", tip, HardRangeText(field));
    if (limits.plausible.low != limits.hard.low || limits.plausible.high != limits.hard.high)
        tip = CoreText::tr("%1，常见 %2", tip, PlausibleRangeText(field));
    return tip;
}

QString NormalizedCoalName(const QString& name)
{
    return name.normalized(QString::NormalizationForm_C);
}

qsizetype FindInvisibleCharacter(QStringView text)
{
    for (qsizetype i = 0; i < text.size();) {
        int length = 1;
        if (IsInvisible(CodePointAt(text, i, &length)))
            return i;
        i += length;
    }
    return -1;
}

Text CoalNameProblem(const QString& name)
{
    qsizetype characters = 0;
    for (qsizetype i = 0; i < name.size(); ++characters) {
        int length = 1;
        const char32_t c = CodePointAt(name, i, &length);
        if (IsInvisible(c)) {
            return CoreText::tr("煤名称含有%1 %2（第 %3 个字符），请删去",
                                IsControl(c) ? CoreText::tr("控制字符") : CoreText::tr("看不见的字符"), CodeText(c),
                                QString::number(characters + 1));
        }
        i += length;
    }
    if (characters > kMaxCoalNameLength)
        return CoreText::tr("煤名称太长：有 %1 个字符，最多 %2 个", QString::number(characters),
                            QString::number(kMaxCoalNameLength));
    return Text();
}

QString VisibleText(const QString& text)
{
    constexpr qsizetype kShown = 40;
    QString out;
    qsizetype i = 0;
    for (qsizetype shown = 0; i < text.size() && shown < kShown; ++shown) {
        int length = 1;
        const char32_t c = CodePointAt(text, i, &length);
        if (IsInvisible(c))
            out += QLatin1Char('<') + CodeText(c) + QLatin1Char('>');
        else
            out += QStringView(text).mid(i, length);
        i += length;
    }
    if (i < text.size())
        out += QStringLiteral("…");
    return out;
}
