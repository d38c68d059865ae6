#include "blend/BlendRecord.h"

#include "data/QualityIndex.h"
#include "workspace/CommonFunction.h"

#include <array>

Mei ComputeBlend(const QVector<Mei>& coals, const QVector<double>& amounts, bool shovelMode)
{
    const qsizetype k = std::min(coals.size(), amounts.size());

    double totalWeight = 0.0;
    double priceSum = 0.0;
    std::array<QString, kIndexCount> sums;
    // An index the blend cannot speak for: some coal that goes into the mix
    // has no value for it. Averaging only the other coals would report a
    // number that describes a different mixture.
    std::array<bool, kIndexCount> blank{};

    for (qsizetype j = 0; j < k; ++j) {
        const Mei& coal = coals[j];
        double weight = amounts[j];
        if (shovelMode)
            weight *= ToNumber(coal.MeiChan).value_or(0.0);
        if (weight == 0.0)
            continue;
        totalWeight += weight;
        priceSum += coal.JiaGe * weight;
        for (int i = 0; i < kIndexCount; ++i) {
            if (blank[i])
                continue;
            const QString& value = IndexValue(coal, i);
            if (value.isEmpty()) {
                blank[i] = true;
                sums[i].clear();
                continue;
            }
            sums[i] = AddWeighted(value, sums[i], weight);
        }
    }

    Mei blend;
    if (totalWeight == 0.0)
        return blend;
    for (int i = 0; i < kIndexCount; ++i)
        IndexValue(blend, i) = blank[i] ? QString() : DivideAndFormat(sums[i], totalWeight);
    blend.JiaGe = ToRoundedDouble(priceSum / totalWeight, 0);
    return blend;
}
