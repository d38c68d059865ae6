#include "blend/BlendRecord.h"

#include "blend/NumberText.h"
#include "data/QualityIndex.h"
#include "workspace/CommonFunction.h"

#include <array>

Mei ComputeBlend(const QVector<Mei>& coals, const QVector<double>& amounts, bool shovelMode)
{
    const qsizetype k = std::min(coals.size(), amounts.size());

    double totalWeight = 0.0;
    double priceSum = 0.0;
    // The running sums are doubles: the blending run computes a record for
    // every solution, and a text sum would be converted back and forth for
    // every coal and index. The result is formatted by the value text rule.
    std::array<double, kIndexCount> sums{};
    // An index the blend cannot speak for: some coal that goes into the mix
    // has no value for it. Averaging only the other coals would report a
    // number that describes a different mixture.
    std::array<bool, kIndexCount> blank{};

    for (qsizetype j = 0; j < k; ++j) {
        const Mei& coal = coals[j];
        double weight = amounts[j];
        if (shovelMode)
            weight *= ReadNumberText(coal.MeiChan).value_or(0.0);
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
                continue;
            }
            sums[i] += ReadNumberText(value).value_or(0.0) * weight;
        }
    }

    Mei blend;
    if (totalWeight == 0.0)
        return blend;
    for (int i = 0; i < kIndexCount; ++i)
        IndexValue(blend, i) = blank[i] ? QString() : IndexValueText(sums[i] / totalWeight);
    blend.JiaGe = ToRoundedDouble(priceSum / totalWeight, 0);
    return blend;
}
