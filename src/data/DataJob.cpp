#include "data/DataJob.h"


#include <algorithm>

int DataProgress::percent() const
{
    if (total <= 0)
        return -1;
    return static_cast<int>(std::clamp<qint64>(done * 100 / total, 0, 100));
}

Text DataCancelledMessage()
{
    return CoreText::tr("已取消，数据文件没有改动。");
}

DataJob::DataJob(Work work, QObject* parent) : QObject(parent), work_(std::move(work)) {}

DataJob::~DataJob() = default;

void DataJob::start()
{
    worker_.start(
        this,
        [this] {
            const DataProgressFn progress = [this](const DataProgress& p) {
                if (worker_.cancelled())
                    return false;
                const int percent = p.percent();
                if (p.step.chinese() != lastStep_ || percent != lastPercent_) {
                    lastStep_ = p.step.chinese();
                    lastPercent_ = percent;
                    Q_EMIT progressed(p.step, percent);
                }
                return true;
            };
            // What the work says is what happened: a cancel that came after
            // its last look at the progress did not stop it.
            return work_(progress);
        },
        [this] { Q_EMIT finished(); });
}
