#pragma once

#include "app/ManualText.h"
#include "platform/Result.h"
#include "platform/docengine/Document.h"

#include <QString>

namespace velmora {

// Where the manual's text files are compiled in: "00-portada.txt" (cover), then one file per
// chapter, taken in the order of their names.
inline constexpr const char* kManualResourceFolder = ":/app/manual";

struct UserManualText {
    ManualCover cover;
    QList<ManualChapter> chapters;
};

// "Manual de Usuario.doc" in the program folder: the user manual the "Ayuda" menu opens.
QString userManualPath(const QString& programFolder);

// The manual the "Ayuda" menu opens: the contest folder's own when it has one, else the copy
// installed with the programs (share/velmora beside the executables' bin folder), else the
// contest folder's path, so that the user learns which file is missing.
QString findUserManual(const QString& programFolder, const QString& executableFolder);

// Reads the cover and chapter files of a folder; a malformed file is an error naming it.
Result<UserManualText> readUserManualText(const QString& folder);

// The user manual as a word-processor document; the contents page lists the chapters.
docengine::Document buildUserManual(const UserManualText& text);
Result<docengine::Document> buildUserManual();

Status writeUserManual(const QString& programFolder);

} // namespace velmora
