#pragma once

#include <QString>
#include <QStringView>

namespace velmora {

// The name of a control of the editor's first tab. Code names controls through the
// constants of `ctl` below, so a misspelt name does not compile instead of silently
// reading an empty text. It converts to QStringView and QString, so every call that takes
// a control name as text (an object name, a lookup by name) takes a constant as well.
class ControlName {
public:
    constexpr explicit ControlName(QStringView name) : m_name(name) {}

    constexpr QStringView view() const { return m_name; }
    constexpr operator QStringView() const { return m_name; }
    // Windows name their widgets and find them with the same constants.
    operator QString() const { return m_name.toString(); }
    QString toString() const { return m_name.toString(); }

    friend bool operator==(ControlName a, ControlName b) { return a.m_name == b.m_name; }
    friend bool operator==(ControlName a, QStringView b) { return a.m_name == b; }
    friend bool operator==(const QString& a, ControlName b) { return QStringView(a) == b.m_name; }

private:
    QStringView m_name;
};

namespace ctl {

// Each constant is spelt once: its identifier is its text.
#define VELMORA_CONTROL(name) inline constexpr ControlName name{QStringView(u"" #name)};
VELMORA_CONTROL(fraPersonales)
VELMORA_CONTROL(txtApellido1)
VELMORA_CONTROL(txtApellido2)
VELMORA_CONTROL(txtNombre)
VELMORA_CONTROL(txtDNI)
VELMORA_CONTROL(txtFecNacimiento)
VELMORA_CONTROL(txtTelefono)
VELMORA_CONTROL(txtDomicilio)
VELMORA_CONTROL(txtLocalidad)
VELMORA_CONTROL(txtCP)
VELMORA_CONTROL(cboProvincia)
VELMORA_CONTROL(Frame2)
VELMORA_CONTROL(optDiscSi)
VELMORA_CONTROL(optDiscNo)
VELMORA_CONTROL(lblTipoDis)
VELMORA_CONTROL(txtTipoDisc)
VELMORA_CONTROL(lblAdap)
VELMORA_CONTROL(txtAdaptaciones)
VELMORA_CONTROL(Frame1)
VELMORA_CONTROL(fraForzVol)
VELMORA_CONTROL(optVoluntario)
VELMORA_CONTROL(optForzoso)
VELMORA_CONTROL(fraAcopPetConyu)
VELMORA_CONTROL(optPetConyugeSi)
VELMORA_CONTROL(optPetConyugeNo)
VELMORA_CONTROL(fraDNIConyuge)
VELMORA_CONTROL(txtConyuApellido1)
VELMORA_CONTROL(txtCOnyuApellido2)
VELMORA_CONTROL(txtConyuNombre)
VELMORA_CONTROL(txtDNIConyuge)
VELMORA_CONTROL(fraReingreso)
VELMORA_CONTROL(optReingesoSi)
VELMORA_CONTROL(optReingresoNo)
VELMORA_CONTROL(fraPreferencia)
VELMORA_CONTROL(cboPrefProvincia)
VELMORA_CONTROL(cboPrefArea)
VELMORA_CONTROL(cboPrefLocalidad)
VELMORA_CONTROL(fraProfesionales)
VELMORA_CONTROL(cboCuerpo)
VELMORA_CONTROL(cboGrupo)
VELMORA_CONTROL(txtNRP)
VELMORA_CONTROL(fraSitAdmva)
VELMORA_CONTROL(optActivo)
VELMORA_CONTROL(optOtras)
VELMORA_CONTROL(cboSituaciones)
VELMORA_CONTROL(txtSitAdm)
VELMORA_CONTROL(lblFechaSit)
VELMORA_CONTROL(txtFechaSit)
VELMORA_CONTROL(OptSi)
VELMORA_CONTROL(OptNo)
VELMORA_CONTROL(fraDefTemp)
VELMORA_CONTROL(optDefinitivo)
VELMORA_CONTROL(optTemporal)
VELMORA_CONTROL(lblPosesion)
VELMORA_CONTROL(txtFecPosesion)
VELMORA_CONTROL(Frame7)
VELMORA_CONTROL(optSSTarvo)
VELMORA_CONTROL(optSSOtros)
VELMORA_CONTROL(txtSS)
VELMORA_CONTROL(txtFechaIngreso)
VELMORA_CONTROL(Frame3)
VELMORA_CONTROL(txtProvinciaPuesto)
VELMORA_CONTROL(txtPuesto)
VELMORA_CONTROL(txtLocalidadPuesto)
VELMORA_CONTROL(txtDemarDest)
VELMORA_CONTROL(txtLocaDest)
VELMORA_CONTROL(cboProvinciasIxa)
VELMORA_CONTROL(cboAreaIxa)
VELMORA_CONTROL(cboZBSIxa)
VELMORA_CONTROL(cboLocalidadesIxa)
#undef VELMORA_CONTROL

} // namespace ctl

} // namespace velmora
