#include "editor/ApplicationModel.h"

namespace velmora {
namespace {

struct ControlSpec {
    const char* name;
    ControlKind kind;
    const char* tag;
    const char* group;
    bool visible;
};

constexpr ControlKind T = ControlKind::TextBox;
constexpr ControlKind O = ControlKind::OptionButton;
constexpr ControlKind D = ControlKind::DropDown;
constexpr ControlKind F = ControlKind::Frame;
constexpr ControlKind L = ControlKind::Label;

// The editor's control order. Loading a document visits the tagged controls in this
// order and an option button's click may clear the fields that depend on it, so every
// option pair comes before the fields it governs (optDiscNo before txtTipoDisc,
// optForzoso before txtDNIConyuge, optOtras before txtSitAdm, optDefinitivo before
// txtFecPosesion, optSSOtros before txtSS): a loaded value is never cleared by a
// later click. Fields that depend on a "Sí" start hidden.
constexpr ControlSpec kControls[] = {
    {"fraPersonales", F, "", "", true},
    {"txtApellido1", T, "PRIMERAPELLIDO", "", true},
    {"txtApellido2", T, "SEGUNDOAPELLIDO", "", true},
    {"txtNombre", T, "NOMBRE", "", true},
    {"txtDNI", T, "NDNI", "", true},
    {"txtFecNacimiento", T, "FECHANACIMIENTO", "", true},
    {"txtTelefono", T, "TELEFONO", "", true},
    {"txtDomicilio", T, "DOMICILIO", "", true},
    {"txtLocalidad", T, "LOCALIDAD", "", true},
    {"txtCP", T, "CPOSTAL", "", true},
    {"cboProvincia", D, "PROVINCIA", "", true},
    {"Frame2", F, "", "", true},
    {"optDiscSi", O, "DISCAPACIDADSI", "Frame2", true},
    {"optDiscNo", O, "DISCAPACIDADNO", "Frame2", true},
    {"lblTipoDis", L, "", "", false},
    {"txtTipoDisc", T, "TIPODISCAPACIDAD", "", false},
    {"lblAdap", L, "", "", false},
    {"txtAdaptaciones", T, "ADAPTACIONESPRECISAS", "", false},
    {"Frame1", F, "", "", true},
    {"fraForzVol", F, "", "", true},
    {"optVoluntario", O, "VOLUNTARIO", "fraForzVol", true},
    {"optForzoso", O, "FORZOSO", "fraForzVol", true},
    {"fraAcopPetConyu", F, "", "", true},
    {"optPetConyugeSi", O, "SEACOMPAÑAPETICIONSI", "fraAcopPetConyu", true},
    {"optPetConyugeNo", O, "SEACOMPAÑAPETICIONNO", "fraAcopPetConyu", true},
    {"fraDNIConyuge", F, "", "", false},
    {"txtConyuApellido1", T, "CONYUPRIMERAPELLIDO", "", true},
    {"txtCOnyuApellido2", T, "CONYUSEGUNDOAPELLIDO", "", true},
    {"txtConyuNombre", T, "CONYUNOMBRE", "", true},
    {"txtDNIConyuge", T, "NDNICONYUGE", "", true},
    {"fraReingreso", F, "", "", true},
    {"optReingesoSi", O, "REINGRESOSI", "fraReingreso", true},
    {"optReingresoNo", O, "REINGRESONO", "fraReingreso", true},
    {"fraPreferencia", F, "", "", true},
    {"cboPrefProvincia", D, "ZBSPREFERENCIA", "", true},
    {"cboPrefArea", D, "AREAPREFERENCIA", "", true},
    {"cboPrefLocalidad", D, "LOCALIDADPREFERENCIA", "", true},
    {"fraProfesionales", F, "", "", true},
    {"cboCuerpo", D, "CUERPOOESCALA", "", true},
    {"cboGrupo", D, "GRUPO", "", true},
    {"txtNRP", T, "NUMEROREGISTRO", "", true},
    {"fraSitAdmva", F, "", "", true},
    {"optActivo", O, "ACTIVO", "fraSitAdmva", true},
    {"optOtras", O, "OTRAS", "fraSitAdmva", true},
    {"cboSituaciones", D, "", "", false},
    {"txtSitAdm", T, "CUALOTRAS", "", false},
    {"lblFechaSit", L, "", "", true},
    {"txtFechaSit", T, "FECHASIT", "", true},
    {"OptSi", O, "", "fraProfesionales", true},
    {"OptNo", O, "", "fraProfesionales", true},
    {"fraDefTemp", F, "", "", true},
    {"optDefinitivo", O, "DEFINITIVO", "fraDefTemp", true},
    {"optTemporal", O, "TEMPORAL", "fraDefTemp", true},
    {"lblPosesion", L, "", "", true},
    {"txtFecPosesion", T, "FECHAPOSESION", "", true},
    {"Frame7", F, "", "", true},
    {"optSSTarvo", O, "TARVO", "Frame7", true},
    {"optSSOtros", O, "SSOTROS", "Frame7", true},
    {"txtSS", T, "SSCUALOTROS", "", false},
    {"txtFechaIngreso", T, "FECHAINGRESO", "", true},
    {"Frame3", F, "", "", true},
    {"txtProvinciaPuesto", T, "PROVINCIAACT", "", true},
    {"txtPuesto", T, "INSTITUCIONACT", "", true},
    {"txtLocalidadPuesto", T, "ZBSACT", "", true},
    {"txtDemarDest", T, "DESTDEMARCACION", "", true},
    {"txtLocaDest", T, "DESTLOCALIDAD", "", true},
    {"cboProvinciasIxa", D, "PROVINCIAIxa", "", true},
    {"cboAreaIxa", D, "AREAIxa", "", true},
    {"cboZBSIxa", D, "ZBSIxa", "", true},
    {"cboLocalidadesIxa", D, "LOCALIDADIxa", "", true},
};

// Captions of the labels that the rules show and hide.
QString labelCaption(QStringView name) {
    if (name == u"lblTipoDis")
        return QStringLiteral("Tipo");
    if (name == u"lblAdap")
        return QStringLiteral("Adaptaciones Precisas");
    if (name == u"lblFechaSit")
        return QStringLiteral("Fecha");
    if (name == u"lblPosesion")
        return QStringLiteral("Fecha toma posesión");
    return QString();
}

} // namespace

ApplicationModel::ApplicationModel() {
    m_controls.reserve(std::size(kControls));
    for (const ControlSpec& entry : kControls) {
        FormControl c;
        c.name = QString::fromUtf8(entry.name);
        c.kind = entry.kind;
        c.tag = QString::fromUtf8(entry.tag);
        c.group = QString::fromUtf8(entry.group);
        c.visible = entry.visible;
        if (c.kind == ControlKind::Label)
            c.text = labelCaption(c.name);
        m_controls.push_back(std::move(c));
    }
}

const FormControl* ApplicationModel::find(QStringView name) const {
    for (const FormControl& c : m_controls)
        if (c.name == name)
            return &c;
    return nullptr;
}

FormControl* ApplicationModel::find(QStringView name) {
    return const_cast<FormControl*>(std::as_const(*this).find(name));
}

std::vector<const FormControl*> ApplicationModel::taggedControls() const {
    std::vector<const FormControl*> out;
    for (const FormControl& c : m_controls)
        if (!c.tag.isEmpty())
            out.push_back(&c);
    return out;
}

const FormControl* ApplicationModel::findByTag(QStringView tag) const {
    for (const FormControl& c : m_controls)
        if (!c.tag.isEmpty() && c.tag == tag)
            return &c;
    return nullptr;
}

QString ApplicationModel::text(QStringView name) const {
    const FormControl* c = find(name);
    return c ? c->text : QString();
}

void ApplicationModel::setText(QStringView name, const QString& text) {
    if (FormControl* c = find(name))
        c->text = text;
}

QString ApplicationModel::value(QStringView name) const {
    const FormControl* c = find(name);
    return c ? c->value : QString();
}

void ApplicationModel::setValue(QStringView name, const QString& value) {
    if (FormControl* c = find(name); c && c->kind == ControlKind::DropDown)
        c->value = value;
}

void ApplicationModel::setChoice(QStringView name, const QString& value, const QString& text) {
    if (FormControl* c = find(name); c && c->kind == ControlKind::DropDown) {
        c->value = value;
        c->text = text;
        c->inList = true;
    }
}

bool ApplicationModel::isListItem(QStringView name) const {
    const FormControl* c = find(name);
    return c && c->inList;
}

void ApplicationModel::setListItem(QStringView name, bool inList) {
    if (FormControl* c = find(name); c && c->kind == ControlKind::DropDown)
        c->inList = inList;
}

void ApplicationModel::clearChoice(QStringView name) {
    if (FormControl* c = find(name); c && c->kind == ControlKind::DropDown) {
        c->value.clear();
        c->text.clear();
        c->inList = false;
    }
}

bool ApplicationModel::isSelected(QStringView name) const {
    const FormControl* c = find(name);
    return c && c->selected;
}

void ApplicationModel::setSelected(QStringView name, bool selected) {
    FormControl* target = find(name);
    if (!target || target->kind != ControlKind::OptionButton)
        return;
    if (selected)
        for (FormControl& c : m_controls)
            if (&c != target && c.kind == ControlKind::OptionButton && c.group == target->group)
                c.selected = false;
    target->selected = selected;
}

bool ApplicationModel::isEnabled(QStringView name) const {
    const FormControl* c = find(name);
    return c && c->enabled;
}

void ApplicationModel::setEnabled(QStringView name, bool enabled) {
    if (FormControl* c = find(name))
        c->enabled = enabled;
}

bool ApplicationModel::isVisible(QStringView name) const {
    const FormControl* c = find(name);
    return c && c->visible;
}

void ApplicationModel::setVisible(QStringView name, bool visible) {
    if (FormControl* c = find(name))
        c->visible = visible;
}

} // namespace velmora
