#pragma once

#include "platform/Result.h"
#include "printing/PositionsPerPage.h"

#include <QString>

#include <array>

namespace velmora {

// One tab of the editor as conf.xml configures it.
struct TabSettings {
    qint16 index = 0;
    QString visibility; // "S" shows the tab; any other text hides it
    QString name;
    QString title;
    QString gridTitle;

    bool isVisible() const { return visibility == QLatin1String("S"); }
};

// What differs between contests: read from conf.xml in the program folder.
struct ContestConfiguration {
    QString contestName;
    QString positionsPerPage; // kept as written; printing converts it
    std::array<TabSettings, 5> tabs;
    QString templateFolderKey; // "DOT_" + one digit per tab: 1 visible, 0 hidden

    // Every path the program reads must be present; the first missing one is the error.
    static Result<ContestConfiguration> read(const QString& programFolder);
    static Result<QString> readContestName(const QString& programFolder);

    PositionsPerPage positionsPerPageSetting() const { return PositionsPerPage::fromText(positionsPerPage); }
};

// The contest name, a blank and the program version: the loading form's and the editor's caption.
QString windowCaption(const QString& contestName);
QString programVersion();

// The headline of the loading form: every line of FicheroTexto.txt preceded by CR LF.
Result<QString> readHeadline(const QString& dataFolder);

} // namespace velmora
