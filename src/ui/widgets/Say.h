#pragma once

#include "base/Result.h"
#include "base/Text.h"

#include <QString>

// The one place where what the core says becomes words: every source text of
// a Text is looked up in the interface language's translation.
QString Say(const Text& text);
inline QString Say(const Failure& failure) { return Say(failure.said()); }
inline QString Say(const Status& status) { return Say(status.said()); }
template <class T>
QString Say(const Result<T>& result)
{
    return Say(result.said());
}
