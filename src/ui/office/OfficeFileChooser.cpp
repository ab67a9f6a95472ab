#include "ui/office/OfficeFileChooser.h"

#include <QFileDialog>
#include <QFileInfo>

namespace velmora {

QStringList DialogFileChooser::scanFiles() {
    const QStringList files = QFileDialog::getOpenFileNames(
        m_parent, QStringLiteral("Añadir ficheros"), m_lastFolder,
        QStringLiteral("Solicitudes escaneadas (*.pdf *.png *.jpg *.jpeg *.tif *.tiff *.bmp);;"
                       "Documentos PDF (*.pdf);;Imágenes (*.png *.jpg *.jpeg *.tif *.tiff *.bmp);;"
                       "Todos los ficheros (*)"));
    if (!files.isEmpty())
        m_lastFolder = QFileInfo(files.first()).absolutePath();
    return files;
}

QString DialogFileChooser::exportFolder() {
    return QFileDialog::getExistingDirectory(m_parent, QStringLiteral("Carpeta donde exportar"),
                                             m_lastFolder);
}

QString DialogFileChooser::installationFolder() {
    return QFileDialog::getExistingDirectory(m_parent, QStringLiteral("Seleccione la carpeta del concurso"),
                                             m_lastFolder);
}

QString DialogFileChooser::trustFolder() {
    return QFileDialog::getExistingDirectory(
        m_parent, QStringLiteral("Seleccione la carpeta de las autoridades de confianza"), m_lastFolder);
}

} // namespace velmora
