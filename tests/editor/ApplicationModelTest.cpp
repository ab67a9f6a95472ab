#include "editor/ApplicationModel.h"

#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// Every control saved in the document, with its form field. A typo here or in the model
// would silently drop a field on save or load.
const std::pair<const char*, const char*> kTagged[] = {
    {"txtApellido1", "PRIMERAPELLIDO"},
    {"txtApellido2", "SEGUNDOAPELLIDO"},
    {"txtNombre", "NOMBRE"},
    {"txtDNI", "NDNI"},
    {"txtFecNacimiento", "FECHANACIMIENTO"},
    {"txtTelefono", "TELEFONO"},
    {"txtDomicilio", "DOMICILIO"},
    {"txtLocalidad", "LOCALIDAD"},
    {"txtCP", "CPOSTAL"},
    {"cboProvincia", "PROVINCIA"},
    {"txtTipoDisc", "TIPODISCAPACIDAD"},
    {"txtAdaptaciones", "ADAPTACIONESPRECISAS"},
    {"optDiscSi", "DISCAPACIDADSI"},
    {"optDiscNo", "DISCAPACIDADNO"},
    {"optPetConyugeSi", "SEACOMPAÑAPETICIONSI"},
    {"optPetConyugeNo", "SEACOMPAÑAPETICIONNO"},
    {"txtConyuApellido1", "CONYUPRIMERAPELLIDO"},
    {"txtCOnyuApellido2", "CONYUSEGUNDOAPELLIDO"},
    {"txtConyuNombre", "CONYUNOMBRE"},
    {"txtDNIConyuge", "NDNICONYUGE"},
    {"optReingesoSi", "REINGRESOSI"},
    {"optReingresoNo", "REINGRESONO"},
    {"optVoluntario", "VOLUNTARIO"},
    {"optForzoso", "FORZOSO"},
    {"cboPrefProvincia", "ZBSPREFERENCIA"},
    {"cboPrefArea", "AREAPREFERENCIA"},
    {"cboPrefLocalidad", "LOCALIDADPREFERENCIA"},
    {"cboCuerpo", "CUERPOOESCALA"},
    {"cboGrupo", "GRUPO"},
    {"txtNRP", "NUMEROREGISTRO"},
    {"optActivo", "ACTIVO"},
    {"optOtras", "OTRAS"},
    {"txtSitAdm", "CUALOTRAS"},
    {"txtFechaSit", "FECHASIT"},
    {"optDefinitivo", "DEFINITIVO"},
    {"optTemporal", "TEMPORAL"},
    {"txtFecPosesion", "FECHAPOSESION"},
    {"optSSTarvo", "TARVO"},
    {"optSSOtros", "SSOTROS"},
    {"txtSS", "SSCUALOTROS"},
    {"txtFechaIngreso", "FECHAINGRESO"},
    {"txtProvinciaPuesto", "PROVINCIAACT"},
    {"txtPuesto", "INSTITUCIONACT"},
    {"txtLocalidadPuesto", "ZBSACT"},
    {"txtDemarDest", "DESTDEMARCACION"},
    {"txtLocaDest", "DESTLOCALIDAD"},
    {"cboProvinciasIxa", "PROVINCIAIxa"},
    {"cboAreaIxa", "AREAIxa"},
    {"cboZBSIxa", "ZBSIxa"},
    {"cboLocalidadesIxa", "LOCALIDADIxa"},
};

ControlKind kindFromPrefix(const QString& name) {
    if (name.startsWith("txt"))
        return ControlKind::TextBox;
    if (name.startsWith("cbo"))
        return ControlKind::DropDown;
    return ControlKind::OptionButton;
}

int position(const ApplicationModel& model, const char* name) {
    const auto& controls = model.controls();
    for (size_t i = 0; i < controls.size(); ++i)
        if (controls[i].name == QLatin1String(name))
            return int(i);
    return -1;
}

TEST(ApplicationModel, CarriesEveryDocumentFieldWithItsTagAndKind) {
    const ApplicationModel model;
    std::vector<const FormControl*> tagged = model.taggedControls();
    ASSERT_EQ(tagged.size(), std::size(kTagged));
    for (const auto& [name, tag] : kTagged) {
        const FormControl* c = model.find(QString::fromUtf8(name));
        ASSERT_NE(c, nullptr) << name;
        EXPECT_EQ(c->tag, QString::fromUtf8(tag)) << name;
        EXPECT_EQ(c->kind, kindFromPrefix(c->name)) << name;
        EXPECT_EQ(model.findByTag(QString::fromUtf8(tag)), c) << tag;
    }
    for (const char* untagged : {"cboSituaciones", "OptSi", "OptNo"}) {
        ASSERT_TRUE(model.has(QString::fromLatin1(untagged))) << untagged;
        EXPECT_TRUE(model.find(QString::fromLatin1(untagged))->tag.isEmpty()) << untagged;
    }
}

TEST(ApplicationModel, OptionPairsComeBeforeTheFieldsTheirClicksClear) {
    // Loading visits controls in order and a click clears dependent fields: a governed
    // field placed before its option pair would lose its loaded value.
    const ApplicationModel model;
    const std::pair<const char*, const char*> governs[] = {
        {"optDiscNo", "txtTipoDisc"},
        {"optDiscNo", "txtAdaptaciones"},
        {"optForzoso", "txtDNIConyuge"},
        {"optPetConyugeNo", "txtConyuApellido1"},
        {"optPetConyugeNo", "txtDNIConyuge"},
        {"optActivo", "txtSitAdm"},
        {"optOtras", "txtSitAdm"},
        {"optActivo", "txtFechaSit"},
        {"optTemporal", "txtFecPosesion"},
        {"optSSTarvo", "txtSS"},
        {"OptNo", "txtFecPosesion"},
        {"OptNo", "txtPuesto"},
        {"OptNo", "txtLocalidadPuesto"},
        {"OptNo", "txtProvinciaPuesto"},
        {"OptNo", "txtSS"},
    };
    for (const auto& [option, field] : governs)
        EXPECT_LT(position(model, option), position(model, field)) << option << " / " << field;
}

TEST(ApplicationModel, OptionButtonsOfOneFrameExcludeEachOther) {
    ApplicationModel model;
    model.setSelected(u"optActivo");
    model.setSelected(u"optDefinitivo");
    model.setSelected(u"optOtras");
    EXPECT_FALSE(model.isSelected(u"optActivo"));
    EXPECT_TRUE(model.isSelected(u"optOtras"));
    EXPECT_TRUE(model.isSelected(u"optDefinitivo")); // another frame
    model.setSelected(u"optOtras", false);
    EXPECT_FALSE(model.isSelected(u"optActivo")); // deselecting does not pick the partner
    model.setSelected(u"OptNo");
    model.setSelected(u"OptSi");
    EXPECT_FALSE(model.isSelected(u"OptNo"));
    EXPECT_TRUE(model.isSelected(u"optDefinitivo"));
}

} // namespace
} // namespace velmora
