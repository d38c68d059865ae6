#include "blend/BlendRecord.h"

#include "base/NumberText.h"

CoalNumbers::CoalNumbers(const QVector<Mei>& coals, bool shovel, const BasisWeighting& weighting) : shovelMode(shovel)
{
    const std::size_t k = static_cast<std::size_t>(coals.size());
    price.assign(k, 0.0);
    values.assign(k, {});
    factors.assign(k, {});
    missing.assign(k, {});
    tonsPerShovel.assign(k, 0.0);
    for (std::size_t j = 0; j < k; ++j) {
        const Mei& coal = coals[static_cast<qsizetype>(j)];
        price[j] = coal.JiaGe;
        tonsPerShovel[j] = ReadNumberText(coal.MeiChan).value_or(0.0);
        for (int i = 0; i < kIndexCount; ++i) {
            const QString& value = IndexValue(coal, i);
            const std::optional<double> factor = BasisFactor(weighting.of(i), coal);
            missing[j][i] = value.isEmpty() || !factor;
            values[j][i] = ReadNumberText(value).value_or(0.0);
            factors[j][i] = factor.value_or(0.0);
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
    // What each index averages over: the tons, or with basis weighting the
    // tons times the coals' factors.
    std::array<double, kIndexCount> masses{};
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
            const double factor = coals.factors[j][i];
            sums[i] += coals.values[j][i] * factor * weight;
            masses[i] += factor * weight;
        }
    }

    Mei blend;
    if (totalWeight == 0.0)
        return blend;
    for (int i = 0; i < kIndexCount; ++i)
        IndexValue(blend, i) = blank[i] ? QString() : FormatIndexValue(sums[i] / masses[i]);
    blend.JiaGe = ToRoundedDouble(priceSum / totalWeight);
    return blend;
}

Mei ComputeBlend(const QVector<Mei>& coals, const QVector<double>& amounts, bool shovelMode,
                 const BasisWeighting& weighting)
{
    return ComputeBlend(CoalNumbers(coals, shovelMode, weighting), amounts);
}
