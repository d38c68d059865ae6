#include "inventory/ImportJob.h"


#include <algorithm>
#include <utility>

ImportReadJob::ImportReadJob(const QString& path, QHash<QString, int> existing, QObject* parent)
    : QObject(parent), path_(path), existing_(std::move(existing))
{
}

ImportReadJob::~ImportReadJob() = default;

void ImportReadJob::start()
{
    worker_.start(
        this,
        [this] {
            const ProgressCallback progress = [this](qint64 done, qint64 total) {
                if (worker_.cancelled())
                    return false;
                const int percent =
                    total > 0 ? static_cast<int>(std::clamp<qint64>(done * 100 / total, 0, 100)) : 0;
                // The readers report every few hundred rows; the window hears
                // only of a new percentage.
                if (std::exchange(lastPercent_, percent) != percent)
                    Q_EMIT progressed(percent);
                return true;
            };
            Result<CellTable> table = ReadTableFile(path_, progress);
            if (table && worker_.cancelled())
                table = Fail(ImportCancelledMessage(), FailureKind::Cancelled);
            return table ? MakeImportPreview(*table, existing_) : Result<ImportPreview>(table.failure());
        },
        [this] { Q_EMIT finished(); });
}
