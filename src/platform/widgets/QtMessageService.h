#pragma once

#include "platform/MessageService.h"

class QWidget;

namespace velmora {

// The windows' message boxes: a real, modal QMessageBox with the text, title, icon and
// standard buttons asked for (their Spanish captions come from Qt's translation).
class QtMessageService : public MessageService {
public:
    explicit QtMessageService(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    MessageAnswer show(const QString& text, const QString& title, MessageIcon icon,
                       MessageButtons buttons) override;

private:
    QWidget* m_parent;
};

} // namespace velmora
