#pragma once

#include <QCoreApplication>
#include <QStringList>
#include <QTimer>

namespace velmora::test {

// A window's scripted answer waits on a timer of the application's: named so, it belongs to the
// test that set it, and is dropped when that test ends, so that it never answers a window of the
// next test (the window tests share one process).
inline const QString kPendingAnswer = QStringLiteral("respuesta pendiente: ");
// The check, after an answer, that its window closed: dropped as well, and said nothing of.
inline const QString kPendingCheck = QStringLiteral("comprobación pendiente: ");

// Drops the answers and checks still waiting; gives the names of the windows answers waited for.
inline QStringList dropPendingAnswers() {
    QStringList windows;
    for (QTimer* timer : qApp->findChildren<QTimer*>(Qt::FindDirectChildrenOnly)) {
        const bool answer = timer->objectName().startsWith(kPendingAnswer);
        if (!timer->isActive() || (!answer && !timer->objectName().startsWith(kPendingCheck)))
            continue;
        if (answer)
            windows << timer->objectName().mid(kPendingAnswer.size());
        timer->stop();
        timer->deleteLater();
    }
    return windows;
}

} // namespace velmora::test
