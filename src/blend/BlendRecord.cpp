#include "blend/BlendRecord.h"

#include "base/NumberText.h"

CoalNumbers::CoalNumbers(const QVector<Mei>& coals, bool shovel) : shovelMode(shovel)
{
    const std::size_t k = static_cast<std::size_t>(coals.size());
    price.assign(k, 0.0);
    values.assign(k, {});
    missing.assign(k, {});
    tonsPerShovel.assign(k, 0.0);
    for (std::size_t j = 0; j < k; ++j) {
        const Mei& coal = coals[static_cast<qsizetype>(j)];
        price[j] = coal.JiaGe;
        tonsPerShovel[j] = ReadNumberText(coal.MeiChan).value_or(0.0);
        for (int i = 0; i < kIndexCount; ++i) {
            const QString& value = IndexValue(coal, i);
            missing[j][i] = value.isEmpty();
            values[j][i] = ReadNumberText(value).value_or(0.0);
        }
    }
}

Mei ComputeBlend(const CoalNumbers& coals, const QVector<double>& amounts)
{
    const std::size_t k = std::min(coals.price.size(), static_cast<std::size_t>(amounts.size()));

    double totalWeight = 0.0;
    double priceSum = 0.0;
    // The running sums are doubles rather than text converted back and forth
    // for every coal and index; the result is written by the value text rule.
    std::array<double, kIndexCount> sums{};
    // An index the blend cannot speak for: some coal that goes into the mix
    // has no value for it. Averaging only the other coals would report a
    // number that describes a different mixture.
    std::array<bool, kIndexCount> blank{};

    for (std::size_t j = 0; j < k; ++j) {
        double weight = amounts[static_cast<qsizetype>(j)];
        if (coals.shovelMode)
            weight *= coals.tonsPerShovel[j];
        if (weight == 0.0)
            continue;
        totalWeight += weight;
        priceSum += coals.price[j] * weight;
        for (int i = 0; i < kIndexCount; ++i) {
            blank[i] = blank[i] || coals.missing[j][i];
            sums[i] += coals.values[j][i] * weight;
        }
    }

    Mei blend;
    if (totalWeight == 0.0)
        return blend;
    for (int i = 0; i < kIndexCount; ++i)
        IndexValue(blend, i) = blank[i] ? QString() : FormatIndexValue(sums[i] / totalWeight);
    blend.JiaGe = ToRoundedDouble(priceSum / totalWeight);
    return blend;
}

Mei ComputeBlend(const QVector<Mei>& coals, const QVector<double>& amounts, bool shovelMode)
{
    return ComputeBlend(CoalNumbers(coals, shovelMode), amounts);
}
