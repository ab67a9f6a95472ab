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
        MessageButtons buttons;
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

} // namespace velmora::test
