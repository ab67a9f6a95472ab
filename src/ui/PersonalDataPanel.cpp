#include "ui/PersonalDataPanel.h"
#include "users/DniValidator.h"

#include "editor/ApplicationModel.h"
#include "platform/widgets/DataComboBox.h"
#include "platform/widgets/DniLineEdit.h"
#include "platform/widgets/TabOrder.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace velmora {
namespace {

// Frame by frame as they are seen: personal data, the contest, then the professional data
// (its left block before its right one, the typed post before the one picked from lists).
constexpr const char16_t kTabOrder[] =
    u"txtApellido1 txtApellido2 txtNombre txtDNI txtFecNacimiento txtTelefono txtDomicilio txtLocalidad "
    u"cboProvincia txtCP "
    u"optDiscSi optDiscNo txtTipoDisc txtAdaptaciones "
    u"optVoluntario optForzoso "
    u"optPetConyugeSi optPetConyugeNo "
    u"txtConyuApellido1 txtCOnyuApellido2 txtConyuNombre txtDNIConyuge "
    u"optReingesoSi optReingresoNo "
    u"cboPrefArea cboPrefLocalidad cboPrefProvincia "
    u"cboCuerpo cboGrupo txtNRP txtFechaIngreso "
    u"optActivo optOtras cboSituaciones txtSitAdm txtFechaSit "
    u"OptSi OptNo "
    u"optDefinitivo optTemporal txtFecPosesion "
    u"optSSTarvo optSSOtros txtSS "
    u"txtProvinciaPuesto txtLocalidadPuesto txtPuesto txtDemarDest "
    u"cboProvinciasIxa cboAreaIxa cboZBSIxa cboLocalidadesIxa txtLocaDest";

} // namespace

PersonalDataPanel::PersonalDataPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tabDatosPersonales"));
    auto* grid = new QGridLayout(this);
    auto* title = label(QString(), QStringLiteral("lblGrid(0)"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    grid->addWidget(title, 0, 0, 1, 2);
    grid->addWidget(buildPersonal(), 1, 0);
    grid->addWidget(buildContest(), 1, 1);
    grid->addWidget(buildProfessional(), 2, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);

    QList<QWidget*> order;
    for (const QString& name : QString::fromUtf16(kTabOrder).split(u' '))
        order << findChild<QWidget*>(name);
    declareTabOrder(this, order);
}

QGroupBox* PersonalDataPanel::frame(const QString& name, const QString& title) {
    auto* box = new QGroupBox(title);
    box->setObjectName(name);
    return box;
}

QLabel* PersonalDataPanel::label(const QString& text, const QString& name) {
    auto* l = new QLabel(text);
    if (!name.isEmpty())
        l->setObjectName(name);
    return l;
}

QLineEdit* PersonalDataPanel::textBox(const QString& name) {
    auto* box = new QLineEdit;
    box->setObjectName(name);
    if (const int limit = ApplicationModel::textLimit(name); limit > 0)
        box->setMaxLength(limit);
    return box;
}

QLineEdit* PersonalDataPanel::dniBox(const QString& name) {
    auto* box = new DniLineEdit;
    box->setObjectName(name);
    box->setMaxLength(kDniLength);
    return box;
}

QLineEdit* PersonalDataPanel::dateBox(const QString& name) {
    QLineEdit* box = textBox(name);
    box->setMaxLength(10);
    box->setPlaceholderText(QStringLiteral("dd/mm/aaaa"));
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 16);
    return box;
}

QRadioButton* PersonalDataPanel::option(const QString& name, const QString& caption) {
    auto* button = new QRadioButton(caption);
    button->setObjectName(name);
    return button;
}

DataComboBox* PersonalDataPanel::dropDown(const QString& name) {
    auto* combo = new DataComboBox;
    combo->setObjectName(name);
    combo->setMinimumContentsLength(12);
    return combo;
}

