#pragma once

#include "blend/ModelText.h"
#include "data/AppFolder.h"

#include <QString>
#include <QVector>

#include <optional>

// Writes folder/fileName with the text followed by CR LF, replacing the file.
// Returns false on any failure; nothing is raised.
bool WriteTextFile(const QString& fileName, const QString& folder, const QString& text);

// Builds the model for total n (shovel form when input.shovelMode), writes it to
// "mspm.dll" in the application folder and returns its path, or "" when the file
// could not be written.
QString WriteModelFile(const AppFolder& folder, const ModelInput& input, int n);

// Runs the model file through the engine with its fixed script. Returns k + 1
// values (X1 ... Xk, then the objective) when the engine found an optimum, and
// nothing otherwise (infeasible, unreadable or unparsable model).
std::optional<QVector<double>> SolveModel(const QString& modelPath, int k);
