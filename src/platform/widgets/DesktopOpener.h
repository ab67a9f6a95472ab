#pragma once

#include <QString>

namespace velmora {

// Opens a file with the desktop's application for its kind (the PDF viewer, the word
// processor). False when the desktop has no application that can open it, so the caller
// can show the file another way.
bool openWithDesktopApplication(const QString& path);

} // namespace velmora