// Two option buttons side by side that exclude each other wherever they stand. A "Sí" and a
// "No" outside a titled frame are read out with their question.
QWidget* PersonalDataPanel::optionPair(QRadioButton* first, QRadioButton* second, const QString& question) {
    if (!question.isEmpty())
        for (QRadioButton* button : {first, second})
            button->setAccessibleName(question + QStringLiteral(": ") + button->text());
    auto* holder = new QWidget;
    auto* row = new QHBoxLayout(holder);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(first);
    row->addWidget(second);
    row->addStretch();
    auto* group = new QButtonGroup(holder);
    group->addButton(first);
    group->addButton(second);
    return holder;
}

QGroupBox* PersonalDataPanel::buildPersonal() {
    QGroupBox* box = frame(QStringLiteral("fraPersonales"), QStringLiteral("Datos Personales"));
    auto* grid = new QGridLayout(box);
    int row = 0;
    auto addRow = [&](const QString& caption, QWidget* field, int span = 3) {
        QLabel* l = label(caption);
        l->setBuddy(field);
        grid->addWidget(l, row, 0);
        grid->addWidget(field, row, 1, 1, span);
        ++row;
    };
    addRow(QStringLiteral("Primer Apellido"), textBox(QStringLiteral("txtApellido1")));
    addRow(QStringLiteral("Segundo Apellido"), textBox(QStringLiteral("txtApellido2")));
    addRow(QStringLiteral("Nombre"), textBox(QStringLiteral("txtNombre")));

    // NIF and date of birth share a row.
    QLineEdit* dni = dniBox(QStringLiteral("txtDNI"));
    QLabel* dniLabel = label(QStringLiteral("NIF"));
    dniLabel->setBuddy(dni);
    grid->addWidget(dniLabel, row, 0);
    grid->addWidget(dni, row, 1);
    QLineEdit* birth = dateBox(QStringLiteral("txtFecNacimiento"));
    QLabel* birthLabel = label(QStringLiteral("Fec Nacimiento"));
    birthLabel->setBuddy(birth);
    grid->addWidget(birthLabel, row, 2, Qt::AlignRight);
    grid->addWidget(birth, row, 3);
    ++row;

    addRow(QStringLiteral("Teléfono"), textBox(QStringLiteral("txtTelefono")), 1);
    addRow(QStringLiteral("Domicilio"), textBox(QStringLiteral("txtDomicilio")));
    addRow(QStringLiteral("Localidad"), textBox(QStringLiteral("txtLocalidad")));

    DataComboBox* province = dropDown(QStringLiteral("cboProvincia"));
    // A typed province would fill no postal code and print a name with no code.
    province->setTypingBlocked(true);
    QLabel* provinceLabel = label(QStringLiteral("Provincia"));
    provinceLabel->setBuddy(province);
    grid->addWidget(provinceLabel, row, 0);
    grid->addWidget(province, row, 1);
    QLineEdit* postCode = textBox(QStringLiteral("txtCP"));
    postCode->setMaxLength(5);
    QLabel* postLabel = label(QStringLiteral("Cº Postal"));
    postLabel->setBuddy(postCode);
    grid->addWidget(postLabel, row, 2, Qt::AlignRight);
    grid->addWidget(postCode, row, 3);
    ++row;

    QGroupBox* disability = frame(QStringLiteral("Frame2"), QStringLiteral("Discapacidad"));
    auto* disabilityGrid = new QGridLayout(disability);
    disabilityGrid->addWidget(optionPair(option(QStringLiteral("optDiscSi"), QStringLiteral("Sí")),
                                         option(QStringLiteral("optDiscNo"), QStringLiteral("No"))),
                              0, 0, 1, 2);
    QLineEdit* kind = textBox(QStringLiteral("txtTipoDisc"));
    QLabel* kindLabel = label(QStringLiteral("Tipo"), QStringLiteral("lblTipoDis"));
    kindLabel->setBuddy(kind);
    disabilityGrid->addWidget(kindLabel, 1, 0);
    disabilityGrid->addWidget(kind, 1, 1);
    QLineEdit* adaptations = textBox(QStringLiteral("txtAdaptaciones"));
    QLabel* adaptationsLabel = label(QStringLiteral("Adaptaciones Precisas"), QStringLiteral("lblAdap"));
    adaptationsLabel->setBuddy(adaptations);
    disabilityGrid->addWidget(adaptationsLabel, 2, 0);
    disabilityGrid->addWidget(adaptations, 2, 1);
    disabilityGrid->setColumnStretch(1, 1);
    grid->addWidget(disability, row, 0, 1, 4);
    ++row;
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);
    return box;
}

