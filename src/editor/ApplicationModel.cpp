#include "editor/ApplicationModel.h"
#include "platform/CannotFail.h"
#include "users/DniValidator.h"

#include <algorithm>

namespace velmora {
namespace {

struct ControlSpec {
    ControlName name;
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
    {ctl::fraPersonales, F, "", "", true},
    {ctl::txtApellido1, T, "PRIMERAPELLIDO", "", true},
    {ctl::txtApellido2, T, "SEGUNDOAPELLIDO", "", true},
    {ctl::txtNombre, T, "NOMBRE", "", true},
    {ctl::txtDNI, T, "NDNI", "", true},
    {ctl::txtFecNacimiento, T, "FECHANACIMIENTO", "", true},
    {ctl::txtTelefono, T, "TELEFONO", "", true},
    {ctl::txtDomicilio, T, "DOMICILIO", "", true},
    {ctl::txtLocalidad, T, "LOCALIDAD", "", true},
    {ctl::txtCP, T, "CPOSTAL", "", true},
    {ctl::cboProvincia, D, "PROVINCIA", "", true},
    {ctl::Frame2, F, "", "", true},
    {ctl::optDiscSi, O, "DISCAPACIDADSI", "Frame2", true},
    {ctl::optDiscNo, O, "DISCAPACIDADNO", "Frame2", true},
    {ctl::lblTipoDis, L, "", "", false},
    {ctl::txtTipoDisc, T, "TIPODISCAPACIDAD", "", false},
    {ctl::lblAdap, L, "", "", false},
    {ctl::txtAdaptaciones, T, "ADAPTACIONESPRECISAS", "", false},
    {ctl::Frame1, F, "", "", true},
    {ctl::fraForzVol, F, "", "", true},
    {ctl::optVoluntario, O, "VOLUNTARIO", "fraForzVol", true},
    {ctl::optForzoso, O, "FORZOSO", "fraForzVol", true},
    {ctl::fraAcopPetConyu, F, "", "", true},
    {ctl::optPetConyugeSi, O, "SEACOMPAÑAPETICIONSI", "fraAcopPetConyu", true},
    {ctl::optPetConyugeNo, O, "SEACOMPAÑAPETICIONNO", "fraAcopPetConyu", true},
    {ctl::fraDNIConyuge, F, "", "", false},
    {ctl::txtConyuApellido1, T, "CONYUPRIMERAPELLIDO", "", true},
    {ctl::txtCOnyuApellido2, T, "CONYUSEGUNDOAPELLIDO", "", true},
    {ctl::txtConyuNombre, T, "CONYUNOMBRE", "", true},
    {ctl::txtDNIConyuge, T, "NDNICONYUGE", "", true},
    {ctl::fraReingreso, F, "", "", true},
    {ctl::optReingesoSi, O, "REINGRESOSI", "fraReingreso", true},
    {ctl::optReingresoNo, O, "REINGRESONO", "fraReingreso", true},
    {ctl::fraPreferencia, F, "", "", true},
    {ctl::cboPrefProvincia, D, "ZBSPREFERENCIA", "", true},
    {ctl::cboPrefArea, D, "AREAPREFERENCIA", "", true},
    {ctl::cboPrefLocalidad, D, "LOCALIDADPREFERENCIA", "", true},
    {ctl::fraProfesionales, F, "", "", true},
    {ctl::cboCuerpo, D, "CUERPOOESCALA", "", true},
    {ctl::cboGrupo, D, "GRUPO", "", true},
    {ctl::txtNRP, T, "NUMEROREGISTRO", "", true},
    {ctl::fraSitAdmva, F, "", "", true},
    {ctl::optActivo, O, "ACTIVO", "fraSitAdmva", true},
    {ctl::optOtras, O, "OTRAS", "fraSitAdmva", true},
    {ctl::cboSituaciones, D, "", "", false},
    {ctl::txtSitAdm, T, "CUALOTRAS", "", false},
    {ctl::lblFechaSit, L, "", "", true},
    {ctl::txtFechaSit, T, "FECHASIT", "", true},
    {ctl::OptSi, O, "", "fraProfesionales", true},
    {ctl::OptNo, O, "", "fraProfesionales", true},
    {ctl::fraDefTemp, F, "", "", true},
    {ctl::optDefinitivo, O, "DEFINITIVO", "fraDefTemp", true},
    {ctl::optTemporal, O, "TEMPORAL", "fraDefTemp", true},
    {ctl::lblPosesion, L, "", "", true},
    {ctl::txtFecPosesion, T, "FECHAPOSESION", "", true},
    {ctl::Frame7, F, "", "", true},
    {ctl::optSSTarvo, O, "TARVO", "Frame7", true},
    {ctl::optSSOtros, O, "SSOTROS", "Frame7", true},
    {ctl::txtSS, T, "SSCUALOTROS", "", false},
    {ctl::txtFechaIngreso, T, "FECHAINGRESO", "", true},
    {ctl::Frame3, F, "", "", true},
    {ctl::txtProvinciaPuesto, T, "PROVINCIAACT", "", true},
    {ctl::txtPuesto, T, "INSTITUCIONACT", "", true},
    {ctl::txtLocalidadPuesto, T, "ZBSACT", "", true},
    {ctl::txtDemarDest, T, "DESTDEMARCACION", "", true},
    {ctl::txtLocaDest, T, "DESTLOCALIDAD", "", true},
    {ctl::cboProvinciasIxa, D, "PROVINCIAIxa", "", true},
    {ctl::cboAreaIxa, D, "AREAIxa", "", true},
    {ctl::cboZBSIxa, D, "ZBSIxa", "", true},
    {ctl::cboLocalidadesIxa, D, "LOCALIDADIxa", "", true},
};

struct TextLimit {
    ControlName name;
    int characters;
};

// Names and addresses as long as real ones run; dates as "dd/MM/yyyy".
constexpr TextLimit kTextLimits[] = {
    {ctl::txtApellido1, 35},
    {ctl::txtApellido2, 35},
    {ctl::txtNombre, 30},
    {ctl::txtDNI, kDniLength},
    {ctl::txtFecNacimiento, 10},
    {ctl::txtTelefono, 12},
    {ctl::txtDomicilio, 110},
    {ctl::txtLocalidad, 40},
    {ctl::txtCP, 5},
    {ctl::txtTipoDisc, 40},
    {ctl::txtAdaptaciones, 120},
    {ctl::txtConyuApellido1, 35},
    {ctl::txtCOnyuApellido2, 35},
    {ctl::txtConyuNombre, 30},
    {ctl::txtDNIConyuge, kDniLength},
    {ctl::txtNRP, 15},
    {ctl::txtSitAdm, 40},
    {ctl::txtFechaSit, 10},
    {ctl::txtFecPosesion, 10},
    {ctl::txtSS, 40},
    {ctl::txtFechaIngreso, 10},
    {ctl::txtProvinciaPuesto, 25},
    {ctl::txtPuesto, 60},
    {ctl::txtLocalidadPuesto, 40},
    {ctl::txtDemarDest, 40},
    {ctl::txtLocaDest, 40},
};

// Captions of the labels that the rules show and hide.
QString labelCaption(QStringView name) {
    if (name == ctl::lblTipoDis)
        return QStringLiteral("Tipo");
    if (name == ctl::lblAdap)
        return QStringLiteral("Adaptaciones Precisas");
    if (name == ctl::lblFechaSit)
        return QStringLiteral("Fecha");
    if (name == ctl::lblPosesion)
        return QStringLiteral("Fecha toma posesión");
    return QString();
}

// What a listener sees of a control: everything but its fixed name, kind, tag and group.
bool sameState(const FormControl& a, const FormControl& b) {
    return a.text == b.text && a.value == b.value && a.inList == b.inList && a.selected == b.selected &&
           a.enabled == b.enabled && a.visible == b.visible;
}

} // namespace

template <typename Change> void ApplicationModel::edit(FormControl& control, Change&& change) {
    const FormControl before = control;
    change(control);
    if (!sameState(before, control))
        notify(control);
}

ApplicationModel::ApplicationModel() {
    m_controls.reserve(std::size(kControls));
    for (const ControlSpec& entry : kControls) {
        FormControl c;
        c.name = entry.name.toString();
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

const FormControl* ApplicationModel::named(ControlName name) const {
    const FormControl* c = find(name.view());
    if (!c) [[unlikely]]
        reportBrokenClaim(Error::make(ErrorCode::ItemNotFound,
                                      QStringLiteral("Control desconocido: %1").arg(name.toString())));
    return c;
}

FormControl* ApplicationModel::named(ControlName name) {
    return const_cast<FormControl*>(std::as_const(*this).named(name));
}

const FormControl* ApplicationModel::findByTag(QStringView tag) const {
    for (const FormControl& c : m_controls)
        if (!c.tag.isEmpty() && c.tag == tag)
            return &c;
    return nullptr;
}

QString ApplicationModel::text(ControlName name) const {
    const FormControl* c = named(name);
    return c ? c->text : QString();
}

void ApplicationModel::setText(ControlName name, const QString& text) {
    if (FormControl* c = named(name))
        edit(*c, [&](FormControl& x) { x.text = text; });
}

QString ApplicationModel::value(ControlName name) const {
    const FormControl* c = named(name);
    return c ? c->value : QString();
}

void ApplicationModel::setValue(ControlName name, const QString& value) {
    if (FormControl* c = named(name); c && c->kind == ControlKind::DropDown)
        edit(*c, [&](FormControl& x) { x.value = value; });
}

void ApplicationModel::setChoice(ControlName name, const QString& value, const QString& text, bool inList) {
    if (FormControl* c = named(name); c && c->kind == ControlKind::DropDown)
        edit(*c, [&](FormControl& x) {
            x.value = value;
            x.text = text;
            x.inList = inList;
        });
}

bool ApplicationModel::isListItem(ControlName name) const {
    const FormControl* c = named(name);
    return c && c->inList;
}

void ApplicationModel::setListItem(ControlName name, bool inList) {
    if (FormControl* c = named(name); c && c->kind == ControlKind::DropDown)
        edit(*c, [&](FormControl& x) { x.inList = inList; });
}

void ApplicationModel::clearChoice(ControlName name) {
    setChoice(name, QString(), QString(), false);
}

bool ApplicationModel::isSelected(ControlName name) const {
    const FormControl* c = named(name);
    return c && c->selected;
}

void ApplicationModel::setSelected(ControlName name, bool selected) {
    FormControl* target = named(name);
    if (!target || target->kind != ControlKind::OptionButton)
        return;
    // Apply the whole exclusion before telling anyone, so listeners never see two
    // selected buttons in one frame.
    std::vector<const FormControl*> changed;
    if (selected)
        for (FormControl& c : m_controls)
            if (&c != target && c.kind == ControlKind::OptionButton && c.group == target->group &&
                c.selected) {
                c.selected = false;
                changed.push_back(&c);
            }
    if (target->selected != selected) {
        target->selected = selected;
        changed.push_back(target);
    }
    for (const FormControl* c : changed)
        notify(*c);
}

bool ApplicationModel::isEnabled(ControlName name) const {
    const FormControl* c = named(name);
    return c && c->enabled;
}

void ApplicationModel::setEnabled(ControlName name, bool enabled) {
    if (FormControl* c = named(name))
        edit(*c, [&](FormControl& x) { x.enabled = enabled; });
}

bool ApplicationModel::isVisible(ControlName name) const {
    const FormControl* c = named(name);
    return c && c->visible;
}

void ApplicationModel::setVisible(ControlName name, bool visible) {
    if (FormControl* c = named(name))
        edit(*c, [&](FormControl& x) { x.visible = visible; });
}

ApplicationModel& ApplicationModel::operator=(const ApplicationModel& other) {
    if (this == &other)
        return *this;
    std::vector<const FormControl*> changed;
    if (m_controls.size() == other.m_controls.size()) {
        for (size_t i = 0; i < m_controls.size(); ++i)
            if (!sameState(m_controls[i], other.m_controls[i])) {
                m_controls[i] = other.m_controls[i];
                changed.push_back(&m_controls[i]);
            }
    } else {
        m_controls = other.m_controls;
        for (const FormControl& c : m_controls)
            changed.push_back(&c);
    }
    for (const FormControl* c : changed)
        notify(*c);
    return *this;
}

void ApplicationModel::addListener(ApplicationModelListener* listener) {
    if (listener &&
        std::find(m_listeners.items.begin(), m_listeners.items.end(), listener) == m_listeners.items.end())
        m_listeners.items.push_back(listener);
}

void ApplicationModel::removeListener(ApplicationModelListener* listener) {
    std::erase(m_listeners.items, listener);
}

void ApplicationModel::requestFocus(ControlName name) {
    if (!named(name))
        return;
    const std::vector<ApplicationModelListener*> listeners = m_listeners.items;
    for (ApplicationModelListener* listener : listeners)
        if (std::find(m_listeners.items.begin(), m_listeners.items.end(), listener) !=
            m_listeners.items.end())
            listener->focusRequested(name);
}

void ApplicationModel::notify(const FormControl& control) {
    // A listener may add or remove listeners (a window closing on a change); walk a copy
    // and skip the ones removed meanwhile.
    const std::vector<ApplicationModelListener*> listeners = m_listeners.items;
    for (ApplicationModelListener* listener : listeners)
        if (std::find(m_listeners.items.begin(), m_listeners.items.end(), listener) !=
            m_listeners.items.end())
            listener->controlChanged(control);
}

int ApplicationModel::textLimit(QStringView name) {
    for (const TextLimit& limit : kTextLimits)
        if (limit.name == name)
            return limit.characters;
    return 0;
}

} // namespace velmora
