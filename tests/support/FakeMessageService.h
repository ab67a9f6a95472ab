#pragma once

#include "platform/MessageService.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace velmora::test {

// Records every message and answers from a queue. Leftover answers fail the test:
// a scripted answer that was never asked for means an expected message did not appear.
class FakeMessageService : public MessageService {
public:
    struct Message {
        QString text;
        QString title;
        MessageIcon icon;
        MessageButtons buttons = MessageButtons::Ok;
        bool operator==(const Message&) const = default;
        friend void PrintTo(const Message& m, std::ostream* os) {
            *os << '"' << m.text.toStdString() << "\" (" << m.title.toStdString() << ", icon " << int(m.icon)
                << ", buttons " << int(m.buttons) << ')';
        }
    };

    ~FakeMessageService() override {
        EXPECT_TRUE(m_answers.empty()) << m_answers.size() << " scripted answer(s) never used";
    }

    void queueAnswer(MessageAnswer answer) { m_answers.push_back(answer); }

    MessageAnswer show(const QString& text, const QString& title, MessageIcon icon,
                       MessageButtons buttons) override {
        messages.push_back({text, title, icon, buttons});
        if (m_answers.empty())
            return buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel
                       ? MessageAnswer::Yes
                       : MessageAnswer::Ok;
        const MessageAnswer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }

    // The text of the one message shown (empty when none), its title, icon and buttons checked.
    QString only(const QString& title, MessageIcon icon, MessageButtons buttons = MessageButtons::Ok) const {
        if (messages.empty())
            return QString();
        EXPECT_EQ(messages.size(), 1u) << texts().join(u'|').toStdString();
        EXPECT_EQ(messages[0].title, title);
        EXPECT_EQ(messages[0].icon, icon);
        EXPECT_EQ(messages[0].buttons, buttons);
        return messages[0].text;
    }

    QStringList texts() const {
        QStringList out;
        for (const auto& m : messages)
            out << m.text;
        return out;
    }

    std::vector<Message> messages;

private:
    std::deque<MessageAnswer> m_answers;
};

// A refusal (InvalidValue) as the user is told it: its text, with its title and icon checked;
// empty when `result` is no failure.
template <typename R> QString refusalText(const R& result, const QString& title, MessageIcon icon) {
    if (result.ok())
        return QString();
    EXPECT_EQ(result.error().number, ErrorCode::InvalidValue) << result.error().description.toStdString();
    FakeMessageService shown;
    shown.tell(result.error());
    return shown.only(title, icon);
}

} // namespace velmora::test
