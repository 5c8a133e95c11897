// Message boxes that are recorded instead of shown, so a test can check what a user would see.
// A question is answered from `answers`, in order, and with No once they run out.
#pragma once

#include <vector>

#include "framework/message_boxes.h"

namespace daybrook::testing {

class RecordingMessageBoxes final : public MessageBoxes {
public:
    void show(QWidget*, const Message& message) override { shown.push_back(message); }
    bool ask(QWidget*, const Message& message) override {
        shown.push_back(message);
        if (answers.empty()) return false;
        const bool answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }

    std::vector<Message> shown;
    std::vector<bool> answers;
};

}  // namespace daybrook::testing
