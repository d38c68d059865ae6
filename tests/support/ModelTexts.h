#pragma once

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
