#pragma once

#include <QObject>
#include <QThread>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

// The worker of a job that runs one piece of work off the window's thread:
// the work runs once on a thread of its own and returns its value; the value
// is handed to the job's thread, where done() runs, only after the worker has
// finished. cancel() may be called from anywhere; the work asks cancelled()
// whenever it can stop. A job keeps its WorkerThread as its last member, so
// that it is destroyed first: destruction cancels and waits for the worker
// before anything the work uses goes.
template <class T>
class WorkerThread {
public:
    WorkerThread() = default;
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;
    ~WorkerThread()
    {
        if (thread_) {
            cancel();
            thread_->wait();
        }
    }

    // Starts work once; done runs on owner's thread after it has returned.
    void start(QObject* owner, std::function<T()> work, std::function<void()> done)
    {
        if (thread_)
            return;
        thread_.reset(QThread::create([this, work = std::move(work)] { value_.emplace(work()); }));
        QObject::connect(thread_.get(), &QThread::finished, owner, std::move(done));
        thread_->start();
    }

    void cancel() { cancelled_ = true; }
    bool cancelled() const { return cancelled_; }

    // What the work returned; valid in and after done.
    T& value() { return *value_; }
    const T& value() const { return *value_; }

private:
    std::atomic<bool> cancelled_{false};
    std::optional<T> value_;  // written by the worker, read after it finished
    std::unique_ptr<QThread> thread_;
};
