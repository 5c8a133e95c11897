// What a command's dialogs run on in a test: a clock at 10:00 on Sunday 6 December 2026,
// message boxes that are recorded and a modal runner that plays scripted steps. A test fixture
// derives from it to have all three under the names the tests use.
#pragma once

#include <QString>

#include <vector>

#include "framework/dialog_services.h"
#include "support/fake_clock.h"
#include "support/recording_message_boxes.h"
#include "support/scripted_modal_runner.h"

namespace daybrook::testing {

struct ScriptedDialogServices {
    // The captions of the message boxes shown so far, in order.
    std::vector<QString> captions() const {
        std::vector<QString> result;
        for (const Message& message : messages.shown) result.push_back(message.caption);
        return result;
    }

    FakeClock clock{{2026, 12, 6, 10, 0}};
    RecordingMessageBoxes messages;
    ScriptedModalRunner modal;
    DialogServices services{modal, messages, clock};
};

}  // namespace daybrook::testing
