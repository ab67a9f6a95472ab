#include "ui/editor/NumericKeyFilter.h"

#include "editor/FiltraTecla.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace velmora {

void NumericKeyFilter::install(QLineEdit* box) {
    box->installEventFilter(new NumericKeyFilter(box));
}

bool NumericKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (!box || event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    QChar typed;
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        typed = QChar(13);
    else if (key->key() == Qt::Key_Backspace)
        typed = QChar(8);
    else if (!key->text().isEmpty() && key->text().at(0).isPrint())
        typed = key->text().at(0);
    else
        return false; // movement and editing keys insert nothing: the box handles them

    const KeyFilterResult result = FiltraTecla(typed, box->text());
    if (result.sendTab) {
        // A Tab pressed in the box: the focus moves on as the Tab key moves it.
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
        QCoreApplication::sendEvent(box, &tab);
    }
    if (!result.key)
        return true;
    if (*result.key == typed)
        return false;
    box->insert(QString(*result.key)); // a full stop or "n" typed: a comma goes in
    return true;
}

} // namespace velmora
