#pragma once

#include <QDialog>
#include <QImage>

#include <memory>

class QLabel;
class QPushButton;
class QScrollArea;

namespace velmora {

namespace docengine {
class DocumentLayout;
}

// frmVistaPrevia: the application's pages as they will print, drawn by the program's own
// document engine, one page at a time. Zoom to the page's width, the whole page or 100 %
// (Ctrl+plus and Ctrl+minus step it), Page Up and Page Down turn the pages. "Imprimir"
// closes the window asking the editor for the normal print; "Cerrar" (or Escape) only
// closes it.
class PreviewWindow : public QDialog {
    Q_OBJECT
public:
    enum class Zoom { PageWidth, WholePage, Actual, Free };
    // exec() returns this when the applicant chose "Imprimir".
    static constexpr int kPrintChosen = 2;

    explicit PreviewWindow(std::shared_ptr<const docengine::DocumentLayout> pages, QWidget* parent = nullptr);
    ~PreviewWindow() override;

    int pageCount() const;
    int currentPage() const { return m_page; } // from 0
    void showPage(int index);
    void setZoom(Zoom zoom);
    Zoom zoom() const { return m_zoom; }
    // Screen pixels per inch the page is drawn at now (96 is 100 %).
    double dotsPerInch() const { return m_dpi; }
    // A page drawn at `dpi`, as the window draws it.
    QImage renderPage(int index, double dpi) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void stepZoom(double factor);
    void redraw();
    double fittedDpi() const;

    std::shared_ptr<const docengine::DocumentLayout> m_pages;
    QScrollArea* m_scroll = nullptr;
    QLabel* m_sheet = nullptr;
    QLabel* m_pageLabel = nullptr;
    QPushButton* m_previous = nullptr;
    QPushButton* m_next = nullptr;
    int m_page = 0;
    Zoom m_zoom = Zoom::PageWidth;
    double m_dpi = 96;
};

} // namespace velmora
