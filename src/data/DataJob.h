#pragma once

#include "base/Result.h"
#include "base/WorkerThread.h"

#include <QObject>
#include <QString>

#include <functional>


// How far a long piece of work on the data file has come: the step being
// done, and done of total in that step's own units (total 0: not known).
struct DataProgress {
    Text step;
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
Text DataCancelledMessage();

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
    void cancel() { worker_.cancel(); }
    // How the work ended; valid once finished() has been emitted.
    const Status& status() const { return worker_.value(); }

Q_SIGNALS:
    // The step and how far it is, in percent (-1: not known); emitted when
    // either changes.
    void progressed(const Text& step, int percent);
    void finished();

private:
    Work work_;
    QString lastStep_;   // the worker's own: the step's source-language words
    int lastPercent_ = -2;
    WorkerThread<Status> worker_;  // last: goes first
};