QGroupBox* PersonalDataPanel::buildContest() {
    QGroupBox* box = frame(QStringLiteral("Frame1"), QStringLiteral("Datos del Concurso"));
    auto* column = new QVBoxLayout(box);

    QGroupBox* participation = frame(QStringLiteral("fraForzVol"), QString());
    auto* participationRow = new QHBoxLayout(participation);
    participationRow->setContentsMargins(6, 2, 6, 2);
    participationRow->addWidget(
        optionPair(option(QStringLiteral("optVoluntario"), QStringLiteral("Voluntario")),
                   option(QStringLiteral("optForzoso"), QStringLiteral("Forzoso"))));
    column->addWidget(participation);

    QGroupBox* condition = frame(QStringLiteral("fraAcopPetConyu"),
                                 QStringLiteral("Condiciona su solicitud por convivencia familiar"));
    auto* conditionColumn = new QVBoxLayout(condition);
    conditionColumn->addWidget(optionPair(option(QStringLiteral("optPetConyugeSi"), QStringLiteral("Sí")),
                                          option(QStringLiteral("optPetConyugeNo"), QStringLiteral("No"))));
    QGroupBox* other =
        frame(QStringLiteral("fraDNIConyuge"),
              QStringLiteral("Datos del/la solicitante con el/la que condiciona su solicitud"));
    auto* otherGrid = new QGridLayout(other);
    const std::pair<const char*, const char*> otherFields[] = {
        {"Primer Apellido", "txtConyuApellido1"},
        {"Segundo Apellido", "txtCOnyuApellido2"},
        {"Nombre", "txtConyuNombre"},
    };
    int row = 0;
    for (const auto& [caption, name] : otherFields) {
        QLineEdit* field = textBox(QString::fromUtf8(name));
        QLabel* l = label(QString::fromUtf8(caption));
        l->setBuddy(field);
        otherGrid->addWidget(l, row, 0);
        otherGrid->addWidget(field, row, 1);
        ++row;
    }
    QLineEdit* otherDni = dniBox(QStringLiteral("txtDNIConyuge"));
    QLabel* otherDniLabel = label(QStringLiteral("NIF"));
    otherDniLabel->setBuddy(otherDni);
    otherGrid->addWidget(otherDniLabel, row, 0);
    otherGrid->addWidget(otherDni, row, 1, Qt::AlignLeft);
    otherGrid->setColumnStretch(1, 1);
    conditionColumn->addWidget(other);
    column->addWidget(condition);

    QGroupBox* reentry = frame(QStringLiteral("fraReingreso"), QString());
    auto* reentryRow = new QHBoxLayout(reentry);
    reentryRow->setContentsMargins(6, 2, 6, 2);
    const QString reentryQuestion = QStringLiteral("Solicita Reingreso");
    reentryRow->addWidget(label(reentryQuestion));
    reentryRow->addWidget(optionPair(option(QStringLiteral("optReingesoSi"), QStringLiteral("Sí")),
                                     option(QStringLiteral("optReingresoNo"), QStringLiteral("No")),
                                     reentryQuestion));
    column->addWidget(reentry);

    QGroupBox* preference = frame(QStringLiteral("fraPreferencia"), QStringLiteral("Preferencia que alega"));
    auto* preferenceGrid = new QGridLayout(preference);
    const std::pair<const char*, const char*> preferenceFields[] = {
        {"Área", "cboPrefArea"},
        {"Localidad", "cboPrefLocalidad"},
        {"ZBS", "cboPrefProvincia"},
    };
    row = 0;
    for (const auto& [caption, name] : preferenceFields) {
        DataComboBox* combo = dropDown(QString::fromUtf8(name));
        combo->setTypingBlocked(true);
        QLabel* l = label(QString::fromUtf8(caption));
        l->setBuddy(combo);
        preferenceGrid->addWidget(l, row, 0);
        preferenceGrid->addWidget(combo, row, 1);
        ++row;
    }
    preferenceGrid->setColumnStretch(1, 1);
    column->addWidget(preference);
    column->addStretch();
    return box;
}

