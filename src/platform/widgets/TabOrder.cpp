#include "platform/widgets/TabOrder.h"

#include <QVariant>
#include <QWidget>

namespace velmora {
namespace {

constexpr char kProperty[] = "velmoraTabOrder";

} // namespace

void declareTabOrder(QWidget* owner, const QList<QWidget*>& widgets) {
    QVariantList kept;
    for (qsizetype i = 0; i < widgets.size(); ++i) {
        if (i > 0)
            QWidget::setTabOrder(widgets[i - 1], widgets[i]);
        kept << QVariant::fromValue(static_cast<QObject*>(widgets[i]));
    }
    owner->setProperty(kProperty, kept);
}

QList<QWidget*> declaredTabOrder(const QWidget* owner) {
    QList<QWidget*> widgets;
    for (const QVariant& kept : owner->property(kProperty).toList())
        if (auto* widget = qobject_cast<QWidget*>(kept.value<QObject*>()))
            widgets << widget;
    return widgets;
}

} // namespace velmora
