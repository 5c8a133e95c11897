// Runs dialogs by script instead of by hand: each dialog that would be shown modally gets the
// next step, which types and presses in it as a user would; nested dialogs take the steps after.
#pragma once

#include <QDialog>

#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "framework/modal_runner.h"
#include "framework/template_dialog.h"

namespace daybrook::testing {

class ScriptedModalRunner final : public ModalRunner {
public:
    using Step = std::function<void(TemplateDialog&)>;

    bool run(TemplateDialog& dialog) override {
        captions.push_back(dialog.windowTitle());
        if (steps.empty()) {
            ADD_FAILURE() << "no step scripted for the dialog " << dialog.windowTitle().toStdString();
            return false;
        }
        const Step step = std::move(steps.front());
        steps.pop_front();
        dialog.show();  // shown as a modal run shows it; ending the dialog hides it
        step(dialog);
        // A dialog the step left open is closed, as if by its close box.
        if (!dialog.has_ended()) dialog.reject();
        accepted.push_back(dialog.result() == QDialog::Accepted);
        return accepted.back();
    }

    std::deque<Step> steps;
    std::vector<QString> captions;  // the dialogs run, in the order they were opened
    std::vector<bool> accepted;     // how they ended, in the order they ended
};

}  // namespace daybrook::testing
