#pragma once

#include "data/Mei.h"
#include "data/QualityIndex.h"

#include <QByteArray>
#include <QString>
#include <QVector>

#include <array>
#include <string>

// Everything a blending model is written from, copied out of the workspace:
// the coals in grid order, the thirty bound texts (index order of the quality
// index table; "" = no bound), the tonnage text, the must-include marks (one
// per coal) and the shovel mode.
struct ModelInput {
    QVector<Mei> coals;
    std::array<QString, kIndexCount> lower;
    std::array<QString, kIndexCount> upper;
    QString tonnage;
    QVector<bool> mustInclude;
    bool shovelMode = false;
};

// The model text for total n in its plain form: lines joined by CR LF, ending in
// "end" with no line break after it.
QString BuildModelText(const ModelInput& input, int n);

// The text WriteModelFile puts in the model file (without its closing CR LF):
// the shovel-count form when input.shovelMode, in the 8-bit code page.
QByteArray ModelFileBytes(const ModelInput& input, int n);
// The same, appended to out (the form the model file writer uses).
void AppendModelFileBytes(std::string& out, const ModelInput& input, int n);

// The shovel-count form: every whole variable name Xk outside the @gin and
// @pointer lines becomes <MeiChan of coal k>*Xk.
QString ApplyShovelWeights(const QString& model, const QVector<Mei>& coals);
