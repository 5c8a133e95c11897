// What a dialog works with besides its own controls: nested modal runs, message boxes and the
// clock. The program passes the real ones, tests their scripted doubles.
#pragma once

#include "calendar/clock.h"
#include "framework/message_boxes.h"
#include "framework/modal_runner.h"

namespace daybrook {

struct DialogServices {
    ModalRunner& modal;
    MessageBoxes& messages;
    const Clock& clock;
};

}  // namespace daybrook
