#pragma once

#include "platform/Result.h"
#include "platform/docengine/Document.h"

#include <QString>

namespace velmora {

// "Manual de Usuario.doc" in the program folder: the user manual the "Ayuda" menu opens.
QString userManualPath(const QString& programFolder);

// The user manual, written as a word-processor document.
docengine::Document buildUserManual();

Status writeUserManual(const QString& programFolder);

} // namespace velmora
