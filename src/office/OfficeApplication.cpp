#include "office/OfficeApplication.h"

#include <algorithm>

namespace velmora {

QString PageOrigin::text() const {
    return QStringLiteral("%1, página %2").arg(file).arg(page);
}

QString OfficeApplication::status() const {
    return complete() ? QStringLiteral("Completa") : QStringLiteral("Con incidencias");
}

int OfficeReadOutcome::completeApplications() const {
    return int(std::count_if(applications.begin(), applications.end(),
                             [](const OfficeApplication& a) { return a.complete(); }));
}

bool OfficeReadOutcome::allComplete() const {
    return !cancelled && fileProblems.empty() && pagesWithoutBarcode == 0 &&
           completeApplications() == int(applications.size());
}

} // namespace velmora
