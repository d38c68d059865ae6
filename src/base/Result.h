#pragma once

#include "base/Text.h"

#include <QString>

#include <utility>
#include <variant>

// How the core reports failure, everywhere:
//
// - A function that can fail returns Result<T> (a value, or the Failure that
//   stopped it) or Status (nothing, or a Failure). Both types are
//   [[nodiscard]]: a caller that drops one gets a compiler warning, and the
//   build treats that warning as an error.
// - A Failure carries the whole message for the user: as a Text (its facts,
//   which a window puts into words in the interface language) and as that
//   Text's Chinese. The caller adds nothing but, where it wants, a prefix
//   naming the command that failed. Its kind tells a window how to show it
//   (an input check, a cancelled run, or something that went wrong).
// - Outcomes that are not failures (a run that finds no plan, a search that
//   finds nothing) are ordinary values.
// - No exception leaves a core function, and none is used for control flow
//   inside one; "" never means success.
enum class FailureKind {
    Error,      // something went wrong: a file, the database, the engine
    Invalid,    // the input failed a check; nothing was done
    Cancelled,  // the user stopped the work; nothing was kept
};

struct Failure {
    QString message;  // the Chinese of text
    FailureKind kind = FailureKind::Error;
    Text text = {};   // empty for a failure made from a plain message

    // What to put into words: the text, or the plain message.
    Text said() const { return text.isEmpty() ? Text(message) : text; }
};

inline Failure Fail(QString message, FailureKind kind = FailureKind::Error)
{
    return Failure{std::move(message), kind};
}

inline Failure Fail(Text text, FailureKind kind = FailureKind::Error)
{
    QString message = text.chinese();
    return Failure{std::move(message), kind, std::move(text)};
}

inline Failure Invalid(QString message)
{
    return Failure{std::move(message), FailureKind::Invalid};
}

inline Failure Invalid(Text text)
{
    return Fail(std::move(text), FailureKind::Invalid);
}

class [[nodiscard]] Status {
public:
    Status() = default;
    Status(Failure failure) : failed_(true), failure_(std::move(failure)) {}  // NOLINT: implicit on purpose

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }

    // The message to show; "" after success.
    const QString& message() const { return failure_.message; }
    FailureKind kind() const { return failure_.kind; }
    const Failure& failure() const { return failure_; }
    // The message as facts; empty after success.
    Text said() const { return ok() ? Text() : failure_.said(); }

private:
    bool failed_ = false;
    Failure failure_;
};

template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::move(value)) {}        // NOLINT: implicit on purpose
    Result(Failure failure) : state_(std::move(failure)) {}  // NOLINT: implicit on purpose

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    // The message to show; "" after success.
    const QString& message() const
    {
        static const QString none;
        return ok() ? none : std::get<1>(state_).message;
    }
    FailureKind kind() const { return ok() ? FailureKind::Error : std::get<1>(state_).kind; }
    const Failure& failure() const { return std::get<1>(state_); }
    // The message as facts; empty after success.
    Text said() const { return ok() ? Text() : failure().said(); }

    // The failure as a Status, or success.
    Status status() const { return ok() ? Status() : Status(failure()); }

private:
    std::variant<T, Failure> state_;
};
