#include "base/SingleInstance.h"

#include <QLockFile>

QString SingleInstance::lockFileName()
{
    return QStringLiteral("velmora.lock");
}

SingleInstance::SingleInstance(const AppFolder& folder)
    : lock_(std::make_unique<QLockFile>(folder.File(lockFileName())))
{
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0))
        state_ = State::Acquired;
    else if (lock_->error() == QLockFile::LockFailedError)
        state_ = State::HeldByAnother;
    else
        state_ = State::CannotLock;
}

SingleInstance::~SingleInstance() = default;
