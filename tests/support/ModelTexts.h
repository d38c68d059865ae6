#pragma once

#include "base/NumberText.h"
#include "base/QualityIndex.h"
#include "blend/BlendProblem.h"
#include "blend/ModelText.h"

#include <QByteArray>
#include <QString>

#include <string>
#include <vector>

// The model of total n as text (the shovel-count form when input.shovelMode).
inline QString ModelTextOf(const ModelInput& input, int n)
{
    std::string bytes;
    ModelWriter(input).AppendText(bytes, n);
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// What the model file holds for total n, without its closing CR LF.
inline QByteArray ModelFileBytesOf(const ModelInput& input, int n)
{
    std::string bytes;
    ModelWriter(input).AppendFileBytes(bytes, n);
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()) - 2);
}

// The unit price of a mix at total n: its cost over n.
inline double UnitPriceOf(const BlendProblem& problem, const std::vector<double>& parts, int n)
{
    double sum = 0.0;
    for (int j = 0; j < problem.coalCount; ++j)
        sum += problem.price[j] * problem.weight[j] * parts[j];
    return sum / n;
}

// Position of an index in the index table by its Mei property name; -1 when none.
inline int IndexOf(const char* property)
{
    for (int i = 0; i < kIndexCount; ++i)
        if (qstrcmp(QualityIndices()[i].property, property) == 0)
            return i;
    return -1;
}

// Two coals and an ash limit of 12: the small model many tests are checked on
// (price 500 and 450, ash 10.5 and 14, 2 and 3 tons per shovel, 300 and 800 tons).
inline ModelInput WorkedExample()
{
    ModelInput input;
    Mei first;
    first.JiaGe = 500;
    first.HuiFen = QStringLiteral("10.50");
    first.MeiChan = QStringLiteral("2");
    first.Kucun = QStringLiteral("300");
    Mei second;
    second.JiaGe = 450;
    second.HuiFen = QStringLiteral("14.00");
    second.MeiChan = QStringLiteral("3");
    second.Kucun = QStringLiteral("800");
    input.coals = {first, second};
    input.mustInclude = {false, false};
    input.upper[IndexOf("HuiFen")] = QStringLiteral("12");
    return input;
}

// The benchmarks' run: ten coals with every index, each spread from about
// 70 % to 130 % of a base value over the coals, bounds at 85 % and 115 % of
// it, a tonnage of 1000 and two must-use coals.
inline constexpr double kBenchmarkBase[kIndexCount] = {2.0,  8.0,  5200, 5600, 3.0,  0.6,  12.0, 28.0,
                                                      33.0, 60.0, 14.0, 55.0, 70.0, 1250, 80.0};
inline ModelInput TenCoalRun(bool shovelMode)
{
    static const char* shovel[10] = {"2", "3", "2.5", "1.5", "2", "3", "1", "2.5", "2", "1.5"};
    ModelInput input;
    for (int j = 0; j < 10; ++j) {
        Mei coal;
        coal.MingCheng = QStringLiteral("煤%1").arg(j + 1);
        coal.JiaGe = 420 + 17.35 * ((j * 7) % 10);
        coal.Kucun = QString::number(400 + 150 * j);
        coal.MeiChan = QString::fromLatin1(shovel[j]);
        for (int i = 0; i < kIndexCount; ++i) {
            const double factor = 0.7 + 0.6 * (((j * 3 + i * 5) % 10) / 9.0);
            IndexValue(coal, i) = FormatIndexValue(kBenchmarkBase[i] * factor);
        }
        input.coals.push_back(coal);
        input.mustInclude.push_back(j == 2 || j == 7);
    }
    for (int i = 0; i < kIndexCount; ++i) {
        input.lower[i] = ShortestNumberText(kBenchmarkBase[i] * 0.85);
        input.upper[i] = ShortestNumberText(kBenchmarkBase[i] * 1.15);
    }
    input.tonnage = QStringLiteral("1000");
    input.shovelMode = shovelMode;
    return input;
}
