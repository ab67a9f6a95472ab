#pragma once

#include <QDialog>

class QLabel;
class QScrollArea;

namespace velmora {

class MessageService;

// Shows the user manual's pages inside the program, for desktops with no application
// that opens the document: the engine lays the pages out and they are drawn one below the
// other, with zoom buttons.
class ManualViewer : public QDialog {
    Q_OBJECT
public:
    ManualViewer(const QString& manualPath, MessageService& messages, QWidget* parent = nullptr);

    int pageCount() const { return int(m_pages.size()); }

private:
    void render();

    QList<QImage> m_pages;
    double m_zoom = 1.0;
    QScrollArea* m_scroll = nullptr;
    QWidget* m_sheet = nullptr;
};

} // namespace velmora
