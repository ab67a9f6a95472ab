#include "ui/ManualViewer.h"

#include "platform/MessageService.h"
#include "platform/docengine/DocumentLayout.h"
#include "platform/docengine/PagePainter.h"
#include "platform/docengine/WordProcessor.h"
#include "platform/widgets/ScreenFit.h"
#include "platform/widgets/TabOrder.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace velmora {
namespace {

constexpr double kScreenDpi = 96.0;

} // namespace

ManualViewer::ManualViewer(const QString& manualPath, MessageService& messages, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmManual"));
    setWindowTitle(QStringLiteral("Manual de Usuario"));
    setModal(false);

    docengine::WordProcessor processor;
    auto opened = processor.addDocument(manualPath);
    if (!opened.ok()) {
        messages.inform(QStringLiteral("No se puede abrir el manual de usuario:\n%1").arg(manualPath),
                        programTitle(), MessageIcon::Exclamation);
    } else {
        docengine::DocumentLayout layout(*opened.value());
        for (int i = 0; i < layout.pageCount(); ++i)
            m_pages << docengine::PagePainter::renderPage(layout, i, kScreenDpi);
    }

    m_scroll = new QScrollArea;
    m_scroll->setObjectName(QStringLiteral("scrManual"));
    m_scroll->setAccessibleName(QStringLiteral("Páginas del manual"));
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->setAlignment(Qt::AlignHCenter);
    auto* zoomIn = new QPushButton(QStringLiteral("Ampliar"));
    zoomIn->setObjectName(QStringLiteral("cmdAmpliar"));
    auto* zoomOut = new QPushButton(QStringLiteral("Reducir"));
    zoomOut->setObjectName(QStringLiteral("cmdReducir"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    connect(zoomIn, &QPushButton::clicked, this, [this] {
        m_zoom = qMin(m_zoom * 1.25, 3.0);
        render();
    });
    connect(zoomOut, &QPushButton::clicked, this, [this] {
        m_zoom = qMax(m_zoom / 1.25, 0.5);
        render();
    });
    auto* bar = new QHBoxLayout;
    bar->addWidget(zoomOut);
    bar->addWidget(zoomIn);
    bar->addStretch();
    bar->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_scroll, 1);
    layout->addLayout(bar);
    render();
    declareTabOrder(this, {m_scroll, zoomOut, zoomIn, buttons->button(QDialogButtonBox::Close)});
    resize(fittedToScreen(QSize(900, 900), this));
}

void ManualViewer::render() {
    auto* sheet = new QWidget;
    auto* column = new QVBoxLayout(sheet);
    column->setSpacing(12);
    for (const QImage& page : m_pages) {
        auto* label = new QLabel;
        label->setPixmap(
            QPixmap::fromImage(page.scaledToWidth(int(page.width() * m_zoom), Qt::SmoothTransformation)));
        label->setFrameShape(QFrame::Box);
        column->addWidget(label, 0, Qt::AlignHCenter);
    }
    m_scroll->setWidget(sheet);
    m_sheet = sheet;
}

} // namespace velmora
