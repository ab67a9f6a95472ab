#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace velmora {

// The file and folder choices of the office's window. The program asks through Qt's file
// dialogs; tests answer without a dialog.
class OfficeFileChooser {
public:
    virtual ~OfficeFileChooser() = default;
    // Scanned PDFs and pictures to read; empty when the user gives up.
    virtual QStringList scanFiles() = 0;
    // The folder the CSV files are written to; empty when the user gives up.
    virtual QString exportFolder() = 0;
    // A contest's installation folder (the one holding conf.xml); empty when the user gives up.
    virtual QString installationFolder() = 0;
    // The folder of the authorities signed applications must chain to (certificates or an
    // NSS database); empty when the user cancels.
    virtual QString trustFolder() = 0;
};

class DialogFileChooser : public OfficeFileChooser {
public:
    explicit DialogFileChooser(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    QStringList scanFiles() override;
    QString exportFolder() override;
    QString installationFolder() override;
    QString trustFolder() override;

private:
    QWidget* m_parent;
    QString m_lastFolder; // the next dialog opens where the last one left off
};

} // namespace velmora
