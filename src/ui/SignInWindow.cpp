#include "ui/SignInWindow.h"
#include "editor/ControlName.h"

#include "app/RunState.h"
#include "platform/MessageService.h"
#include "platform/widgets/DniLineEdit.h"
#include "platform/widgets/PasswordEcho.h"
#include "platform/widgets/TabKey.h"
#include "platform/widgets/TabOrder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace velmora {
namespace {

// The accept buttons carry a picture, as on the form; their name is still read out and
// shown as a tip.
QPushButton* pictureButton(const QString& name, QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    button->setIcon(parent->style()->standardIcon(QStyle::SP_DialogOkButton));
    button->setIconSize(QSize(20, 20));
    button->setAccessibleName(QStringLiteral("Aceptar"));
    button->setToolTip(QStringLiteral("Aceptar"));
    button->setFixedSize(40, 30);
    return button;
}

void keepPlaceWhenHidden(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
    widget->hide();
}

} // namespace

SignInWindow::SignInWindow(UserStore& store, MessageService& messages, RunState& state, QWidget* parent)
    : QDialog(parent), m_flow(store), m_messages(messages), m_state(state) {
    setObjectName(QStringLiteral("frmUsuario"));
    setWindowTitle(QStringLiteral("Validación de usuario"));
    buildControls();
    const Status opened = m_flow.openStore();
    if (!opened)
        m_messages.tell(opened.error());
    m_usable = opened.ok();
}

void SignInWindow::buildControls() {
    m_label1 = new QLabel(QStringLiteral("NIF"), this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_txtDNI = new DniLineEdit(this);
    m_txtDNI->setObjectName(ctl::txtDNI);
    m_txtDNI->setDiscardedCharacters(QStringLiteral("-.,"));
    m_txtDNI->setSelectAllOnFocus(true);
    m_txtDNI->setMinimumWidth(160);
    m_label1->setBuddy(m_txtDNI);
    m_cmdAceptarDNI = pictureButton(QStringLiteral("cmdAceptarDNI"), this);
    m_cmdAceptarDNI->setDefault(true);

    m_lblPwd = new QLabel(QStringLiteral("Contraseña"), this);
    m_lblPwd->setObjectName(QStringLiteral("lblPwd"));
    m_txtPwd = new QLineEdit(this);
    m_txtPwd->setObjectName(QStringLiteral("txtPwd"));
    showPasswordAsStars(m_txtPwd);
    m_lblPwd->setBuddy(m_txtPwd);
    m_cmdAceptarPwd = pictureButton(QStringLiteral("cmdAceptarPwd"), this);

    m_cmdSalir = new QPushButton(QStringLiteral("Salir"), this);
    m_cmdSalir->setObjectName(QStringLiteral("cmdSalir"));
    m_cmdSalir->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    grid->addWidget(m_label1, 0, 0);
    grid->addWidget(m_txtDNI, 0, 1);
    grid->addWidget(m_cmdAceptarDNI, 0, 2);
    grid->addWidget(m_lblPwd, 1, 0);
    grid->addWidget(m_txtPwd, 1, 1);
    grid->addWidget(m_cmdAceptarPwd, 1, 2);
    // The password row keeps its place, so the window does not change size between steps.
    for (QWidget* w : {static_cast<QWidget*>(m_lblPwd), static_cast<QWidget*>(m_txtPwd),
                       static_cast<QWidget*>(m_cmdAceptarPwd)})
        keepPlaceWhenHidden(w);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdSalir);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(14);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    declareTabOrder(this, {m_txtDNI, m_cmdAceptarDNI, m_txtPwd, m_cmdAceptarPwd, m_cmdSalir});
    m_txtDNI->setFocus();

    connect(m_txtDNI, &DniLineEdit::editingKeyReleased, this, &SignInWindow::onDniKeyReleased);
    connect(m_txtDNI, &DniLineEdit::focusLeft, this, &SignInWindow::onDniFocusLeft);
    connect(m_cmdAceptarDNI, &QPushButton::clicked, this, &SignInWindow::acceptDni);
    connect(m_cmdAceptarPwd, &QPushButton::clicked, this, &SignInWindow::acceptPassword);
    connect(m_cmdSalir, &QPushButton::clicked, this, &QDialog::reject);
}

