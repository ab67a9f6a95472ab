#pragma once

#include "platform/Result.h"

namespace velmora {

// What cannotFail does when the claim breaks: a line in the trace file, in every build, and a
// stop in a debug build.
void reportBrokenClaim(const Error& error);

// For a call whose failure is impossible by construction: columns declared in code on a
// fresh table, a filter built only from quoted literals, a sort text the same table already
// took. Calling it says so at the call site; if the claim ever breaks, the error is not lost
// as a discarded result would be.
template <typename T> void cannotFail(const Result<T>& result) {
    if (!result.ok()) [[unlikely]]
        reportBrokenClaim(result.error());
}

} // namespace velmora
