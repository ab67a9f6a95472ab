#include "platform/widgets/SpokenNames.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace velmora {
namespace {

// Qt names a drop-down on Linux by the value it shows ("Valladolid"), leaving its label to a
// relation that not every screen reader follows. This one is named as any other control
// (its own name, else its label) and holds the value as its value; its children are the
// same as Qt's: the list, then the box typed into.
class NamedDropDown : public QAccessibleWidget {
public:
    explicit NamedDropDown(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return box()->currentText();
        const QString text = QAccessibleWidget::text(t);
        return t == QAccessible::Name && text.isEmpty() ? box()->currentText() : text;
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = box()->view()->isVisible();
        s.editable = box()->isEditable();
        return s;
    }
    int childCount() const override { return box()->lineEdit() ? 2 : 1; }
    QAccessibleInterface* child(int index) const override {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(box()->view());
        if (index == 1 && box()->lineEdit())
            return QAccessible::queryAccessibleInterface(box()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int i = 0; i < childCount(); ++i)
            if (this->child(i) == child)
                return i;
        return -1;
    }
    QStringList actionNames() const override {
        return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == showMenuAction())
            box()->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* namedDropDown(const QString& className, QObject* object) {
    if (className == QLatin1String("velmora::DataComboBox"))
        return new NamedDropDown(static_cast<QComboBox*>(object));
    return nullptr;
}

} // namespace

void speakDropDownsByName() {
    static const bool installed = (QAccessible::installFactory(namedDropDown), true);
    Q_UNUSED(installed);
}

void setSpokenName(QWidget* control, const QString& name) {
    control->setAccessibleName(name);
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        if (QLineEdit* box = combo->lineEdit())
            box->setAccessibleName(name);
        combo->view()->setAccessibleName(name);
    }
}

void nameControlsAfterLabels(QWidget* root) {
    for (const QLabel* label : root->findChildren<QLabel*>()) {
        QWidget* buddy = label->buddy();
        if (buddy && buddy->accessibleName().isEmpty())
            setSpokenName(buddy, label->text().remove(u'&'));
    }
}

} // namespace velmora
