#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace velmora {

enum class ControlKind { TextBox, OptionButton, DropDown, Frame, Label };

// One control of the editor's first tab, as the rest of the program sees it.
struct FormControl {
    QString name; // the control name, exactly as the window names its widget
    ControlKind kind = ControlKind::TextBox;
    // Name of the document form field that stores the control; empty for controls
    // that are not saved in the document.
    QString tag;
    // Option buttons of one frame exclude each other; empty for other kinds.
    QString group;
    // Text boxes: their text. Drop-downs: the displayed column of the chosen row
    // (or whatever was put there). Labels: the caption. Form fields receive this.
    QString text;
    // Drop-downs: the key (first) column of the chosen row. File names, the
    // existing-application check and the print record use it.
    QString value;
    // Drop-downs: whether the text is an item of the bound list, as the list reports it.
    bool inList = false;
    // Option buttons.
    bool selected = false;
    bool enabled = true;
    bool visible = true;
};

// The personal and professional data of an application: every control of the
// editor's first tab, in the editor's control order. The window mirrors its widgets
// here, the document loader fills it from form fields, and saving, printing and the
// print record read it. Unknown control names read as empty and are never written.
class ApplicationModel {
public:
    ApplicationModel();

    const std::vector<FormControl>& controls() const { return m_controls; }
    bool has(QStringView name) const { return find(name) != nullptr; }
    const FormControl* find(QStringView name) const;
    FormControl* find(QStringView name);
    // The controls carrying a Tag, in control order: the ones saved in the document.
    std::vector<const FormControl*> taggedControls() const;
    const FormControl* findByTag(QStringView tag) const;

    QString text(QStringView name) const;
    void setText(QStringView name, const QString& text);

    // Drop-downs. setChoice() records a pick from the list (value, displayed text).
    QString value(QStringView name) const;
    void setValue(QStringView name, const QString& value);
    void setChoice(QStringView name, const QString& value, const QString& text);
    bool isListItem(QStringView name) const;
    void setListItem(QStringView name, bool inList);
    // Empties text and value of a drop-down (no longer an item of its list).
    void clearChoice(QStringView name);

    // Option buttons: selecting one clears the others of its group; deselecting one
    // leaves its partners as they are.
    bool isSelected(QStringView name) const;
    void setSelected(QStringView name, bool selected = true);

    bool isEnabled(QStringView name) const;
    void setEnabled(QStringView name, bool enabled);
    bool isVisible(QStringView name) const;
    void setVisible(QStringView name, bool visible);

private:
    std::vector<FormControl> m_controls;
};

} // namespace velmora
