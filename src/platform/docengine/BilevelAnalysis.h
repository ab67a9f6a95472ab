#pragma once

#include "platform/docengine/DocumentLayout.h"

namespace velmora::docengine {

// The picture as rectangles of its dark pixels when it has two colours at most (a barcode);
// `isBilevel` false otherwise.
BilevelImage analyseBilevel(const QImage& source);

} // namespace velmora::docengine
