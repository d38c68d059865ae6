#include "data/DataJob.h"

#include <QThread>

#include <algorithm>

int DataProgress::percent() const
{
    if (total <= 0)
        return -1;
    return static_cast<int>(std::clamp<qint64>(done * 100 / total, 0, 100));
}

QString DataCancelledMessage()
{
    return QStringLiteral("已取消，数据文件没有改动。");
}

DataJob::DataJob(Work work, QObject* parent) : QObject(parent), work_(std::move(work)) {}

DataJob::~DataJob()
{
    if (thread_) {
        cancelled_ = true;
        thread_->wait();
    }
}

bool DataJob::running() const
{
    return thread_ && !thread_->isFinished();
}

void DataJob::start()
{
    if (thread_)
        return;
    thread_ = QThread::create([this] {
        const DataProgressFn progress = [this](const DataProgress& p) {
            if (cancelled_)
                return false;
            const int percent = p.percent();
            if (p.step != lastStep_ || percent != lastPercent_) {
                lastStep_ = p.step;
                lastPercent_ = percent;
                Q_EMIT progressed(p.step, percent);
            }
            return true;
        };
        // What the work says is what happened: a cancel that came after its
        // last look at the progress did not stop it.
        Status status = work_(progress);
        // Read on the job's thread only after the worker has finished.
        status_ = std::move(status);
    });
    thread_->setParent(this);
    connect(thread_, &QThread::finished, this, &DataJob::finished);
    thread_->start();
}
