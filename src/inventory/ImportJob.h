#pragma once

#include "base/Result.h"
#include "inventory/CoalImport.h"

#include <QHash>
#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

class QThread;

// Reading an import file on a worker thread, so that a large workbook does
// not freeze the window that asked for it. Only the file is read there and
// the preview built from it: the inventory's names are looked up before (the
// database belongs to the window's thread) and handed in.
class ImportReadJob : public QObject {
    Q_OBJECT
public:
    ImportReadJob(const QString& path, QHash<QString, int> existing, QObject* parent = nullptr);
    ~ImportReadJob() override;  // cancels and waits for the worker

    void start();
    // May be called from anywhere; the reading then ends as cancelled.
    void cancel() { cancelled_ = true; }
    bool running() const;

    // The preview, or why the file cannot be imported (kind Cancelled after
    // cancel()). Valid once finished() has been emitted.
    const Result<ImportPreview>& result() const { return *result_; }

Q_SIGNALS:
    // How much of the file has been read, in percent; emitted when the
    // figure changes, on the job's thread.
    void progressed(int percent);
    void finished();

private:
    QString path_;
    QHash<QString, int> existing_;
    std::atomic<bool> cancelled_{false};
    std::atomic<int> lastPercent_{-1};
    QThread* thread_ = nullptr;
    std::unique_ptr<Result<ImportPreview>> result_;
};
