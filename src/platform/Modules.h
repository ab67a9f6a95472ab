#pragma once

#include "platform/Result.h"

#include <QString>

namespace velmora {

// Libraries that only some runs need (poppler to draw PDF pages, Qt's printing to print on
// paper) are not linked into the programs but built as modules of our own and loaded the
// first time they are needed: loading them with every start cost each program and tool a
// quarter of a realistic load. The modules lie in lib/velmora/modules beside the programs'
// folder, in the build tree as in an installation (/usr/bin and /usr/lib/velmora/modules).

// The function `symbol` of module `name` (velmora_pdf, velmora_printer), looked up once and
// kept, like the module, for the rest of the process. Fails, with the Spanish reason, when the
// module cannot be loaded or lacks the function; safe to call from several threads.
Result<void (*)()> moduleFunction(const char* name, const char* symbol);

// The same, as the function type the module exports it with.
template <typename Function> Result<Function> moduleFunction(const char* name, const char* symbol) {
    Result<void (*)()> found = moduleFunction(name, symbol);
    if (!found)
        return found.error();
    return reinterpret_cast<Function>(found.value());
}

} // namespace velmora
