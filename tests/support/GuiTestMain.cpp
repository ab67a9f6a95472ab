#include "platform/HeadlessEnvironment.h"
#include "platform/widgets/SpanishTranslation.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// No modal window a test opens may keep it waiting for ever: one that stays on screen longer
// than any test drives it (its keys went elsewhere on a loaded machine, or it opened after
// the step meant to answer it gave up) fails the test, naming it, and is closed, so that the
// run goes on.
class ModalWatchdog : public QObject {
public:
    static constexpr qint64 kLimitMs = 150000;

    explicit ModalWatchdog(QObject* parent) : QObject(parent) {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, &ModalWatchdog::check);
        timer->start(1000);
    }

private:
    void check() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != m_modal) {
            m_modal = modal;
            m_shown.start();
            return;
        }
        if (!modal || m_shown.elapsed() < kLimitMs)
            return;
        ADD_FAILURE() << "la ventana modal " << qPrintable(modal->objectName()) << " lleva "
                      << kLimitMs / 1000 << " s abierta sin que la prueba la cierre";
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        m_modal = nullptr;
    }

    QPointer<QWidget> m_modal;
    QElapsedTimer m_shown;
};

} // namespace

int main(int argc, char** argv) {
    velmora::prepareHeadlessEnvironment();
    QApplication app(argc, argv);
    velmora::installSpanishTranslation(app);
    new ModalWatchdog(&app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
