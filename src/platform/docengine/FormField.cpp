#include "platform/docengine/FormField.h"

#include "platform/docengine/DocTypes.h"
#include "platform/docengine/DocumentData.h"
#include "platform/docengine/InlineRange.h"
#include "platform/docengine/WordXml.h"

#include <cstring>

namespace velmora::docengine {

using namespace wx;

namespace {

const char* fieldInstruction(pugi::xml_node beginRun) {
    for (pugi::xml_node n = beginRun.next_sibling(); n; n = n.next_sibling()) {
        if (!is(n, "w:r"))
            continue;
        if (pugi::xml_node instr = n.child("w:instrText"))
            return instr.child_value();
        if (fldCharOf(n))
            return "";
    }
    return "";
}

bool isFormField(pugi::xml_node beginRun) {
    if (fldCharOf(beginRun).child("w:ffData"))
        return true;
    return std::strstr(fieldInstruction(beginRun), "FORM") != nullptr;
}

bool isBegin(pugi::xml_node run) {
    const pugi::xml_node fc = fldCharOf(run);
    return fc && !std::strcmp(fc.attribute("w:fldCharType").value(), "begin");
}

pugi::xml_node fieldAtBookmark(DocumentData& d, pugi::xml_node start) {
    if (const pugi::xml_node around = d.fieldBeginAround(start); around && isFormField(around))
        return around;
    const pugi::xml_node end = d.bookmarkEndOf(start);
    const pugi::xml_node root = start.root();
    for (pugi::xml_node n = nextInOrder(start, root, true); n && n != end;) {
        if (is(n, "w:r")) {
            if (isBegin(n) && isFormField(n))
                return n;
            n = nextInOrder(n, root, true);
            continue;
        }
        n = nextInOrder(n, root, is(n, "w:pPr") || is(n, "w:tcPr") || is(n, "w:tblPr"));
    }
    return {};
}

// A blank text field is written as five en spaces so that it can be clicked; that placeholder
// is no text.
QString withoutPlaceholder(const QString& text) {
    for (QChar c : text)
        if (c != QChar(0x2002))
            return text;
    return {};
}

Error staleField(const QString& name) {
    return Error::make(DocError::MissingMember,
                       QStringLiteral("El documento ya no contiene el campo de formulario «%1».").arg(name));
}

Error wrongKind(const QString& name) {
    return Error::make(DocError::WrongFieldKind,
                       QStringLiteral("El campo de formulario «%1» no es de ese tipo.").arg(name));
}

Error broken(const QString& name) {
    return Error::make(DocError::Unsupported,
                       QStringLiteral("El campo de formulario «%1» está incompleto.").arg(name));
}

} // namespace

int countFormFields(const pugi::xml_node& root) {
    int count = 0;
    bool plainBeginOpen = false; // a begin without form-field data, waiting for its instruction
    for (pugi::xml_node n = root.first_child(); n;) {
        if (n.type() != pugi::node_element) {
            n = nextInOrder(n, root, true);
            continue;
        }
        if (is(n, "w:fldChar")) {
            const bool begin = !std::strcmp(n.attribute("w:fldCharType").value(), "begin");
            const bool data = static_cast<bool>(n.child("w:ffData"));
            count += begin && data;
            plainBeginOpen = begin && !data;
        } else if (is(n, "w:instrText") && plainBeginOpen) {
            count += std::strstr(n.child_value(), "FORM") != nullptr;
            plainBeginOpen = false;
        }
        n = nextInOrder(n, root, is(n, "w:fldChar") || is(n, "w:instrText") || is(n, "w:t"));
    }
    return count;
}

pugi::xml_node resolveFormField(DocumentData& d, const QString& name) {
    if (pugi::xml_node begin = d.findFieldBegin(name))
        return begin;
    if (pugi::xml_node bm = d.findBookmark(name))
        return fieldAtBookmark(d, bm);
    return {};
}

FormFieldKind formFieldKind(pugi::xml_node beginRun) {
    const pugi::xml_node ff = fldCharOf(beginRun).child("w:ffData");
    if (ff.child("w:checkBox"))
        return FormFieldKind::CheckBox;
    if (ff.child("w:ddList"))
        return FormFieldKind::DropDown;
    if (!ff) {
        const char* instr = fieldInstruction(beginRun);
        if (std::strstr(instr, "FORMCHECKBOX"))
            return FormFieldKind::CheckBox;
        if (std::strstr(instr, "FORMDROPDOWN"))
            return FormFieldKind::DropDown;
    }
    return FormFieldKind::Text;
}

FormField::FormField(DocumentData* d, QString name, pugi::xml_node begin, FormFieldKind kind)
    : m_d(d), m_name(std::move(name)), m_begin(begin), m_kind(kind), m_generation(d->generation) {}

Result<pugi::xml_node> FormField::beginRun() const {
    if (!m_d)
        return staleField(m_name);
    if (m_generation == m_d->generation)
        return m_begin;
    const pugi::xml_node begin = resolveFormField(*m_d, m_name);
    if (!begin)
        return staleField(m_name);
    return begin;
}

Result<QString> FormField::result() const {
    auto begin = beginRun();
    if (!begin.ok())
        return begin.error();
    const pugi::xml_node ff = fldCharOf(begin.value()).child("w:ffData");
    if (m_kind == FormFieldKind::CheckBox)
        return wrongKind(m_name);
    if (m_kind == FormFieldKind::DropDown && ff) {
        const pugi::xml_node dd = ff.child("w:ddList");
        const int index = intVal(dd.child("w:result"), "w:val", intVal(dd.child("w:default"), "w:val", 0));
        int i = 0;
        for (pugi::xml_node e = dd.child("w:listEntry"); e; e = e.next_sibling("w:listEntry"), ++i)
            if (i == index)
                return qs(e.attribute("w:val").value());
        return QString();
    }
    FieldSpan span;
    if (!locateField(begin.value(), span))
        return broken(m_name);
    if (!span.separate)
        return QString();
    return withoutPlaceholder(runsText(span.separate, span.end));
}

Status FormField::setResult(const QString& text) {
    auto begin = beginRun();
    if (!begin.ok())
        return begin.error();
    if (m_kind == FormFieldKind::CheckBox)
        return wrongKind(m_name);
    if (m_kind == FormFieldKind::DropDown) {
        pugi::xml_node dd = fldCharOf(begin.value()).child("w:ffData").child("w:ddList");
        int i = 0;
        for (pugi::xml_node e = dd.child("w:listEntry"); e; e = e.next_sibling("w:listEntry"), ++i) {
            if (qs(e.attribute("w:val").value()) == text) {
                pugi::xml_node r = dd.child("w:result");
                if (!r)
                    r = dd.prepend_child("w:result");
                r.remove_attribute("w:val");
                r.append_attribute("w:val") = i;
                return {};
            }
        }
        return Error::make(ErrorCode::InvalidProcedureCall,
                           QStringLiteral("«%1» no es una opción del campo «%2».").arg(text, m_name));
    }
    FieldSpan span;
    if (!locateField(begin.value(), span))
        return broken(m_name);
    if (!span.separate) {
        span.separate = span.end.parent().insert_child_before("w:r", span.end);
        if (pugi::xml_node rPr = span.begin.child("w:rPr"))
            span.separate.append_copy(rPr);
        span.separate.append_child("w:fldChar").append_attribute("w:fldCharType") = "separate";
    }
    QString clean = xmlSafe(text);
    clean.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    clean.replace(u'\r', u'\n');
    clean.replace(u'\f', u'\n');
    VELMORA_TRY(replaceInlineRange(*m_d, span.separate, span.end, clean, span.begin.child("w:rPr")));
    // Only nodes of this field's result went away; the begin run is still the same node.
    m_begin = begin.value();
    m_generation = m_d->generation;
    return {};
}

Result<bool> FormField::checked() const {
    auto begin = beginRun();
    if (!begin.ok())
        return begin.error();
    if (m_kind != FormFieldKind::CheckBox)
        return wrongKind(m_name);
    const pugi::xml_node box = fldCharOf(begin.value()).child("w:ffData").child("w:checkBox");
    if (pugi::xml_node c = box.child("w:checked"))
        return onOff(c);
    return onOff(box.child("w:default"), false);
}

Status FormField::setChecked(bool checked) {
    auto begin = beginRun();
    if (!begin.ok())
        return begin.error();
    if (m_kind != FormFieldKind::CheckBox)
        return wrongKind(m_name);
    pugi::xml_node box = fldCharOf(begin.value()).child("w:ffData").child("w:checkBox");
    if (!box)
        return broken(m_name);
    pugi::xml_node c = ensureChild(box, "w:checked", {"w:size", "w:sizeAuto", "w:default", "w:checked"});
    c.remove_attribute("w:val");
    if (!checked)
        c.append_attribute("w:val") = "0";
    return {};
}

namespace {

// The data every new field starts with: its name, enabled, no macro on exit.
pugi::xml_node appendFieldData(pugi::xml_node beginRun, const QString& name) {
    pugi::xml_node ff = beginRun.child("w:fldChar").append_child("w:ffData");
    ff.append_child("w:name").append_attribute("w:val") = utf8(name).c_str();
    ff.append_child("w:enabled");
    ff.append_child("w:calcOnExit").append_attribute("w:val") = "0";
    return ff;
}

} // namespace

void writeTextFieldData(pugi::xml_node beginRun, const QString& name, int maxLength) {
    pugi::xml_node input = appendFieldData(beginRun, name).append_child("w:textInput");
    if (maxLength > 0)
        input.append_child("w:maxLength").append_attribute("w:val") = maxLength;
}

void writeCheckBoxData(pugi::xml_node beginRun, const QString& name, bool checked, double sizePoints) {
    pugi::xml_node box = appendFieldData(beginRun, name).append_child("w:checkBox");
    if (sizePoints > 0)
        box.append_child("w:size").append_attribute("w:val") = static_cast<int>(sizePoints * 2 + 0.5);
    else
        box.append_child("w:sizeAuto");
    box.append_child("w:default").append_attribute("w:val") = checked ? "1" : "0";
    pugi::xml_node c = box.append_child("w:checked");
    if (!checked)
        c.append_attribute("w:val") = "0";
}

void indexNewField(DocumentData& d, const QString& name, pugi::xml_node beginRun) {
    if (d.indexDirty || d.fieldsByName.contains(name))
        return;
    d.fieldsByName.insert(name, beginRun);
    if (!d.fieldsByLowerName.contains(name.toLower()))
        d.fieldsByLowerName.insert(name.toLower(), beginRun);
}

} // namespace velmora::docengine
