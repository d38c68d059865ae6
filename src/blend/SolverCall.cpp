#include "blend/SolverCall.h"

#include "blend/Engine.h"

#include <QFile>

#include <vector>

bool WriteTextFile(const QString& fileName, const QString& folder, const QString& text)
{
    QString path = folder;
    if (!path.isEmpty() && !path.endsWith(QLatin1Char('/')) && !path.endsWith(QLatin1Char('\\')))
        path += QLatin1Char('/');
    path += fileName;

    QByteArray bytes = text.toLocal8Bit();
    bytes.append("\r\n", 2);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const bool written = file.write(bytes) == bytes.size();
    const bool flushed = file.flush();
    file.close();
    return written && flushed && file.error() == QFileDevice::NoError;
}

QString WriteModelFile(const AppFolder& folder, const ModelInput& input, int n)
{
    QString text = BuildModelText(input, n);
    if (input.shovelMode)
        text = ApplyShovelWeights(text, input.coals);
    if (!WriteTextFile(folder.ModelFileName(), folder.dir, text))
        return QString();
    return folder.ModelPath();
}

namespace {

// "take" and the model path. A path that begins with a drive letter and colon
// loses them (the engine reads from the current drive); any other path is
// passed whole, since cutting two characters off it would name another file.
QByteArray ReadCommand(const QString& modelPath)
{
    QString path = modelPath;
    if (path.size() >= 2 && path[1] == QLatin1Char(':') && path[0].isLetter() && path[0].unicode() < 128)
        path.remove(0, 2);
    return QByteArrayLiteral("take ") + path.toLocal8Bit();
}

// Releases the environment on every way out of SolveModel.
struct EnvironmentScope {
    EngineHandle handle;
    ~EnvironmentScope()
    {
        EngineCloseLogFile(handle);
        EngineDeleteEnv(handle);
    }
};

}  // namespace

std::optional<QVector<double>> SolveModel(const QString& modelPath, int k)
{
    if (k < 0)
        return std::nullopt;
    const QByteArray take = ReadCommand(modelPath);

    EnvironmentScope env{EngineCreateEnv()};
    if (!env.handle)
        return std::nullopt;

    QVector<double> cells(k + 1, 0.0);
    int counter = 0;
    for (int i = 0; i <= k; ++i)
        EngineSetPointer(env.handle, &cells[i], &counter);

    EngineExecuteScript(env.handle, "");

    double status = -1.0;
    EngineSetPointer(env.handle, &status, &counter);

    QByteArray script;
    script.reserve(take.size() + 32);
    script += "SET ECHOIN 1\n";
    script += take;
    script += "\nGO\nQUIT\n";
    EngineExecuteScript(env.handle, script.constData());

    // The engine's own verdict decides, not the objective's value: a mix
    // that costs exactly 0 is as much a solution as any other.
    if (EngineLastReport(env.handle).status != EngineStatus::Optimal)
        return std::nullopt;
    return cells;
}
