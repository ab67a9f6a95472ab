#include "ui/PersonalDataPanel.h"
#include "users/DniValidator.h"

#include "editor/ApplicationModel.h"
#include "editor/FieldSeparator.h"
#include "platform/widgets/CharacterGuard.h"
#include "platform/widgets/DataComboBox.h"
#include "platform/widgets/DniLineEdit.h"
#include "platform/widgets/OptionArrows.h"
#include "platform/widgets/SpokenNames.h"
#include "platform/widgets/TabOrder.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QVBoxLayout>

#include <algorithm>

namespace velmora {
namespace {

// Characters a drop-down of names and the boxes typed beside them show at least.
constexpr int kNameLength = 12;

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

// Captions that repeat on the tab ("Provincia", "Localidad", "Área", "Nombre"…) are said with
// their section, so that a listener knows which one has the focus.
constexpr std::pair<const char16_t*, const char16_t*> kSpokenNames[] = {
    {u"txtLocalidad", u"Localidad del domicilio"},
    {u"cboProvincia", u"Provincia del domicilio"},
    {u"txtCP", u"Código postal del domicilio"},
    {u"txtConyuApellido1", u"Primer apellido de quien condiciona"},
    {u"txtCOnyuApellido2", u"Segundo apellido de quien condiciona"},
    {u"txtConyuNombre", u"Nombre de quien condiciona"},
    {u"txtDNIConyuge", u"NIF de quien condiciona"},
    {u"cboPrefArea", u"Área de preferencia"},
    {u"cboPrefLocalidad", u"Localidad de preferencia"},
    {u"cboPrefProvincia", u"Zona básica de salud de preferencia"},
    {u"cboSituaciones", u"Otra situación administrativa"},
    {u"txtSitAdm", u"Cuál otra situación administrativa"},
    {u"txtSS", u"Otro servicio de salud"},
    {u"txtProvinciaPuesto", u"Provincia del destino actual"},
    {u"txtLocalidadPuesto", u"Localidad o zona básica del destino actual"},
    {u"txtPuesto", u"Institución del destino actual"},
    {u"txtDemarDest", u"Demarcación del destino actual"},
    {u"cboProvinciasIxa", u"Provincia del destino actual, de la lista"},
    {u"cboAreaIxa", u"Área del destino actual, de la lista"},
    {u"cboZBSIxa", u"Zona básica del destino actual, de la lista"},
    {u"cboLocalidadesIxa", u"Localidad del destino actual, de la lista"},
    {u"txtLocaDest", u"Destino actual, de la lista"},
};

// The width at which `box` shows `sample` whole, as the style lays a line edit out (its frame,
// margins and the room the text is given): a squeezed layout never cuts a date's first digit.
int widthShowing(const QLineEdit* box, const QString& sample) {
    QStyleOptionFrame frame;
    frame.initFrom(box);
    frame.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, box);
    const QMargins margins = box->textMargins();
    constexpr int kTextMargin = 2; // QLineEdit's own, each side
    const QSize text(box->fontMetrics().horizontalAdvance(sample) + margins.left() + margins.right() +
                         2 * kTextMargin,
                     box->fontMetrics().height());
    return box->style()->sizeFromContents(QStyle::CT_LineEdit, &frame, text, box).width();
}

} // namespace

PersonalDataPanel::PersonalDataPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tabDatosPersonales"));
    auto* grid = new QGridLayout(this);
    auto* title = label(QString());
    title->setObjectName(QStringLiteral("lblGrid(0)"));
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
    for (const auto& [name, spoken] : kSpokenNames)
        setSpokenName(findChild<QWidget*>(QString::fromUtf16(name)), QString::fromUtf16(spoken));
    nameControlsAfterLabels(this);
}

QGroupBox* PersonalDataPanel::frame(ControlName name, const QString& title) {
    auto* box = new QGroupBox(title);
    box->setObjectName(name.toString());
    return box;
}

QLabel* PersonalDataPanel::label(const QString& text) {
    return new QLabel(text);
}

QLabel* PersonalDataPanel::label(const QString& text, ControlName name) {
    QLabel* l = label(text);
    l->setObjectName(name.toString());
    return l;
}

QLineEdit* PersonalDataPanel::textBox(ControlName name) {
    auto* box = new QLineEdit;
    box->setObjectName(name.toString());
    if (const int limit = ApplicationModel::textLimit(name); limit > 0)
        box->setMaxLength(limit);
    CharacterGuard::install(box, kRecordSeparator, kRecordSeparatorStandIn);
    return box;
}

