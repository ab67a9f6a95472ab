#pragma once

#include "platform/Result.h"

#include <QString>

#include <pugixml.hpp>

namespace velmora::docengine {

struct DocumentData;

enum class FormFieldKind { Text, CheckBox, DropDown };

// A legacy form field of a document (FORMTEXT, FORMCHECKBOX, FORMDROPDOWN).
class FormField {
public:
    QString name() const { return m_name; }
    FormFieldKind kind() const { return m_kind; }

    // The text the field shows (text and drop-down fields).
    Result<QString> result() const;
    // Replaces the text of a text field.
    Status setResult(const QString& text);
    // The state of a check box.
    Result<bool> checked() const;
    Status setChecked(bool checked);

private:
    friend class Document;
    FormField(DocumentData* d, QString name, pugi::xml_node begin, FormFieldKind kind);
    Result<pugi::xml_node> beginRun() const;

    DocumentData* m_d = nullptr;
    QString m_name;
    pugi::xml_node m_begin;
    FormFieldKind m_kind = FormFieldKind::Text;
    quint64 m_generation = 0;
};

// Writing new fields (the cursor's insertTextField and insertCheckBox): the form-field data
// of a field's begin run (the run holding its fldChar begin), and the field's entry in the
// main part's index when that index is up to date and does not know the name yet.
void writeTextFieldData(pugi::xml_node beginRun, const QString& name, int maxLength);
void writeCheckBoxData(pugi::xml_node beginRun, const QString& name, bool checked, double sizePoints);
void indexNewField(DocumentData& d, const QString& name, pugi::xml_node beginRun);

} // namespace velmora::docengine
