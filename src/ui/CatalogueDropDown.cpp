#include "ui/CatalogueDropDown.h"

#include "catalog/CatalogColumns.h"
#include "platform/data/RecordSet.h"
#include "platform/widgets/DataComboBox.h"

#include <QTableView>

namespace velmora {
namespace {

struct Caption {
    ColumnName column;
    const char16_t* caption;
};

// What a person calls each column the drop-downs show, whichever catalogue holds it.
constexpr Caption kCaptions[] = {{col::Bodies::CodCuerpo, u"Código"},
                                 {col::Bodies::DescCuerpo, u"Categoría"},
                                 {col::Bodies::Grupo, u"Grupo"},
                                 {col::Localities::CodLocalidad, u"Código"},
                                 {col::Localities::Localidad, u"Localidad"},
                                 {col::Provinces::CodProvincia, u"Código"},
                                 {col::Provinces::Provincia, u"Provincia"},
                                 {col::Areas::CodArea, u"Código"},
                                 {col::Areas::Area, u"Área"},
                                 {col::Zones::CodZona, u"Código"},
                                 {col::Zones::Zona, u"Zona Básica de Salud"},
                                 {col::Situations::CodSituacion, u"Código"},
                                 {col::Situations::Situacion, u"Situación"}};

QString captionOf(const QString& column) {
    for (const Caption& c : kCaptions)
        if (QStringView(column) == c.column.view())
            return QString::fromUtf16(c.caption);
    return column;
}

} // namespace

void bindCatalogue(DataComboBox& box, RecordSet& table) {
    box.bind(&table);
    QList<ColumnBinding> columns;
    for (int i = 0; i < table.columnCount(); ++i)
        columns.append({table.column(i).name, captionOf(table.column(i).name), 0});
    if (columns.isEmpty())
        return; // the set's own columns, once it has them
    box.setColumns(columns);
    // Code and name, and a body's group: the rest are the filters' helpers.
    for (int i = 2; i < columns.size(); ++i)
        box.listView()->setColumnHidden(i, QStringView(columns[i].column) != col::Bodies::Grupo.view());
}

} // namespace velmora
