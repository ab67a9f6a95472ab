#pragma once

#include <QProcess>

namespace velmora::test {

struct ToolOutput {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the built velmora-tools with the given arguments and collects what it printed.
inline ToolOutput runTool(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(VELMORA_TOOLS_PATH), args);
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace velmora::test