QLineEdit* PersonalDataPanel::dniBox(ControlName name) {
    auto* box = new DniLineEdit;
    box->setObjectName(name.toString());
    box->setMaxLength(kDniLength);
    CharacterGuard::install(box, kRecordSeparator, kRecordSeparatorStandIn);
    return box;
}

QLineEdit* PersonalDataPanel::dateBox(ControlName name) {
    QLineEdit* box = textBox(name);
    box->setMaxLength(10);
    box->setPlaceholderText(QStringLiteral("dd/mm/aaaa"));
    // Room for a date or the hint, and a digit more: the hint is drawn a little inside the text's
    // room, and a screen at a large scale rounds.
    const QString slack = QStringLiteral("0");
    const int room = std::max(widthShowing(box, QStringLiteral("00/00/0000") + slack),
                              widthShowing(box, box->placeholderText() + slack));
    box->setMinimumWidth(room);
    box->setMaximumWidth(room + box->fontMetrics().horizontalAdvance(QStringLiteral("00")));
    return box;
}

QRadioButton* PersonalDataPanel::option(ControlName name, const QString& caption) {
    auto* button = new QRadioButton(caption);
    button->setObjectName(name.toString());
    return button;
}

DataComboBox* PersonalDataPanel::dropDown(ControlName name) {
    auto* combo = new DataComboBox;
    combo->setObjectName(name.toString());
    combo->setMinimumContentsLength(kNameLength);
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
    selectWithArrowKeys(group);
    return holder;
}

