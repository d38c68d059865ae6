#include "blend/SolverCall.h"

#include "blend/Engine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// reason: the file system's own words, or a text of ours.
Text ModelFileFailure(const QString& path, const Text& reason)
{
    return CoreText::tr("无法写入模型文件 %1：%2", Shown(path), reason);
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

ModelFile::ModelFile(QString path, std::unique_ptr<QFile> file) : path_(std::move(path)), file_(std::move(file)) {}

ModelFile::ModelFile(ModelFile&& other) noexcept
    : path_(std::move(other.path_)), file_(std::move(other.file_)), buffer_(std::move(other.buffer_))
{
}

ModelFile::~ModelFile()
{
    if (file_) {
        file_->close();
        QFile::remove(path_);
    }
}

Result<ModelFile> ModelFile::Create(const AppFolder& folder)
{
    const QString path = folder.ModelPath();
    const QFileInfo existing(path);
    if (existing.isDir() && !existing.isSymLink())
        return Fail(ModelFileFailure(path, CoreText::tr("同名的文件夹已存在")));
    // QFile::remove takes away a link itself, not what it points to.
    if ((existing.exists() || existing.isSymLink()) && !QFile::remove(path))
        return Fail(ModelFileFailure(path, CoreText::tr("无法删除原有的同名文件")));
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadWrite | QIODevice::NewOnly))
        return Fail(ModelFileFailure(path, file->errorString()));
    return ModelFile(path, std::move(file));
}

Status ModelFile::WriteModelFile(const ModelWriter& writer, int n)
{
    buffer_.clear();
    writer.AppendFileBytes(buffer_, n);
    const qint64 size = static_cast<qint64>(buffer_.size());
    // Rewritten in place and cut to the new length, never truncated to nothing
    // first: some file systems flush a file truncated to zero when it is next
    // closed or replaced, which would make every total wait for the disk.
    bool ok = file_->seek(0) && file_->write(buffer_.data(), size) == size;
    ok = ok && (file_->size() == size || file_->resize(size));
    ok = ok && file_->flush();
    if (!ok)
        return Fail(ModelFileFailure(path_, file_->errorString()));
    return {};
}

QByteArray ReadCommand(const QString& modelPath)
{
    QString path = modelPath;
    if (path.size() >= 2 && path[1] == QLatin1Char(':') && path[0].isLetter() && path[0].unicode() < 128)
        path.remove(0, 2);
    return QByteArrayLiteral("take ") + path.toLocal8Bit();
}

Result<std::optional<QVector<double>>> SolveModel(const QString& modelPath, int k)
{
    if (k < 0)
        return std::optional<QVector<double>>();
    const QByteArray take = ReadCommand(modelPath);

    EnvironmentScope env{EngineCreateEnv()};
    if (!env.handle)
        return Fail(CoreText::tr("无法创建求解引擎的环境"));

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
    const EngineReport& report = EngineLastReport(env.handle);
    switch (report.status) {
    case EngineStatus::Optimal:
        return std::optional<QVector<double>>(cells);
    case EngineStatus::Infeasible:
    case EngineStatus::Unbounded:
    case EngineStatus::SolverFailed:
        return std::optional<QVector<double>>();
    case EngineStatus::NotSolved:
    case EngineStatus::ReadError:
    case EngineStatus::ParseError:
    case EngineStatus::ScriptError:
        break;
    }
    return Fail(CoreText::tr("求解引擎无法读取模型文件 %1：%2", Shown(modelPath),
                             QString::fromStdString(EngineDescribe(report))));
}
