// Message boxes: a text, a caption, an icon and one OK button (or Yes and No for a question),
// shown modally over a window.
// The window code shows them through this interface, so tests can record what was shown.
#pragma once

#include <QString>

class QWidget;

namespace daybrook {

enum class MessageIcon { none, exclamation, stop };

struct Message {
    QString text;
    QString caption;
    MessageIcon icon = MessageIcon::none;
    friend bool operator==(const Message&, const Message&) = default;
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual void show(QWidget* owner, const Message& message) = 0;
    // Asks a question with Yes and No, No the default; true for Yes.
    virtual bool ask(QWidget* owner, const Message& message) = 0;
};

// The real boxes, QMessageBox with a single OK button, or Yes and No.
class QtMessageBoxes final : public MessageBoxes {
public:
    void show(QWidget* owner, const Message& message) override;
    bool ask(QWidget* owner, const Message& message) override;
};

}  // namespace daybrook
