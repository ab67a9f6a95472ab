#include "ui/SigningWindow.h"

#include "platform/MessageService.h"
#include "platform/widgets/PasswordEcho.h"
#include "platform/widgets/TabOrder.h"
#include "signing/CertificateDatabase.h"
#include "ui/SigningDialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <set>

namespace velmora {
namespace {

QString title() {
    return QStringLiteral("Firmar solicitud");
}

QPushButton* button(const QString& caption, const char* name, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

SigningWindow::SigningWindow(SigningWindowServices services, QWidget* parent)
    : QDialog(parent), m_services(std::move(services)) {
    setObjectName(QStringLiteral("frmFirma"));
    setWindowTitle(title());

    m_lblBase = new QLabel(this);
    m_lblBase->setObjectName(QStringLiteral("lblBase"));
    m_lblBase->setWordWrap(true);
    m_lstCertificados = new QTableWidget(0, 4, this);
    m_lstCertificados->setObjectName(QStringLiteral("lstCertificados"));
    m_lstCertificados->setAccessibleName(QStringLiteral("Certificados de firma"));
    m_lstCertificados->setHorizontalHeaderLabels({QStringLiteral("Titular"), QStringLiteral("NIF"),
                                                  QStringLiteral("Emisor"), QStringLiteral("Válido hasta")});
    m_lstCertificados->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_lstCertificados->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lstCertificados->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the list for the buttons; the arrow keys choose within it.
    m_lstCertificados->setTabKeyNavigation(false);
    m_lstCertificados->verticalHeader()->hide();
    m_lstCertificados->horizontalHeader()->setStretchLastSection(true);
    m_lstCertificados->setMinimumSize(640, 160);
    m_lblBase->setBuddy(m_lstCertificados);

    m_cmdCarpeta = button(QStringLiteral("Otra &base de certificados…"), "cmdCarpeta", this);
    m_cmdImportar = button(QStringLiteral("&Importar certificado…"), "cmdImportar", this);
    auto* pinLabel = new QLabel(QStringLiteral("Con&traseña del certificado:"), this);
    pinLabel->setObjectName(QStringLiteral("lblPin"));
    m_txtPin = new QLineEdit(this);
    m_txtPin->setObjectName(QStringLiteral("txtPin"));
    m_txtPin->setAccessibleName(QStringLiteral("Contraseña del certificado"));
    m_txtPin->setMinimumWidth(220);
    showPasswordAsStars(m_txtPin);
    pinLabel->setBuddy(m_txtPin);
    m_cmdFirmar = button(QStringLiteral("&Firmar"), "cmdFirmar", this);
    m_cmdFirmar->setDefault(true);
    m_cmdCancelar = button(QStringLiteral("Cancelar"), "cmdCancelar", this);

    auto* databaseButtons = new QHBoxLayout;
    databaseButtons->addWidget(m_cmdCarpeta);
    databaseButtons->addWidget(m_cmdImportar);
    databaseButtons->addStretch();
    auto* pin = new QHBoxLayout;
    pin->addWidget(pinLabel);
    pin->addWidget(m_txtPin);
    pin->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdFirmar);
    buttons->addWidget(m_cmdCancelar);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(10);
    layout->addWidget(m_lblBase);
    layout->addWidget(m_lstCertificados, 1);
    layout->addLayout(databaseButtons);
    layout->addSpacing(6);
    layout->addLayout(pin);
    layout->addSpacing(6);
    layout->addLayout(buttons);

    declareTabOrder(this,
                    {m_lstCertificados, m_cmdCarpeta, m_cmdImportar, m_txtPin, m_cmdFirmar, m_cmdCancelar});
    connect(m_cmdCarpeta, &QPushButton::clicked, this, &SigningWindow::chooseDatabase);
    connect(m_cmdImportar, &QPushButton::clicked, this, &SigningWindow::importCertificate);
    connect(m_cmdFirmar, &QPushButton::clicked, this, &SigningWindow::signApplication);
    connect(m_cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);

    QString folder = m_services.databaseFolder;
    if (folder.isEmpty())
        folder = certificate_database::openFolder();
    openDatabase(folder.isEmpty() ? certificate_database::defaultFolder() : folder);
    m_lstCertificados->setFocus();
}

void SigningWindow::openDatabase(const QString& folder) {
    m_folder = QFileInfo(folder).absoluteFilePath();
    const Status opened = certificate_database::open(m_folder);
    m_lblBase->setText(
        opened.ok()
            ? QStringLiteral("&Certificados de la base de datos de %1:")
                  .arg(QDir::toNativeSeparators(m_folder).replace(QLatin1Char('&'), QStringLiteral("&&")))
            : opened.error().description + QStringLiteral(" Importe su certificado (.p12, .pfx) o elija otra "
                                                          "base de certificados."));
    m_lstCertificados->setRowCount(0);
    if (opened.ok())
        listCertificates();
}

// Lists the open database's certificates and picks the applicant's one in force, else the first.
void SigningWindow::listCertificates() {
    auto listed = certificate_database::signingCertificates();
    if (!listed.ok()) {
        m_services.messages.inform(listed.error().description, title(), MessageIcon::Critical);
        return;
    }
    const QDateTime now = QDateTime::currentDateTime();
    int chosen = -1;
    for (const SigningCertificate& c : listed.value()) {
        const int row = m_lstCertificados->rowCount();
        m_lstCertificados->insertRow(row);
        QString until = c.validUntil.toLocalTime().toString(QStringLiteral("dd/MM/yyyy"));
        if (c.validUntil < now)
            until += QStringLiteral(" (caducado)");
        const QStringList texts{c.holderName, c.nif, c.issuer, until};
        for (int column = 0; column < texts.size(); ++column)
            m_lstCertificados->setItem(row, column, new QTableWidgetItem(texts[column]));
        m_lstCertificados->item(row, 0)->setData(Qt::UserRole, c.nickname);
        if (chosen < 0 && checkSigner(c, m_services.applicantDni, now).ok())
            chosen = row;
    }
    m_lstCertificados->resizeColumnsToContents();
    if (m_lstCertificados->rowCount() > 0)
        m_lstCertificados->selectRow(std::max(chosen, 0));
}

QString SigningWindow::chosenNickname() const {
    const QList<QTableWidgetItem*> selected = m_lstCertificados->selectedItems();
    return selected.isEmpty()
               ? QString()
               : m_lstCertificados->item(selected.first()->row(), 0)->data(Qt::UserRole).toString();
}

void SigningWindow::chooseDatabase() {
    const QString folder = m_services.dialogs.databaseFolder(m_folder);
    if (!folder.isEmpty())
        openDatabase(folder);
}

// The file's certificate goes into the database shown (created when the folder holds none),
// whose own password, if it has one, is the one typed in "Contraseña del certificado".
void SigningWindow::importCertificate() {
    const QString file = m_services.dialogs.certificateFile();
    if (file.isEmpty())
        return;
    const std::optional<QString> password = m_services.dialogs.password(
        QStringLiteral("Contraseña del fichero %1:").arg(QFileInfo(file).fileName()));
    if (!password)
        return;
    std::set<QString> before;
    for (int row = 0; row < m_lstCertificados->rowCount(); ++row)
        before.insert(m_lstCertificados->item(row, 0)->data(Qt::UserRole).toString());
    const Status imported = certificate_database::importPkcs12(m_folder, file, *password, m_txtPin->text());
    if (!imported.ok()) {
        m_services.messages.inform(imported.error().description, title(), MessageIcon::Critical);
        return;
    }
    openDatabase(m_folder);
    for (int row = 0; row < m_lstCertificados->rowCount(); ++row)
        if (!before.count(m_lstCertificados->item(row, 0)->data(Qt::UserRole).toString()))
            m_lstCertificados->selectRow(row);
}

void SigningWindow::signApplication() {
    const QString nickname = chosenNickname();
    if (nickname.isEmpty()) {
        m_services.messages.inform(QStringLiteral("Elija en la lista el certificado con el que firmar. Si no "
                                                  "está, impórtelo con «Importar certificado…»."),
                                   title(), MessageIcon::Exclamation);
        return;
    }
    QTemporaryDir scratch;
    const auto password = [this, &nickname]() -> std::optional<QString> {
        if (!m_txtPin->text().isEmpty())
            return m_txtPin->text();
        return m_services.dialogs.password(QStringLiteral("Contraseña del certificado «%1»:").arg(nickname));
    };
    auto made = m_services.sign(
        SigningChoice{nickname, password, scratch.filePath(QStringLiteral("solicitud-firmada.pdf"))});
    if (!made.ok()) {
        m_services.messages.tell(made.error());
        if (made.error().number == SigningError::WrongPassword) {
            m_txtPin->clear();
            m_txtPin->setFocus();
        }
        return;
    }
    const QString proposed = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                                 .filePath(signedApplicationFileName(made->signer.nif, m_services.body));
    // Until it is kept somewhere, or the applicant gives up keeping it.
    for (QString place = m_services.dialogs.signedFile(proposed); !place.isEmpty();
         place = m_services.dialogs.signedFile(place)) {
        if (QFileInfo(place).suffix().isEmpty())
            place += QStringLiteral(".pdf");
        const Status kept = keepSignedApplication(made->pdfPath, place);
        if (kept.ok()) {
            m_services.messages.inform(signedApplicationKeptNotice(place), title(), MessageIcon::Information);
            accept();
            return;
        }
        m_services.messages.inform(kept.error().description, title(), MessageIcon::Critical);
    }
}

} // namespace velmora
