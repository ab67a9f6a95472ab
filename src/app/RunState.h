#pragma once

#include "app/LoadedTables.h"
#include "platform/AppFolders.h"

#include <QString>

namespace velmora {

// What the windows of one run share, from start-up until the editor closes.
struct RunState {
    AppFolders folders;
    QString signedInDni; // nine characters once validated
    bool signedIn = false;
    bool hasPassword = false;
    RecordSet applicationFiles;      // the signed-in user's saved applications
    QString selectedApplicationFile; // file name without folder; empty for a new application
    bool loadExisting = false;
    // Another copy of the program signed in with the same DNI keeps the recovery file: this
    // one neither offers, writes nor deletes it.
    bool recoveryHeldElsewhere = false;
    LoadedTables tables;

    // Called when the editor closes: every catalogue and list table is released.
    void releaseCatalogues() {
        tables.release();
        applicationFiles.close();
        applicationFiles = RecordSet();
    }
};

} // namespace velmora