int SignInWindow::exec() {
    if (!m_usable)
        return QDialog::Rejected;
    return QDialog::exec();
}

// Nine characters typed: on to the next control, which checks the DNI at once.
void SignInWindow::onDniKeyReleased() {
    if (m_txtDNI->text().size() == kDniLength && m_txtDNI->hasFocus())
        sendTabKey(m_txtDNI);
}

// The check runs when the user moves on within the window by keyboard or mouse, never when
// the window itself loses the focus (a message box, another window, closing): so a message
// shown by the check cannot start it again. A button reached with the mouse acts on its own
// click ("Aceptar" checks the DNI itself, "Salir" leaves), so the check does not eat it.
void SignInWindow::onDniFocusLeft(Qt::FocusReason reason) {
    switch (reason) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
        break;
    case Qt::MouseFocusReason:
        if (qobject_cast<QAbstractButton*>(QApplication::focusWidget()))
            return;
        break;
    default:
        return;
    }
    // After the focus has settled, outside the focus change itself.
    QMetaObject::invokeMethod(this, &SignInWindow::checkDniAfterLeaving, Qt::QueuedConnection);
}

void SignInWindow::checkDniAfterLeaving() {
    if (m_checkingDni || !isVisible() || !m_txtDNI->isEnabled() || m_txtDNI->hasFocus() ||
        m_flow.step() != SignInFlow::Step::Dni)
        return;
    m_checkingDni = true;
    const Status valid = m_flow.checkDniOnLeave(*m_txtDNI);
    if (!valid)
        m_messages.tell(valid.error());
    m_checkingDni = false;
    if (!valid && isVisible())
        m_txtDNI->setFocus(Qt::OtherFocusReason);
}

void SignInWindow::acceptDni() {
    const Result<SignInFlow::DniAnswer> answer = m_flow.acceptDni(*m_txtDNI);
    if (!answer) {
        m_messages.tell(answer.error());
        m_txtDNI->setFocus(Qt::OtherFocusReason);
        publishOutcome();
        return;
    }
    switch (*answer) {
    case SignInFlow::DniAnswer::Ignored:
        break;
    case SignInFlow::DniAnswer::PasswordNeeded:
        showPasswordStep();
        break;
    case SignInFlow::DniAnswer::SignedIn:
        publishOutcome();
        accept();
        return;
    }
    publishOutcome();
}

void SignInWindow::showPasswordStep() {
    m_lblPwd->show();
    m_txtPwd->show();
    m_cmdAceptarPwd->show();
    m_cmdAceptarPwd->setDefault(true);
    m_cmdAceptarDNI->setDefault(false);
    m_txtPwd->setFocus(Qt::OtherFocusReason);
    // The DNI cannot be changed any more.
    m_txtDNI->setEnabled(false);
    m_cmdAceptarDNI->setEnabled(false);
}

void SignInWindow::acceptPassword() {
    const Status signedIn = m_flow.acceptPassword(m_txtDNI->text(), m_txtPwd->text());
    if (!signedIn)
        m_messages.tell(signedIn.error());
    publishOutcome();
    if (signedIn) {
        accept();
        return;
    }
    m_txtPwd->setFocus(Qt::OtherFocusReason);
}

void SignInWindow::publishOutcome() {
    const SignInOutcome& outcome = m_flow.outcome();
    m_state.hasPassword = outcome.hasPassword;
    m_state.signedIn = outcome.signedIn;
    if (outcome.signedIn)
        m_state.signedInDni = outcome.dni;
}

} // namespace velmora
