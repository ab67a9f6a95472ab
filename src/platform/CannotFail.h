#pragma once

#include "platform/Result.h"

#include <QtGlobal>

namespace velmora {

// For a call whose failure is impossible by construction: columns declared in code on a
// fresh table, a filter built only from quoted literals, a sort text the same table already
// took. Calling it says so at the call site; a debug build stops if the claim ever breaks,
// instead of the error vanishing as a discarded result would.
template <typename T> void cannotFail(const Result<T>& result) {
    Q_ASSERT_X(result.ok(), "cannotFail", qPrintable(result.error().description));
    Q_UNUSED(result)
}

} // namespace velmora
