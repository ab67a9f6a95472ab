#include "platform/CannotFail.h"

#include "platform/TraceFile.h"

#include <QtGlobal>

namespace velmora {

void reportBrokenClaim(const Error& error) {
    appendTraceLine(QStringLiteral("cannotFail: %1-%2").arg(error.number).arg(error.description));
    Q_ASSERT_X(false, "cannotFail", qPrintable(error.description));
}

} // namespace velmora
