#pragma once

#include "app/ApplicationSigning.h"
#include "platform/Result.h"

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace velmora {

class MessageService;
class SigningDialogs;

// What the signing window works with besides its widgets.
struct SigningWindowServices {
    MessageService& messages;
    SigningDialogs& dialogs;
    // "Firmar": the checks, save, printout and signature of the application into
    // `choice.output`; every refusal told, but a cancelled password prompt.
    std::function<Result<SignedApplication>(const SigningChoice& choice)> sign;
    QString applicantDni; // its certificate is the one picked first
    QString body;         // for the name the signed file is proposed under
    // The certificate database shown first; empty: the one open already, else the browser's.
    QString databaseFolder;
};

// frmFirma ("Firmar solicitud"): the applicant's signing certificates of an NSS certificate
// database, another database or an imported .p12/.pfx file, the key's password, and
// "Firmar", which signs the application and keeps the signed PDF where the applicant chooses.
class SigningWindow : public QDialog {
    Q_OBJECT
public:
    explicit SigningWindow(SigningWindowServices services, QWidget* parent = nullptr);

    // The database whose certificates are listed (and where imports go).
    const QString& databaseFolder() const { return m_folder; }

private:
    void openDatabase(const QString& folder);
    void listCertificates();
    void chooseDatabase();
    void importCertificate();
    void signApplication();
    QString chosenNickname() const;

    SigningWindowServices m_services;
    QString m_folder;
    QLabel* m_lblBase = nullptr;
    QTableWidget* m_lstCertificados = nullptr;
    QPushButton* m_cmdCarpeta = nullptr;
    QPushButton* m_cmdImportar = nullptr;
    QLineEdit* m_txtPin = nullptr;
    QPushButton* m_cmdFirmar = nullptr;
    QPushButton* m_cmdCancelar = nullptr;
};

} // namespace velmora
