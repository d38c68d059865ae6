#pragma once

#include "base/AppFolder.h"

#include <QString>

#include <memory>

class QLockFile;

// Refuses a second running copy of the program for the same application folder
// (the copies would write the same coal.dat). The lock is a file in the
// application folder itself, so copies started by other users or with other
// temporary folders meet the same lock; a lock left by a copy that died is
// taken over.
class SingleInstance {
public:
    explicit SingleInstance(const AppFolder& folder);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    enum class State { Acquired, HeldByAnother, CannotLock };
    State state() const { return state_; }
    bool acquired() const { return state_ == State::Acquired; }

    // The lock file's name in the application folder.
    static QString lockFileName();

private:
    std::unique_ptr<QLockFile> lock_;
    State state_ = State::CannotLock;
};
