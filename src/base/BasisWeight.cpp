#include "base/BasisWeight.h"

#include "base/NumberText.h"

#include <cmath>

namespace {

constexpr int kInherentMoisture = 0;  // Mad
constexpr int kTotalMoisture = 1;     // Mt
constexpr int kAsh = 6;               // Ad

// The figures a basis reads, in the order they are looked at.
QVector<int> FiguresOf(Basis basis)
{
    switch (basis) {
    case Basis::AsReceived:
        return {};
    case Basis::Dry:
        return {kTotalMoisture};
    case Basis::AirDried:
        return {kTotalMoisture, kInherentMoisture};
    case Basis::DryAshFree:
        return {kTotalMoisture, kAsh};
    }
    return {};
}

// A figure as its value text shows it; nothing when missing or unusable.
std::optional<double> Figure(const Mei& coal, int index)
{
    const std::optional<double> number = ReadNumberText(IndexValue(coal, index));
    if (!number)
        return std::nullopt;
    const double shown = ToRoundedDouble(*number);
    if (shown >= 100.0)
        return std::nullopt;
    return shown;
}

Text Label(int index)
{
    return Text::Source(QualityIndices()[index].describeLabel);
}

}  // namespace

std::array<Basis, kIndexCount> DefaultBases()
{
    std::array<Basis, kIndexCount> bases{};
    for (int i = 0; i < kIndexCount; ++i)
        bases[i] = QualityIndices()[i].basis;
    return bases;
}

Text BasisName(Basis basis)
{
    switch (basis) {
    case Basis::AsReceived:
        return CoreText::tr("收到基");
    case Basis::AirDried:
        return CoreText::tr("空干基");
    case Basis::Dry:
        return CoreText::tr("干基");
    case Basis::DryAshFree:
        return CoreText::tr("干燥无灰基");
    }
    return Text();
}

QString BasisCode(Basis basis)
{
    switch (basis) {
    case Basis::AsReceived:
        return QStringLiteral("ar");
    case Basis::AirDried:
        return QStringLiteral("ad");
    case Basis::Dry:
        return QStringLiteral("d");
    case Basis::DryAshFree:
        return QStringLiteral("daf");
    }
    return QString();
}

std::optional<Basis> BasisFromCode(const QString& code)
{
    const QString key = code.trimmed();
    for (const Basis basis : {Basis::AsReceived, Basis::AirDried, Basis::Dry, Basis::DryAshFree})
        if (key.compare(BasisCode(basis), Qt::CaseInsensitive) == 0)
            return basis;
    return std::nullopt;
}

std::optional<double> BasisFactor(Basis basis, const Mei& coal)
{
    if (basis == Basis::AsReceived)
        return 1.0;
    double f = 1.0;
    for (const int index : FiguresOf(basis)) {
        const std::optional<double> figure = Figure(coal, index);
        if (!figure)
            return std::nullopt;
        const double share = 1.0 - *figure / 100.0;
        f = index == kInherentMoisture ? f / share : f * share;
    }
    return std::nearbyint(f * 1e6) / 1e6;
}

int LackingBasisFigure(Basis basis, const Mei& coal)
{
    for (const int index : FiguresOf(basis))
        if (!Figure(coal, index))
            return index;
    return -1;
}

Status CheckBasisFigures(const QVector<Mei>& coals, const BasisWeighting& weighting,
                         const std::array<bool, kIndexCount>& bounded)
{
    for (int i = 0; i < kIndexCount; ++i) {
        if (!bounded[i])
            continue;
        const Basis basis = weighting.of(i);
        for (int j = 0; j < coals.size(); ++j) {
            const int figure = LackingBasisFigure(basis, coals[j]);
            if (figure < 0)
                continue;
            const QString& text = IndexValue(coals[j], figure);
            const bool given = ReadNumberText(text).has_value();
            const Text lack = given ? CoreText::tr("的%1为%2", Label(figure), text.trimmed())
                                    : CoreText::tr("没有填写%1", Label(figure));
            const Text mend = given ? CoreText::tr("请修改%1", Label(figure)) : CoreText::tr("请填写%1", Label(figure));
            return Invalid(CoreText::tr("按基准加权时，第%1种煤（%2）%3，无法按%4计算%5。%6，或在系统配置中改变%5的基准",
                                        QString::number(j + 1), coals[j].MingCheng, lack, BasisName(basis), Label(i),
                                        mend));
        }
    }
    return {};
}
