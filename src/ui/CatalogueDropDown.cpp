#include "ui/CatalogueDropDown.h"

#include "platform/data/RecordSet.h"
#include "platform/widgets/DataComboBox.h"

#include <QTableView>

namespace velmora {
namespace {

struct Caption {
    const char16_t* column;
    const char16_t* caption;
};

// What a person calls each column the drop-downs show.
constexpr Caption kCaptions[] = {{u"CodCuerpo", u"Código"},
                                 {u"DescCuerpo", u"Categoría"},
                                 {u"Grupo", u"Grupo"},
                                 {u"CodLocalidad", u"Código"},
                                 {u"Localidad", u"Localidad"},
                                 {u"CodProvincia", u"Código"},
                                 {u"Provincia", u"Provincia"},
                                 {u"CodArea", u"Código"},
                                 {u"Area", u"Área"},
                                 {u"CodZona", u"Código"},
                                 {u"Zona", u"Zona Básica de Salud"},
                                 {u"CodSituacion", u"Código"},
                                 {u"Situacion", u"Situación"}};

QString captionOf(const QString& column) {
    for (const Caption& c : kCaptions)
        if (column == QStringView(c.column))
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
        box.listView()->setColumnHidden(i, columns[i].column != QLatin1String("Grupo"));
}

} // namespace velmora
