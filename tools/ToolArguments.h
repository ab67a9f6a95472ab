#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

namespace velmora::tools {

// The arguments of one command, parsed with QCommandLineParser against the options the
// command declares. Every message and the help are Spanish: Qt's own texts are English
// and the tools load no translation, so mistakes are worded here.
class ToolArguments {
public:
    // `usage` is what follows "Uso: velmora-tools " for this command; `notes`, when given,
    // closes the help (the exit statuses, say).
    ToolArguments(QString usage, const QList<QCommandLineOption>& options, QString notes = {});

    // False when the command must stop: after printing the help ("-h", "--help"; exit code 0)
    // or what is wrong with the arguments and the usage (exit code 2).
    bool parse(const QStringList& args, qsizetype minPositional, qsizetype maxPositional);
    int exitCode() const { return m_exitCode; }

    const QStringList& positional() const { return m_positional; }
    QString value(const QString& option, const QString& fallback = {}) const;
    bool isSet(const QString& option) const;

    // Prints the message (when given) and the usage to standard error; returns 2.
    int usageError(const QString& message = {}) const;

private:
    void printHelp() const;

    QString m_usage;
    QString m_notes;
    QList<QCommandLineOption> m_options;
    QCommandLineParser m_parser;
    QStringList m_positional;
    int m_exitCode = 0;
};

} // namespace velmora::tools
