#pragma once

#include "base/AppFolder.h"
#include "base/Result.h"
#include "blend/ModelText.h"

#include <QString>
#include <QVector>

#include <memory>
#include <optional>
#include <string>

class QFile;

// The model file "mspm.dll" in the application folder: the engine reads each
// total's model from it. It lives only during a run, and it is always a new
// file of the run's own: whatever stands under its name when the run starts
// is removed first (a link is removed, never followed; a folder is refused),
// and the file is then kept open and rewritten in place for every total, so
// no other file is ever written through its name.
class ModelFile {
public:
    static Result<ModelFile> Create(const AppFolder& folder);
    ModelFile(ModelFile&& other) noexcept;
    ModelFile& operator=(ModelFile&&) = delete;
    ~ModelFile();  // closes and removes the file

    const QString& Path() const { return path_; }

    // Replaces the file's content with the model for total n.
    Status WriteModelFile(const ModelWriter& writer, int n);

private:
    ModelFile(QString path, std::unique_ptr<QFile> file);

    QString path_;
    std::unique_ptr<QFile> file_;
    std::string buffer_;  // keeps its room from one total to the next
};

// The engine's read command: "take" and the model path. A path that begins
// with a drive letter and colon loses them (the engine reads from the current
// drive); any other path is passed whole.
QByteArray ReadCommand(const QString& modelPath);

// Runs the model file through the engine with its fixed script. The k + 1
// values (X1 ... Xk, then the objective) when the engine found an optimum;
// nothing when the model has no solution (infeasible, unbounded, the solver
// gave up). A model the engine cannot read or parse is a failure, not "no
// solution": the run must stop on it.
Result<std::optional<QVector<double>>> SolveModel(const QString& modelPath, int k);
