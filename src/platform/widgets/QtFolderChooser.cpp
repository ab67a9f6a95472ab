#include "platform/widgets/QtFolderChooser.h"

#include <QFileDialog>

namespace velmora {

QString QtFolderChooser::chooseFolder(const QString& title, const QString& startFolder) {
    return QFileDialog::getExistingDirectory(m_parent, title, startFolder);
}

} // namespace velmora
