#pragma once

#include "platform/Result.h"

#include <QByteArray>

namespace velmora::docengine {

// Qt's PDF writer offers no viewer preferences, yet a printed barcode must not be scaled by the
// viewer's "fit to page". This appends an incremental update to a finished PDF whose catalog
// gains /ViewerPreferences << /PrintScaling /None >>; the original bytes are left untouched.
// Files with a cross-reference stream (which Qt does not write) are refused with an error.
Result<QByteArray> addNoPrintScaling(const QByteArray& pdf);

} // namespace velmora::docengine
