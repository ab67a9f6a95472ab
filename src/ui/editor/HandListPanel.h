#pragma once

#include "editor/HandListEditor.h"
#include "platform/widgets/RecordSetModel.h"

#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velmora {

class DataGrid;
class MessageService;

// The layout and the flows shared by the courses and documents panels, twins that differ
// only in their fields and checks: a grid over the list, the buttons Añadir, Borrar and
// Modificar, and an edit panel with one box per field, a hidden identifier box and the
// buttons Aceptar and Cancelar.
class HandListPanel : public QWidget {
    Q_OBJECT
public:
    struct Field {
        QString column;       // list column
        QString box;          // control name of its box
        QString label;        // caption beside the box
        int maxLength = 0;    // 0: no limit
        bool numeric = false; // keys go through FiltraTecla
    };
    struct Layout {
        int tabIndex = 0;    // of its lblGrid label
        QString grid;        // grid control name
        QString section;     // what a screen reader calls the grid
        QString gridCaption; // caption bar over the grid
        QList<ColumnBinding> gridColumns;
        QStringList hiddenColumns;
        QString frame; // edit panel control name
        QString frameTitle;
        QString add, remove, modify, accept, cancel; // button control names
        QString idColumn;                            // the list's identifier column
        QString idBox;       // hidden box holding the identifier of the row being modified
        QList<Field> fields; // in panel order
    };

    HandListPanel(RecordSet& list, MessageService& messages, const Layout& layout, QWidget* parent = nullptr);

    DataGrid* grid() const { return m_grid; }
    QLabel* gridLabel() const { return m_gridLabel; }
    PanelMode mode() const { return m_editor.mode(); }

    // The panel reset (LimpiaPanelCursos, LimpiaPanelDocumentos): boxes emptied, focus on the
    // first box, adding mode, no grid row selected. The editor runs it before every menu action.
    void resetPanel();

    void add();    // "Añadir"
    void modify(); // "Modificar"
    void remove(); // "Borrar"
    void accept(); // "Aceptar"
    void cancel(); // "Cancelar"

protected:
    // The panel's check before "Aceptar" stores anything; shows why it fails.
    virtual bool checkFields() = 0;
    QLineEdit* box(const QString& name) const;
    QString fieldText(int index) const;
    MessageService& messages() const { return m_messages; }
    QGroupBox* frame() const { return m_frame; }

private:
    void build(const Layout& layout);

    HandListEditor m_editor;
    MessageService& m_messages;
    QList<QLineEdit*> m_boxes; // in the order of the layout's fields
    QLineEdit* m_idBox = nullptr;
    DataGrid* m_grid = nullptr;
    QLabel* m_gridLabel = nullptr;
    QGroupBox* m_frame = nullptr;
};

} // namespace velmora
