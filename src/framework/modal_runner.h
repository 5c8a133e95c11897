// Running a dialog modally. The dialogs run their nested dialogs through this interface, so a
// test can script what the user does in each nested step without blocking.
#pragma once

namespace daybrook {

class TemplateDialog;

class ModalRunner {
public:
    virtual ~ModalRunner() = default;
    // Shows the dialog and waits until it ends; true when it ended accepted.
    virtual bool run(TemplateDialog& dialog) = 0;
};

class QtModalRunner final : public ModalRunner {
public:
    bool run(TemplateDialog& dialog) override;
};

}  // namespace daybrook
