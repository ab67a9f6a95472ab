#include "platform/docengine/WordProcessor.h"

#include <algorithm>

namespace velmora::docengine {

WordProcessor::WordProcessor(int majorVersion) : m_version(majorVersion) {}
WordProcessor::~WordProcessor() = default;

QString WordProcessor::versionText() const {
    return QStringLiteral("%1.0").arg(m_version);
}

Result<Document*> WordProcessor::addDocument(const QString& templatePath) {
    auto doc = Document::open(templatePath);
    if (!doc.ok())
        return doc.error();
    auto owned = std::make_unique<Document>(std::move(doc).value());
    owned->detachFromFile();
    owned->setTemplate(false);
    m_documents.push_back(std::move(owned));
    return m_documents.back().get();
}

Document* WordProcessor::addBlankDocument() {
    m_documents.push_back(std::make_unique<Document>());
    return m_documents.back().get();
}

Document* WordProcessor::activeDocument() const {
    return m_documents.empty() ? nullptr : m_documents.back().get();
}

Result<PrintOutcome> WordProcessor::printOut(Document* document, PrintDestination destination,
                                             SystemPrinter* printers) {
    if (!document)
        document = activeDocument();
    if (!document)
        return Error::make(DocError::MissingMember, QStringLiteral("No hay ningún documento abierto."));
    return DocumentPrinter::print(*document, destination, printers);
}

void WordProcessor::closeDocument(Document* document) {
    if (!document)
        document = activeDocument();
    auto it = std::find_if(m_documents.begin(), m_documents.end(),
                           [&](const std::unique_ptr<Document>& d) { return d.get() == document; });
    if (it != m_documents.end())
        m_documents.erase(it);
}

void WordProcessor::quit() {
    m_documents.clear();
}

} // namespace velmora::docengine
