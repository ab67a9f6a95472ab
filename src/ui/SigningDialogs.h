#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace velmora {

// What "Firmar solicitud" asks in dialogs of their own. The program asks through Qt's file
// dialogs and a password prompt; tests answer without a dialog.
class SigningDialogs {
public:
    virtual ~SigningDialogs() = default;
    // A certificate file (.p12, .pfx) to import; empty when the applicant gives up.
    virtual QString certificateFile() = 0;
    // A password, asked with `prompt`; no value when the applicant cancels.
    virtual std::optional<QString> password(const QString& prompt) = 0;
    // Another folder of a certificate database, starting at `start`; empty when the applicant
    // gives up.
    virtual QString databaseFolder(const QString& start) = 0;
    // Where to keep the signed application, `proposed` first; empty when the applicant gives up.
    virtual QString signedFile(const QString& proposed) = 0;
};

class QtSigningDialogs : public SigningDialogs {
public:
    explicit QtSigningDialogs(QWidget* parent) : m_parent(parent) {}

    QString certificateFile() override;
    std::optional<QString> password(const QString& prompt) override;
    QString databaseFolder(const QString& start) override;
    QString signedFile(const QString& proposed) override;

private:
    QWidget* m_parent;
};

} // namespace velmora
