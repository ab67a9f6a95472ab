#pragma once

#include "platform/FolderChooser.h"

class QWidget;

namespace velmora {

// Asks for a folder with Qt's folder dialog.
class QtFolderChooser : public FolderChooser {
public:
    explicit QtFolderChooser(QWidget* parent = nullptr) : m_parent(parent) {}

    QString chooseFolder(const QString& title, const QString& startFolder) override;

private:
    QWidget* m_parent;
};

} // namespace velmora
