#pragma once

#include "platform/Result.h"
#include "platform/docengine/Document.h"
#include "printing/TemplateLayout.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace velmora {

// Tabs of the editor in conf.xml order.
namespace EditorTab {
inline constexpr int Personal = 0;
inline constexpr int Courses = 1;
inline constexpr int Vacancies = 2;
inline constexpr int Resultas = 3;
inline constexpr int Documents = 4;
} // namespace EditorTab

// Which tabs a contest shows; it names the folder of its templates ("DOT_" + one digit per
// tab, "1" visible).
struct TemplateKey {
    std::array<bool, 5> visibleTabs{true, true, true, true, true};

    QString folderName() const;
    bool shows(int tab) const { return visibleTabs.at(static_cast<size_t>(tab)); }
    static std::optional<TemplateKey> fromFolderName(const QString& name);
    // The 32 keys, DOT_00000 to DOT_11111.
    static std::vector<TemplateKey> all();
};

// Names of the form fields a template holds: the Tag of every tagged control of the
// editor's first tab, and for a drop-down also its Tag followed by "1". Sorted.
QStringList templateFieldNames();
// The bookmarks of every template.
QStringList templateBookmarkNames();

// The official application form for a contest showing the given tabs. Sections of hidden
// tabs are left out; their list tables stay as empty placeholders (see TemplateLayout.h).
docengine::Document buildApplicationTemplate(const TemplateKey& key, TemplateGeneration generation);

// Writes PlantillaWXP.dot and PlantillaW97.dot into dataFolder/DOT_xxxxx (created as needed).
Status writeApplicationTemplates(const QString& dataFolder, const TemplateKey& key);
// The same for all 32 keys.
Status writeAllApplicationTemplates(const QString& dataFolder);

} // namespace velmora