QGroupBox* PersonalDataPanel::buildProfessional() {
    QGroupBox* box = frame(QStringLiteral("fraProfesionales"), QStringLiteral("Datos Profesionales"));
    auto* grid = new QGridLayout(box);

    // Left: body, group, registration number, entry date and the administrative situation.
    // Each side is a block of its own, read (and walked with Tab) before the other.
    auto* leftBlock = new QWidget;
    auto* left = new QGridLayout(leftBlock);
    left->setContentsMargins(0, 0, 0, 0);
    DataComboBox* body = dropDown(QStringLiteral("cboCuerpo"));
    body->setTypingBlocked(true);
    body->setMinimumContentsLength(30);
    DataComboBox* group = dropDown(QStringLiteral("cboGrupo"));
    group->setTypingBlocked(true);
    group->setMinimumContentsLength(4);
    int row = 0;
    auto addRow = [&](const QString& caption, QWidget* field, Qt::Alignment alignment = {}) {
        QLabel* l = label(caption);
        l->setBuddy(field);
        left->addWidget(l, row, 0);
        left->addWidget(field, row, 1, alignment);
        ++row;
    };
    addRow(QStringLiteral("Categoría"), body);
    addRow(QStringLiteral("Grupo/Subgrupo"), group, Qt::AlignLeft);
    addRow(QStringLiteral("NºRegistro Personal"), textBox(QStringLiteral("txtNRP")));
    addRow(QStringLiteral("Fecha Ingreso en la categoría como fijo"),
           dateBox(QStringLiteral("txtFechaIngreso")), Qt::AlignLeft);

    QGroupBox* situation = frame(QStringLiteral("fraSitAdmva"), QStringLiteral("Situación Administrativa"));
    auto* situationGrid = new QGridLayout(situation);
    situationGrid->addWidget(optionPair(option(QStringLiteral("optActivo"), QStringLiteral("Activo")),
                                        option(QStringLiteral("optOtras"), QStringLiteral("Otras"))),
                             0, 0, 1, 2);
    DataComboBox* situations = dropDown(QStringLiteral("cboSituaciones"));
    situations->setTypingBlocked(true);
    situationGrid->addWidget(situations, 1, 0, 1, 2);
    situationGrid->addWidget(textBox(QStringLiteral("txtSitAdm")), 2, 0, 1, 2);
    QLineEdit* situationDate = dateBox(QStringLiteral("txtFechaSit"));
    QLabel* situationDateLabel = label(QStringLiteral("Fecha"), QStringLiteral("lblFechaSit"));
    situationDateLabel->setBuddy(situationDate);
    situationGrid->addWidget(situationDateLabel, 3, 0);
    situationGrid->addWidget(situationDate, 3, 1, Qt::AlignLeft);
    situationGrid->setColumnStretch(1, 1);
    left->addWidget(situation, row, 0, 1, 2);
    ++row;
    left->setColumnStretch(1, 1);
    left->setRowStretch(row, 1);

    // Right: the current post.
    auto* rightBlock = new QWidget;
    auto* right = new QGridLayout(rightBlock);
    right->setContentsMargins(0, 0, 0, 0);
    const QString postQuestion = QStringLiteral("Destino Actual");
    right->addWidget(label(postQuestion), 0, 0);
    right->addWidget(optionPair(option(QStringLiteral("OptSi"), QStringLiteral("Sí")),
                                option(QStringLiteral("OptNo"), QStringLiteral("No")), postQuestion),
                     0, 1);

    QGroupBox* nature = frame(QStringLiteral("fraDefTemp"), QString());
    auto* natureGrid = new QGridLayout(nature);
    natureGrid->addWidget(
        optionPair(option(QStringLiteral("optDefinitivo"), QStringLiteral("De carácter definitivo")),
                   option(QStringLiteral("optTemporal"), QStringLiteral("De carácter provisional"))),
        0, 0, 1, 2);
    QLineEdit* possession = dateBox(QStringLiteral("txtFecPosesion"));
    QLabel* possessionLabel = label(QStringLiteral("Fecha toma posesión"), QStringLiteral("lblPosesion"));
    possessionLabel->setBuddy(possession);
    natureGrid->addWidget(possessionLabel, 1, 0);
    natureGrid->addWidget(possession, 1, 1, Qt::AlignLeft);
    natureGrid->setColumnStretch(1, 1);
    right->addWidget(nature, 1, 0, 1, 2);

    QGroupBox* health = frame(QStringLiteral("Frame7"), QStringLiteral("Servicio de Salud"));
    auto* healthRow = new QHBoxLayout(health);
    healthRow->addWidget(optionPair(option(QStringLiteral("optSSTarvo"), QStringLiteral("TARVO")),
                                    option(QStringLiteral("optSSOtros"), QStringLiteral("Otros"))));
    healthRow->addWidget(textBox(QStringLiteral("txtSS")), 1);
    right->addWidget(health, 2, 0, 1, 2);

    // The post as typed and the post picked from the lists are two columns, one after the other.
    QGroupBox* post = frame(QStringLiteral("Frame3"), QString());
    auto* postColumns = new QHBoxLayout(post);
    auto postColumn = [&](const std::vector<std::pair<QString, QWidget*>>& rows) {
        auto* block = new QWidget;
        auto* column = new QGridLayout(block);
        column->setContentsMargins(0, 0, 0, 0);
        int r = 0;
        for (const auto& [caption, field] : rows) {
            QLabel* l = label(caption);
            l->setBuddy(field);
            column->addWidget(l, r, 0);
            column->addWidget(field, r, 1);
            ++r;
        }
        column->setColumnStretch(1, 1);
        column->setRowStretch(r, 1);
        postColumns->addWidget(block, 1);
    };
    postColumn({{QStringLiteral("Provincia"), textBox(QStringLiteral("txtProvinciaPuesto"))},
                {QStringLiteral("Localidad/ZBS"), textBox(QStringLiteral("txtLocalidadPuesto"))},
                {QStringLiteral("Institución"), textBox(QStringLiteral("txtPuesto"))},
                {QStringLiteral("Demarcación"), textBox(QStringLiteral("txtDemarDest"))}});
    postColumn({{QStringLiteral("Provincia"), dropDown(QStringLiteral("cboProvinciasIxa"))},
                {QStringLiteral("Área"), dropDown(QStringLiteral("cboAreaIxa"))},
                {QStringLiteral("ZBS"), dropDown(QStringLiteral("cboZBSIxa"))},
                {QStringLiteral("Localidad"), dropDown(QStringLiteral("cboLocalidadesIxa"))},
                {QStringLiteral("Destino"), textBox(QStringLiteral("txtLocaDest"))}});
    right->addWidget(post, 3, 0, 1, 2);
    right->setColumnStretch(1, 1);
    right->setRowStretch(4, 1);

    grid->addWidget(leftBlock, 0, 0);
    grid->addWidget(rightBlock, 0, 1);
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 3);
    return box;
}

} // namespace velmora
