#include "ui/PreviewWindow.h"

#include "platform/docengine/DocumentLayout.h"
#include "platform/docengine/PagePainter.h"
#include "platform/widgets/ScreenFit.h"
#include "platform/widgets/TabOrder.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

namespace velmora {
namespace {

constexpr double kActualDpi = 96.0; // 100 %: an inch of paper is an inch of a common screen
constexpr double kMinDpi = 24.0;
constexpr double kMaxDpi = 384.0;
constexpr double kZoomStep = 1.25;

QPushButton* button(const char* name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

PreviewWindow::PreviewWindow(std::shared_ptr<const docengine::DocumentLayout> pages, QWidget* parent)
    : QDialog(parent), m_pages(std::move(pages)) {
    setObjectName(QStringLiteral("frmVistaPrevia"));
    setWindowTitle(QStringLiteral("Vista previa de la solicitud"));
    setModal(true);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("picPagina"));
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setAccessibleName(QStringLiteral("Página de la solicitud"));
    m_sheet = new QLabel;
    m_sheet->setFrameShape(QFrame::Box);
    m_scroll->setWidget(m_sheet);
    // The fitted zooms follow the room the page has, known only once the window is laid out.
    m_scroll->viewport()->installEventFilter(this);

    m_previous = button("cmdAnterior", QStringLiteral("&Anterior"), this);
    m_next = button("cmdSiguiente", QStringLiteral("S&iguiente"), this);
    m_pageLabel = new QLabel(this);
    m_pageLabel->setObjectName(QStringLiteral("lblPaginas"));
    QPushButton* width = button("cmdAnchoPagina", QStringLiteral("Ancho de &página"), this);
    QPushButton* whole = button("cmdPaginaCompleta", QStringLiteral("Página &completa"), this);
    QPushButton* actual = button("cmdTamanoReal", QStringLiteral("&100 %"), this);
    QPushButton* print = button("cmdImprimir", QStringLiteral("&Imprimir"), this);
    QPushButton* close = button("cmdCerrar", QStringLiteral("Cerrar"), this);

    connect(m_previous, &QPushButton::clicked, this, [this] { showPage(m_page - 1); });
    connect(m_next, &QPushButton::clicked, this, [this] { showPage(m_page + 1); });
    connect(width, &QPushButton::clicked, this, [this] { setZoom(Zoom::PageWidth); });
    connect(whole, &QPushButton::clicked, this, [this] { setZoom(Zoom::WholePage); });
    connect(actual, &QPushButton::clicked, this, [this] { setZoom(Zoom::Actual); });
    connect(print, &QPushButton::clicked, this, [this] { done(kPrintChosen); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    // The page keys turn pages whatever has the focus: the page's scroll area would otherwise
    // take them to scroll, and a button would ignore them.
    const std::pair<QKeySequence, std::function<int()>> pageKeys[] = {
        {QKeySequence(Qt::Key_PageDown), [this] { return m_page + 1; }},
        {QKeySequence(Qt::Key_PageUp), [this] { return m_page - 1; }},
        {QKeySequence(Qt::Key_Home), [] { return 0; }},
        {QKeySequence(Qt::CTRL | Qt::Key_Home), [] { return 0; }},
        {QKeySequence(Qt::Key_End), [this] { return pageCount() - 1; }},
        {QKeySequence(Qt::CTRL | Qt::Key_End), [this] { return pageCount() - 1; }}};
    for (const auto& [keys, page] : pageKeys)
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [this, page] { showPage(page()); });

    auto* bar = new QHBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(m_previous), static_cast<QWidget*>(m_pageLabel),
                       static_cast<QWidget*>(m_next)})
        bar->addWidget(w);
    bar->addSpacing(24);
    for (QWidget* w : {width, whole, actual})
        bar->addWidget(w);
    bar->addStretch();
    bar->addWidget(print);
    bar->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_scroll, 1);
    layout->addLayout(bar);
    declareTabOrder(this, {m_scroll, m_previous, m_next, width, whole, actual, print, close});

    resize(fittedToScreen(QSize(900, 1000), this));
    showPage(0);
    print->setFocus();
}

PreviewWindow::~PreviewWindow() = default;

int PreviewWindow::pageCount() const {
    return m_pages ? m_pages->pageCount() : 0;
}

void PreviewWindow::showPage(int index) {
    m_page = std::clamp(index, 0, std::max(0, pageCount() - 1));
    m_pageLabel->setText(
        QStringLiteral("Página %1 de %2").arg(pageCount() > 0 ? m_page + 1 : 0).arg(pageCount()));
    m_previous->setEnabled(m_page > 0);
    m_next->setEnabled(m_page + 1 < pageCount());
    redraw();
    m_scroll->verticalScrollBar()->setValue(0);
}

void PreviewWindow::setZoom(Zoom zoom) {
    m_zoom = zoom;
    if (zoom == Zoom::Actual)
        m_dpi = kActualDpi;
    redraw();
}

void PreviewWindow::stepZoom(double factor) {
    m_dpi = std::clamp(m_dpi * factor, kMinDpi, kMaxDpi);
    m_zoom = Zoom::Free;
    redraw();
}

double PreviewWindow::fittedDpi() const {
    if (!m_pages)
        return kActualDpi;
    const QSizeF inches = m_pages->pageSize() / 1440.0;
    const QSize room = m_scroll->viewport()->size() - QSize(24, 24);
    const double byWidth =
        (room.width() - m_scroll->verticalScrollBar()->sizeHint().width()) / inches.width();
    if (m_zoom == Zoom::PageWidth)
        return std::clamp(byWidth, kMinDpi, kMaxDpi);
    return std::clamp(std::min(byWidth, room.height() / inches.height()), kMinDpi, kMaxDpi);
}

QImage PreviewWindow::renderPage(int index, double dpi) const {
    if (!m_pages || index < 0 || index >= pageCount())
        return {};
    return docengine::PagePainter::renderPage(*m_pages, index, dpi);
}

void PreviewWindow::redraw() {
    if (m_zoom == Zoom::PageWidth || m_zoom == Zoom::WholePage)
        m_dpi = fittedDpi();
    // Drawn for the screen's own pixels, so text stays sharp on scaled displays.
    const double ratio = devicePixelRatioF();
    QImage page = renderPage(m_page, m_dpi * ratio);
    page.setDevicePixelRatio(ratio);
    m_sheet->setPixmap(QPixmap::fromImage(page));
    m_sheet->adjustSize();
}

void PreviewWindow::keyPressEvent(QKeyEvent* event) {
    // Ctrl with "+" (or "=", the same key unshifted on many layouts) and "-" step the zoom.
    const bool control = event->modifiers() & Qt::ControlModifier;
    if (event->matches(QKeySequence::ZoomIn) ||
        (control && (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Equal)))
        return stepZoom(kZoomStep);
    if (event->matches(QKeySequence::ZoomOut) || (control && event->key() == Qt::Key_Minus))
        return stepZoom(1 / kZoomStep);
    QDialog::keyPressEvent(event);
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_scroll->viewport() && event->type() == QEvent::Resize &&
        (m_zoom == Zoom::PageWidth || m_zoom == Zoom::WholePage))
        QMetaObject::invokeMethod(this, &PreviewWindow::redraw, Qt::QueuedConnection);
    return QDialog::eventFilter(watched, event);
}

} // namespace velmora
