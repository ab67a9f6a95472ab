#pragma once

#include "users/PasswordCreation.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace velmora {

class MessageService;
class UserStore;

// The password window (frmCreaPwd): sets the password of `strDNI`, for a new user or to
// change it. Shown modally; the store changes only through "Aceptar".
class PasswordWindow : public QDialog {
    Q_OBJECT
    Q_PROPERTY(QString strDNI READ strDNI WRITE setStrDNI)
public:
    PasswordWindow(UserStore& store, MessageService& messages, QWidget* parent = nullptr);

    QString strDNI() const { return m_strDNI; }
    void setStrDNI(const QString& dni) { m_strDNI = dni; }
    // Whether an "Aceptar" failed to write the user store.
    bool storeFailed() const { return m_storeFailed; }

    // "Aceptar" (and Enter): closes only once the password is stored.
    void accept() override;

private:
    void clearBoxes();

    PasswordCreation m_creation;
    MessageService& m_messages;
    QString m_strDNI;
    bool m_storeFailed = false;
    QLineEdit* m_txtPwd0 = nullptr;
    QLineEdit* m_txtPwd1 = nullptr;
    QPushButton* m_cmdAceptar = nullptr;
    QPushButton* m_cmdSalir = nullptr;
};

} // namespace velmora
