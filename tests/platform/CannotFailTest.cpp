#include "platform/CannotFail.h"
#include "platform/TraceFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(CannotFail, ABrokenClaimLeavesALineInTheTraceFile) {
#ifndef QT_NO_DEBUG
    GTEST_SKIP() << "a debug build stops at a broken claim";
#endif
    test::TempDir dir;
    setTraceFolder(dir.path());
    cannotFail(Status());
    cannotFail(Status(Error::make(ErrorCode::BadCriteria, QStringLiteral("Orden no válido: «X»"))));
    setTraceFolder(QString());
    const QString trace = QString::fromUtf8(dir.read(QStringLiteral("traza.txt")));
    EXPECT_EQ(trace.count(QLatin1Char('\n')), 1);
    EXPECT_TRUE(trace.endsWith(QStringLiteral(" cannotFail: 3001-Orden no válido: «X»\n")))
        << qPrintable(trace);
}
