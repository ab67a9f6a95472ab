#pragma once

#include "editor/ControlName.h"

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

// Told about every change of the model, so a window can keep its widgets equal to it.
class ApplicationModelListener {
public:
    virtual ~ApplicationModelListener() = default;
    // Once per call that changed text, value, list flag, selection, enabled or visible of
    // `control`; never for a call that left it as it was. An option button's selection
    // also reports each partner it cleared. Sent after the whole call is applied.
    virtual void controlChanged(const FormControl& control) = 0;
    // A rule wants the focus in this control (for example a box that appears for typing).
    virtual void focusRequested(QStringView /*name*/) {}
};

// The personal and professional data of an application: every control of the
// editor's first tab, in the editor's control order. The window mirrors its widgets
// here, the document loader fills it from form fields, and saving, printing and the
// print record read it. Code names controls through the constants of `ctl`
// (ControlName.h), so a misspelt name does not compile; a name read from a file is
// looked up with find(). A ControlName the model does not hold is a programming error:
// it leaves a line in the trace file (and stops a debug build) instead of passing as an
// empty text.
//
// Listeners are not owned and not copied with the model: a copy starts without them.
class ApplicationModel {
public:
    ApplicationModel();
    ApplicationModel(const ApplicationModel&) = default;
    // Keeps this model's listeners and tells them about every control that differs.
    ApplicationModel& operator=(const ApplicationModel& other);

    const std::vector<FormControl>& controls() const { return m_controls; }
    bool has(QStringView name) const { return find(name) != nullptr; }
    const FormControl* find(QStringView name) const;
    FormControl* find(QStringView name);
    // The controls carrying a Tag, in control order: the ones saved in the document.
    std::vector<const FormControl*> taggedControls() const;
    const FormControl* findByTag(QStringView tag) const;

    // The most characters a free-text box takes (0 for other controls). The limits are
    // chosen so that a print record of full boxes, folded for the barcode, still fits the
    // first page's barcode; the windows apply them to the boxes.
    static int textLimit(QStringView name);
    QString text(ControlName name) const;
    void setText(ControlName name, const QString& text);

    // Drop-downs. setChoice() records a pick from the list (value, displayed text); with
    // `inList` false it records a value and text the list does not show (a loaded one).
    QString value(ControlName name) const;
    void setValue(ControlName name, const QString& value);
    void setChoice(ControlName name, const QString& value, const QString& text, bool inList = true);
    bool isListItem(ControlName name) const;
    void setListItem(ControlName name, bool inList);
    // Empties text and value of a drop-down (no longer an item of its list).
    void clearChoice(ControlName name);

    // Option buttons: selecting one clears the others of its group; deselecting one
    // leaves its partners as they are.
    bool isSelected(ControlName name) const;
    void setSelected(ControlName name, bool selected = true);

    bool isEnabled(ControlName name) const;
    void setEnabled(ControlName name, bool enabled);
    bool isVisible(ControlName name) const;
    void setVisible(ControlName name, bool visible);

    // --- change notifications ------------------------------------------------------
    void addListener(ApplicationModelListener* listener);
    void removeListener(ApplicationModelListener* listener);
    // Asks the listeners to put the focus in `name`.
    void requestFocus(ControlName name);

private:
    // A copy of the model starts without listeners: they watch one particular model.
    struct Listeners {
        std::vector<ApplicationModelListener*> items;
        Listeners() = default;
        Listeners(const Listeners&) {}
        Listeners& operator=(const Listeners&) { return *this; }
    };

    // The control of a name given in code; an unknown one is reported as a broken claim.
    const FormControl* named(ControlName name) const;
    FormControl* named(ControlName name);
    void notify(const FormControl& control);
    // Applies `change` to the control and notifies when it changed anything a listener sees.
    template <typename Change> void edit(FormControl& control, Change&& change);

    std::vector<FormControl> m_controls;
    Listeners m_listeners;
};

} // namespace velmora
