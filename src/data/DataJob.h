#pragma once

#include "base/Result.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>

class QThread;

// How far a long piece of work on the data file has come: the step being
// done, and done of total in that step's own units (total 0: not known).
struct DataProgress {
    QString step;
    qint64 done = 0;
    qint64 total = 0;

    // done of total in percent; -1 when the total is not known.
    int percent() const;
};

// Hears the progress, now and then, on the thread that does the work;
// returning false stops the work, which then leaves the files as they were
// and fails with kind Cancelled.
using DataProgressFn = std::function<bool(const DataProgress&)>;

// The message of work the user stopped.
QString DataCancelledMessage();

// Work on the data file (a backup, a restore, a compaction) on a worker
// thread, so that the window that asked for it keeps answering. The work gets
// a progress function; its progress comes back as signals on the job's
// thread, and cancel() may be called from anywhere. The work must use
// connections of its own, never the shared one.
class DataJob : public QObject {
    Q_OBJECT
public:
    using Work = std::function<Status(const DataProgressFn&)>;

    explicit DataJob(Work work, QObject* parent = nullptr);
    ~DataJob() override;  // cancels and waits for the worker

    void start();
    void cancel() { cancelled_ = true; }
    bool running() const;
    // How the work ended; valid once finished() has been emitted.
    const Status& status() const { return status_; }

Q_SIGNALS:
    // The step and how far it is, in percent (-1: not known); emitted when
    // either changes.
    void progressed(const QString& step, int percent);
    void finished();

private:
    Work work_;
    std::atomic<bool> cancelled_{false};
    QString lastStep_;   // the worker's own
    int lastPercent_ = -2;
    QThread* thread_ = nullptr;
    Status status_;
};
