#include "printing/PrintingWordProcessor.h"

#include <limits>

namespace velmora {

WordProcessorStarter embeddedWordProcessor(int version) {
    return [version]() -> Result<std::unique_ptr<docengine::WordProcessor>> {
        return std::make_unique<docengine::WordProcessor>(version);
    };
}

Result<qint16> VersionProcesador(const WordProcessorStarter& start) {
    if (!start)
        return Error::make(ErrorCode::ObjectMissing, QStringLiteral("No hay ningún procesador de textos."));
    auto instance = start();
    if (!instance.ok())
        return instance.error();
    const QString text = instance.value()->versionText();
    bool ok = false;
    const int major = text.section(QLatin1Char('.'), 0, 0).trimmed().toInt(&ok);
    if (!ok || major < std::numeric_limits<qint16>::min() || major > std::numeric_limits<qint16>::max())
        return Error::make(
            ErrorCode::TypeMismatch,
            QStringLiteral("La versión del procesador de textos («%1») no es un número.").arg(text));
    return qint16(major);
}

PrintingWordProcessor::PrintingWordProcessor(WordProcessorStarter start) : m_start(std::move(start)) {}

PrintingWordProcessor::~PrintingWordProcessor() {
    closeAndForget();
}

Result<docengine::WordProcessor*> PrintingWordProcessor::start() {
    closeAndForget();
    if (!m_start)
        return Error::make(ErrorCode::ObjectMissing, QStringLiteral("No hay ningún procesador de textos."));
    auto instance = m_start();
    if (!instance.ok())
        return instance.error();
    m_instance = std::move(instance).value();
    if (!m_instance)
        return Error::make(ErrorCode::ObjectMissing,
                           QStringLiteral("El procesador de textos no ha arrancado."));
    return m_instance.get();
}

bool PrintingWordProcessor::closeAndForget() {
    if (!m_instance)
        return false;
    m_instance->closeDocument();
    m_instance->quit();
    m_instance.reset();
    return true;
}

} // namespace velmora
