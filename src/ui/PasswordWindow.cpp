#include "ui/PasswordWindow.h"

#include "platform/MessageService.h"
#include "platform/widgets/PasswordEcho.h"
#include "platform/widgets/TabOrder.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace velmora {

PasswordWindow::PasswordWindow(UserStore& store, MessageService& messages, QWidget* parent)
    : QDialog(parent), m_creation(store), m_messages(messages) {
    setObjectName(QStringLiteral("frmCreaPwd"));
    setWindowTitle(QStringLiteral("Contraseña"));

    // Asked at the first save, unannounced: the applicant is told what it is for.
    auto* why =
        new QLabel(QStringLiteral("La contraseña protege sus solicitudes en este ordenador: sin ella, "
                                  "nadie podrá abrirlas con su DNI."),
                   this);
    why->setObjectName(QStringLiteral("lblMotivo"));
    why->setWordWrap(true);
    auto* label1 = new QLabel(QStringLiteral("Contraseña"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    m_txtPwd0 = new QLineEdit(this);
    m_txtPwd0->setObjectName(QStringLiteral("txtPwd(0)"));
    auto* label2 = new QLabel(QStringLiteral("Repita la Contraseña"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    m_txtPwd1 = new QLineEdit(this);
    m_txtPwd1->setObjectName(QStringLiteral("txtPwd(1)"));
    for (QLineEdit* box : {m_txtPwd0, m_txtPwd1}) {
        showPasswordAsStars(box);
        box->setMinimumWidth(180);
    }
    label1->setBuddy(m_txtPwd0);
    label2->setBuddy(m_txtPwd1);

    m_cmdAceptar = new QPushButton(QStringLiteral("Aceptar"), this);
    m_cmdAceptar->setObjectName(QStringLiteral("cmdAceptar"));
    m_cmdAceptar->setDefault(true);
    m_cmdSalir = new QPushButton(QStringLiteral("Salir"), this);
    m_cmdSalir->setObjectName(QStringLiteral("cmdSalir"));
    m_cmdSalir->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    grid->addWidget(label1, 0, 0);
    grid->addWidget(m_txtPwd0, 0, 1);
    grid->addWidget(label2, 1, 0);
    grid->addWidget(m_txtPwd1, 1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdAceptar);
    buttons->addWidget(m_cmdSalir);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(14);
    layout->addWidget(why);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    declareTabOrder(this, {m_txtPwd0, m_txtPwd1, m_cmdAceptar, m_cmdSalir});
    m_txtPwd0->setFocus();

    connect(m_cmdAceptar, &QPushButton::clicked, this, &PasswordWindow::accept);
    connect(m_cmdSalir, &QPushButton::clicked, this, &QDialog::reject);
}

void PasswordWindow::accept() {
    const Status stored = m_creation.accept(m_strDNI, m_txtPwd0->text(), m_txtPwd1->text());
    if (stored) {
        QDialog::accept();
        return;
    }
    m_messages.tell(stored.error());
    if (stored.error().number == ErrorCode::InvalidValue)
        clearBoxes();
    else
        m_storeFailed = true; // the texts stay for another try
}

void PasswordWindow::clearBoxes() {
    m_txtPwd0->clear();
    m_txtPwd1->clear();
    m_txtPwd0->setFocus(Qt::OtherFocusReason);
}

} // namespace velmora
