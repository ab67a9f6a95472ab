#pragma once

#include <QString>

namespace velmora {

// Asks the user for a folder. The windows use a folder dialog; tests answer from a list.
class FolderChooser {
public:
    virtual ~FolderChooser() = default;
    // The chosen folder, or empty when the user gives up.
    virtual QString chooseFolder(const QString& title, const QString& startFolder) = 0;
};

} // namespace velmora