QGroupBox* PersonalDataPanel::buildPersonal() {
    QGroupBox* box = frame(ctl::fraPersonales, QStringLiteral("Datos Personales"));
    auto* grid = new QGridLayout(box);
    int row = 0;
    auto addRow = [&](const QString& caption, QWidget* field, int span = 3) {
        QLabel* l = label(caption);
        l->setBuddy(field);
        grid->addWidget(l, row, 0);
        grid->addWidget(field, row, 1, 1, span);
        ++row;
    };
    addRow(QStringLiteral("Primer Apellido"), textBox(ctl::txtApellido1));
    addRow(QStringLiteral("Segundo Apellido"), textBox(ctl::txtApellido2));
    addRow(QStringLiteral("Nombre"), textBox(ctl::txtNombre));

    // NIF and date of birth share a row.
    QLineEdit* dni = dniBox(ctl::txtDNI);
    QLabel* dniLabel = label(QStringLiteral("NIF"));
    dniLabel->setBuddy(dni);
    grid->addWidget(dniLabel, row, 0);
    grid->addWidget(dni, row, 1);
    QLineEdit* birth = dateBox(ctl::txtFecNacimiento);
    QLabel* birthLabel = label(QStringLiteral("Fec Nacimiento"));
    birthLabel->setBuddy(birth);
    grid->addWidget(birthLabel, row, 2, Qt::AlignRight);
    grid->addWidget(birth, row, 3);
    ++row;

    addRow(QStringLiteral("Teléfono"), textBox(ctl::txtTelefono), 1);
    addRow(QStringLiteral("Domicilio"), textBox(ctl::txtDomicilio));
    addRow(QStringLiteral("Localidad"), textBox(ctl::txtLocalidad));

    DataComboBox* province = dropDown(ctl::cboProvincia);
    // A typed province would fill no postal code and print a name with no code.
    province->setTypingBlocked(true);
    QLabel* provinceLabel = label(QStringLiteral("Provincia"));
    provinceLabel->setBuddy(province);
    grid->addWidget(provinceLabel, row, 0);
    grid->addWidget(province, row, 1);
    QLineEdit* postCode = textBox(ctl::txtCP);
    postCode->setMaxLength(5);
    QLabel* postLabel = label(QStringLiteral("Cº Postal"));
    postLabel->setBuddy(postCode);
    grid->addWidget(postLabel, row, 2, Qt::AlignRight);
    grid->addWidget(postCode, row, 3);
    ++row;

    QGroupBox* disability = frame(ctl::Frame2, QStringLiteral("Discapacidad"));
    auto* disabilityGrid = new QGridLayout(disability);
    disabilityGrid->addWidget(optionPair(option(ctl::optDiscSi, QStringLiteral("Sí")),
                                         option(ctl::optDiscNo, QStringLiteral("No")), disability->title()),
                              0, 0, 1, 2);
    QLineEdit* kind = textBox(ctl::txtTipoDisc);
    QLabel* kindLabel = label(QStringLiteral("Tipo"), ctl::lblTipoDis);
    kindLabel->setBuddy(kind);
    disabilityGrid->addWidget(kindLabel, 1, 0);
    disabilityGrid->addWidget(kind, 1, 1);
    QLineEdit* adaptations = textBox(ctl::txtAdaptaciones);
    QLabel* adaptationsLabel = label(QStringLiteral("Adaptaciones Precisas"), ctl::lblAdap);
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
    QGroupBox* box = frame(ctl::Frame1, QStringLiteral("Datos del Concurso"));
    auto* column = new QVBoxLayout(box);

    QGroupBox* participation = frame(ctl::fraForzVol, QString());
    auto* participationRow = new QHBoxLayout(participation);
    participationRow->setContentsMargins(6, 2, 6, 2);
    participationRow->addWidget(optionPair(option(ctl::optVoluntario, QStringLiteral("Voluntario")),
                                           option(ctl::optForzoso, QStringLiteral("Forzoso"))));
    column->addWidget(participation);

    QGroupBox* condition =
        frame(ctl::fraAcopPetConyu, QStringLiteral("Condiciona su solicitud por convivencia familiar"));
    auto* conditionColumn = new QVBoxLayout(condition);
    conditionColumn->addWidget(optionPair(option(ctl::optPetConyugeSi, QStringLiteral("Sí")),
                                          option(ctl::optPetConyugeNo, QStringLiteral("No")),
                                          condition->title()));
    QGroupBox* other = frame(
        ctl::fraDNIConyuge, QStringLiteral("Datos del/la solicitante con el/la que condiciona su solicitud"));
    auto* otherGrid = new QGridLayout(other);
    const std::pair<const char*, ControlName> otherFields[] = {
        {"Primer Apellido", ctl::txtConyuApellido1},
        {"Segundo Apellido", ctl::txtCOnyuApellido2},
        {"Nombre", ctl::txtConyuNombre},
    };
    int row = 0;
    for (const auto& [caption, name] : otherFields) {
        QLineEdit* field = textBox(name);
        QLabel* l = label(QString::fromUtf8(caption));
        l->setBuddy(field);
        otherGrid->addWidget(l, row, 0);
        otherGrid->addWidget(field, row, 1);
        ++row;
    }
    QLineEdit* otherDni = dniBox(ctl::txtDNIConyuge);
    QLabel* otherDniLabel = label(QStringLiteral("NIF"));
    otherDniLabel->setBuddy(otherDni);
    otherGrid->addWidget(otherDniLabel, row, 0);
    otherGrid->addWidget(otherDni, row, 1, Qt::AlignLeft);
    otherGrid->setColumnStretch(1, 1);
    conditionColumn->addWidget(other);
    column->addWidget(condition);

    QGroupBox* reentry = frame(ctl::fraReingreso, QString());
    auto* reentryRow = new QHBoxLayout(reentry);
    reentryRow->setContentsMargins(6, 2, 6, 2);
    const QString reentryQuestion = QStringLiteral("Solicita Reingreso");
    reentryRow->addWidget(label(reentryQuestion));
    reentryRow->addWidget(optionPair(option(ctl::optReingesoSi, QStringLiteral("Sí")),
                                     option(ctl::optReingresoNo, QStringLiteral("No")), reentryQuestion));
    column->addWidget(reentry);

    QGroupBox* preference = frame(ctl::fraPreferencia, QStringLiteral("Preferencia que alega"));
    auto* preferenceGrid = new QGridLayout(preference);
    const std::pair<const char*, ControlName> preferenceFields[] = {
        {"Área", ctl::cboPrefArea},
        {"Localidad", ctl::cboPrefLocalidad},
        {"ZBS", ctl::cboPrefProvincia},
    };
    row = 0;
    for (const auto& [caption, name] : preferenceFields) {
        DataComboBox* combo = dropDown(name);
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
    QGroupBox* box = frame(ctl::fraProfesionales, QStringLiteral("Datos Profesionales"));
    auto* grid = new QGridLayout(box);

    // Left: body, group, registration number, entry date and the administrative situation.
    // Each side is a block of its own, read (and walked with Tab) before the other.
    auto* leftBlock = new QWidget;
    auto* left = new QGridLayout(leftBlock);
    left->setContentsMargins(0, 0, 0, 0);
    DataComboBox* body = dropDown(ctl::cboCuerpo);
    body->setTypingBlocked(true);
    body->setMinimumContentsLength(30);
    DataComboBox* group = dropDown(ctl::cboGrupo);
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
    addRow(QStringLiteral("NºRegistro Personal"), textBox(ctl::txtNRP));
    addRow(QStringLiteral("Fecha Ingreso en la categoría como fijo"), dateBox(ctl::txtFechaIngreso),
           Qt::AlignLeft);
    // That long caption takes two lines, no wider than the others, rather than the width of a
    // small screen.
    auto* entryLabel = qobject_cast<QLabel*>(left->itemAtPosition(row - 1, 0)->widget());
    entryLabel->setWordWrap(true);
    entryLabel->setMinimumWidth(
        entryLabel->fontMetrics().horizontalAdvance(QStringLiteral("NºRegistro Personal")));

    QGroupBox* situation = frame(ctl::fraSitAdmva, QStringLiteral("Situación Administrativa"));
    auto* situationGrid = new QGridLayout(situation);
    situationGrid->addWidget(optionPair(option(ctl::optActivo, QStringLiteral("Activo")),
                                        option(ctl::optOtras, QStringLiteral("Otras"))),
                             0, 0, 1, 2);
    DataComboBox* situations = dropDown(ctl::cboSituaciones);
    situations->setTypingBlocked(true);
    situationGrid->addWidget(situations, 1, 0, 1, 2);
    situationGrid->addWidget(textBox(ctl::txtSitAdm), 2, 0, 1, 2);
    QLineEdit* situationDate = dateBox(ctl::txtFechaSit);
    QLabel* situationDateLabel = label(QStringLiteral("Fecha"), ctl::lblFechaSit);
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
    right->addWidget(optionPair(option(ctl::OptSi, QStringLiteral("Sí")),
                                option(ctl::OptNo, QStringLiteral("No")), postQuestion),
                     0, 1);

    QGroupBox* nature = frame(ctl::fraDefTemp, QString());
    auto* natureGrid = new QGridLayout(nature);
    natureGrid->addWidget(optionPair(option(ctl::optDefinitivo, QStringLiteral("De carácter definitivo")),
                                     option(ctl::optTemporal, QStringLiteral("De carácter provisional"))),
                          0, 0, 1, 2);
    QLineEdit* possession = dateBox(ctl::txtFecPosesion);
    QLabel* possessionLabel = label(QStringLiteral("Fecha toma posesión"), ctl::lblPosesion);
    possessionLabel->setBuddy(possession);
    natureGrid->addWidget(possessionLabel, 1, 0);
    natureGrid->addWidget(possession, 1, 1, Qt::AlignLeft);
    natureGrid->setColumnStretch(1, 1);
    right->addWidget(nature, 1, 0, 1, 2);

    QGroupBox* health = frame(ctl::Frame7, QStringLiteral("Servicio de Salud"));
    auto* healthRow = new QHBoxLayout(health);
    healthRow->addWidget(optionPair(option(ctl::optSSTarvo, QStringLiteral("TARVO")),
                                    option(ctl::optSSOtros, QStringLiteral("Otros"))));
    healthRow->addWidget(textBox(ctl::txtSS), 1);
    right->addWidget(health, 2, 0, 1, 2);

    // The post as typed and the post picked from the lists are two columns, one after the other.
    QGroupBox* post = frame(ctl::Frame3, QString());
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
    // A typed box keeps the room of the drop-down beside it: a name, not its last letters.
    const auto postBox = [&](ControlName name) {
        QLineEdit* box = textBox(name);
        box->setMinimumWidth(widthShowing(box, QString(kNameLength, u'X')));
        return box;
    };
    postColumn({{QStringLiteral("Provincia"), postBox(ctl::txtProvinciaPuesto)},
                {QStringLiteral("Localidad/ZBS"), postBox(ctl::txtLocalidadPuesto)},
                {QStringLiteral("Institución"), postBox(ctl::txtPuesto)},
                {QStringLiteral("Demarcación"), postBox(ctl::txtDemarDest)}});
    postColumn({{QStringLiteral("Provincia"), dropDown(ctl::cboProvinciasIxa)},
                {QStringLiteral("Área"), dropDown(ctl::cboAreaIxa)},
                {QStringLiteral("ZBS"), dropDown(ctl::cboZBSIxa)},
                {QStringLiteral("Localidad"), dropDown(ctl::cboLocalidadesIxa)},
                {QStringLiteral("Destino"), textBox(ctl::txtLocaDest)}});
    right->setColumnStretch(1, 1);
    right->setRowStretch(3, 1);

    // The current post's two columns run under both blocks: beside them they would not fit a
    // 1366×768 screen at 150 %.
    grid->addWidget(leftBlock, 0, 0);
    grid->addWidget(rightBlock, 0, 1);
    grid->addWidget(post, 1, 0, 1, 2);
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 3);
    return box;
}

} // namespace velmora
