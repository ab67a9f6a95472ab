#include "ToolArguments.h"

#include "ToolCommand.h"

#include <QRegularExpression>

namespace velmora::tools {
namespace {

const QCommandLineOption kHelp({QStringLiteral("h"), QStringLiteral("help")},
                               QStringLiteral("Muestra esta ayuda."));

QString optionSpelling(const QCommandLineOption& option) {
    QStringList names;
    for (const QString& name : option.names())
        names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    QString spelling = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty())
        spelling += QLatin1Char(' ') + option.valueName();
    return spelling;
}

} // namespace

ToolArguments::ToolArguments(QString usage, const QList<QCommandLineOption>& options, QString notes)
    : m_usage(std::move(usage)), m_notes(std::move(notes)), m_options(options) {
    m_options.prepend(kHelp);
    m_parser.addOptions(m_options);
}

bool ToolArguments::parse(const QStringList& args, qsizetype minPositional, qsizetype maxPositional) {
    if (!m_parser.parse(QStringList{QStringLiteral("velmora-tools")} + args)) {
        if (!m_parser.unknownOptionNames().isEmpty()) {
            const QString name = m_parser.unknownOptionNames().first();
            m_exitCode =
                usageError(QStringLiteral("Opción desconocida: %1%2")
                               .arg(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name));
            return false;
        }
        // The only other mistake the parser knows is an option given without its value.
        static const QRegularExpression quoted(QStringLiteral("'([^']+)'"));
        const QString option = quoted.match(m_parser.errorText()).captured(1);
        m_exitCode = usageError(QStringLiteral("Falta el valor de la opción %1").arg(option));
        return false;
    }
    if (m_parser.isSet(kHelp)) {
        printHelp();
        m_exitCode = 0;
        return false;
    }
    m_positional = m_parser.positionalArguments();
    if (m_positional.size() < minPositional || m_positional.size() > maxPositional) {
        m_exitCode = usageError(m_positional.size() < minPositional ? QStringLiteral("Faltan argumentos.")
                                                                    : QStringLiteral("Sobran argumentos."));
        return false;
    }
    return true;
}

QString ToolArguments::value(const QString& option, const QString& fallback) const {
    return m_parser.isSet(option) ? m_parser.value(option) : fallback;
}

bool ToolArguments::isSet(const QString& option) const {
    return m_parser.isSet(option);
}

int ToolArguments::usageError(const QString& message) const {
    if (!message.isEmpty())
        printErr(message);
    printErr(QStringLiteral("Uso: velmora-tools ") + m_usage);
    printErr(QStringLiteral("Con -h o --help se explican sus opciones."));
    return 2;
}

void ToolArguments::printHelp() const {
    printOut(QStringLiteral("Uso: velmora-tools ") + m_usage);
    printOut(QString());
    printOut(QStringLiteral("Opciones:"));
    for (const QCommandLineOption& option : m_options)
        printOut(QStringLiteral("  %1\n      %2").arg(optionSpelling(option), option.description()));
    if (!m_notes.isEmpty()) {
        printOut(QString());
        printOut(m_notes);
    }
}

} // namespace velmora::tools
