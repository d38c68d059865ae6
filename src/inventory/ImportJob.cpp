#include "inventory/ImportJob.h"

#include <QThread>

#include <algorithm>

ImportReadJob::ImportReadJob(const QString& path, QHash<QString, int> existing, QObject* parent)
    : QObject(parent),
      path_(path),
      existing_(std::move(existing)),
      result_(std::make_unique<Result<ImportPreview>>(Fail(QStringLiteral("文件还没有读完。"))))
{
}

ImportReadJob::~ImportReadJob()
{
    if (thread_) {
        cancelled_ = true;
        thread_->wait();
    }
}

bool ImportReadJob::running() const
{
    return thread_ && !thread_->isFinished();
}

void ImportReadJob::start()
{
    if (thread_)
        return;
    thread_ = QThread::create([this] {
        const ProgressCallback progress = [this](qint64 done, qint64 total) {
            if (cancelled_)
                return false;
            const int percent = total > 0 ? static_cast<int>(std::clamp<qint64>(done * 100 / total, 0, 100)) : 0;
            // The readers report every few hundred rows; the window hears
            // only of a new percentage.
            if (lastPercent_.exchange(percent) != percent)
                Q_EMIT progressed(percent);
            return true;
        };
        Result<CellTable> table = ReadTableFile(path_, progress);
        if (table && cancelled_)
            table = Fail(ImportCancelledMessage(), FailureKind::Cancelled);
        // The result is written here and read on the job's thread only after
        // the worker has finished, which QThread::finished tells.
        *result_ = table ? MakeImportPreview(*table, existing_) : Result<ImportPreview>(table.failure());
    });
    thread_->setParent(this);
    connect(thread_, &QThread::finished, this, &ImportReadJob::finished);
    thread_->start();
}
