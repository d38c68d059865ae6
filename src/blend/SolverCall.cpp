#include "blend/SolverCall.h"

#include "blend/Engine.h"

#include <QByteArrayView>
#include <QFile>

#include <string>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

QString JoinPath(const QString& folder, const QString& fileName)
{
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\')))
        return folder + fileName;
    return folder + QLatin1Char('/') + fileName;
}

// Replaces the file's content with data; false on any failure.
// The file is overwritten in place and then cut to the new length rather than
// truncated to nothing first: on ext4 a file truncated to zero and rewritten
// is flushed to disk when it is closed, which would make every one of a run's
// up to 999 model writes wait for the disk.
bool WriteBytesFile(const QString& path, QByteArrayView data)
{
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(path);
    // Opening an existing file without O_CREAT spares the folder's lock.
    int fd = ::open(name.constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT)
        fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    const char* from = data.constData();
    qint64 left = data.size();
    while (ok && left > 0) {
        const ssize_t written = ::write(fd, from, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        ok = written > 0;
        if (ok) {
            from += written;
            left -= written;
        }
    }
    if (ok && info.st_size > data.size())
        ok = ::ftruncate(fd, data.size()) == 0;
    ok = ::close(fd) == 0 && ok;
    return ok;
#else
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) && !file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    bool ok = file.write(data.data(), data.size()) == data.size();
    ok = ok && (file.size() == data.size() || file.resize(data.size()));
    ok = file.flush() && ok;
    file.close();
    return ok && file.error() == QFileDevice::NoError;
#endif
}

}  // namespace

bool WriteTextFile(const QString& fileName, const QString& folder, const QString& text)
{
    QByteArray bytes = text.toLocal8Bit();
    bytes.append("\r\n", 2);
    return WriteBytesFile(JoinPath(folder, fileName), bytes);
}

QString WriteModelFile(const AppFolder& folder, const ModelInput& input, int n)
{
    // One buffer for every model of a run: its room is kept between totals.
    thread_local std::string buffer;
    buffer.clear();
    AppendModelFileBytes(buffer, input, n);
    buffer += "\r\n";
    const QString path = folder.ModelPath();
    if (!WriteBytesFile(path, QByteArrayView(buffer.data(), static_cast<qsizetype>(buffer.size()))))
        return QString();
    return path;
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
