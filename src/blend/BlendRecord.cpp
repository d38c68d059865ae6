#include "blend/BlendRecord.h"

#include "blend/NumberText.h"
#include "data/QualityIndex.h"

#include <array>
#include <vector>

namespace {

// Each coal's values as numbers. A blending run computes a record for every
// solution with the same coals, so the last list's numbers are kept per
// thread; a list handed in again shares its data with the kept copy, which
// proves it unchanged (a shared list cannot be changed in place).
struct CoalNumbers {
    QVector<Mei> coals;
    std::vector<std::array<double, kIndexCount>> values;
    std::vector<std::array<bool, kIndexCount>> missing;
    std::vector<double> tonsPerShovel;
};

const CoalNumbers& NumbersOf(const QVector<Mei>& coals)
{
    thread_local CoalNumbers numbers;
    if (!coals.isEmpty() && numbers.coals.constData() == coals.constData()
        && numbers.coals.size() == coals.size())
        return numbers;
    numbers.coals = coals;
    const std::size_t k = static_cast<std::size_t>(coals.size());
    numbers.values.assign(k, {});
    numbers.missing.assign(k, {});
    numbers.tonsPerShovel.assign(k, 0.0);
    for (std::size_t j = 0; j < k; ++j) {
        const Mei& coal = coals[static_cast<qsizetype>(j)];
        numbers.tonsPerShovel[j] = ReadNumberText(coal.MeiChan).value_or(0.0);
        for (int i = 0; i < kIndexCount; ++i) {
            const QString& value = IndexValue(coal, i);
            numbers.missing[j][i] = value.isEmpty();
            numbers.values[j][i] = ReadNumberText(value).value_or(0.0);
        }
    }
    return numbers;
}

}  // namespace

Mei ComputeBlend(const QVector<Mei>& coals, const QVector<double>& amounts, bool shovelMode)
{
    const qsizetype k = std::min(coals.size(), amounts.size());
    const CoalNumbers& numbers = NumbersOf(coals);

    double totalWeight = 0.0;
    double priceSum = 0.0;
    // The running sums are doubles rather than text converted back and forth
    // for every coal and index; the result is written by the value text rule.
    std::array<double, kIndexCount> sums{};
    // An index the blend cannot speak for: some coal that goes into the mix
    // has no value for it. Averaging only the other coals would report a
    // number that describes a different mixture.
    std::array<bool, kIndexCount> blank{};

    for (qsizetype j = 0; j < k; ++j) {
        double weight = amounts[j];
        if (shovelMode)
            weight *= numbers.tonsPerShovel[j];
        if (weight == 0.0)
            continue;
        totalWeight += weight;
        priceSum += coals[j].JiaGe * weight;
        const auto& values = numbers.values[j];
        const auto& missing = numbers.missing[j];
        for (int i = 0; i < kIndexCount; ++i) {
            blank[i] = blank[i] || missing[i];
            sums[i] += values[i] * weight;
        }
    }

    Mei blend;
    if (totalWeight == 0.0)
        return blend;
    for (int i = 0; i < kIndexCount; ++i)
        IndexValue(blend, i) = blank[i] ? QString() : IndexValueText(sums[i] / totalWeight);
    blend.JiaGe = RoundedPrice(priceSum / totalWeight);
    return blend;
}
