#include "ui/SigningDialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QStandardPaths>

namespace velmora {

QString QtSigningDialogs::certificateFile() {
    return QFileDialog::getOpenFileName(
        m_parent, QStringLiteral("Importar certificado"),
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
        QStringLiteral("Certificados con su clave (*.p12 *.pfx);;Todos los ficheros (*)"));
}

std::optional<QString> QtSigningDialogs::password(const QString& prompt) {
    bool given = false;
    const QString text = QInputDialog::getText(m_parent, QStringLiteral("Contraseña"), prompt,
                                               QLineEdit::Password, QString(), &given);
    return given ? std::optional<QString>(text) : std::nullopt;
}

QString QtSigningDialogs::databaseFolder(const QString& start) {
    return QFileDialog::getExistingDirectory(
        m_parent, QStringLiteral("Carpeta de la base de datos de certificados (cert9.db)"), start);
}

QString QtSigningDialogs::signedFile(const QString& proposed) {
    return QFileDialog::getSaveFileName(m_parent, QStringLiteral("Guardar la solicitud firmada"), proposed,
                                        QStringLiteral("Documentos PDF (*.pdf)"));
}

} // namespace velmora
