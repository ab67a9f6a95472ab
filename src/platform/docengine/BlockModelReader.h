#pragma once

#include "platform/docengine/BlockModel.h"

namespace velmora::docengine {

struct DocumentData;

// Reads a document's body, header and footer into the block model: styles resolved along
// their chains, form fields reduced to what they show, pictures to the part that holds them.
DocumentModel readBlockModel(DocumentData& document);

} // namespace velmora::docengine
