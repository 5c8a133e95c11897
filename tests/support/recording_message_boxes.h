// Message boxes that are recorded instead of shown, so a test can check what a user would see.
#pragma once

#include <vector>

#include "framework/message_boxes.h"

namespace daybrook::testing {

class RecordingMessageBoxes final : public MessageBoxes {
public:
    void show(QWidget*, const Message& message) override { shown.push_back(message); }

    std::vector<Message> shown;
};

}  // namespace daybrook::testing
