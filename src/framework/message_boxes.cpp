#include "framework/message_boxes.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace daybrook {
namespace {

QMessageBox::Icon qt_icon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::exclamation: return QMessageBox::Warning;
    case MessageIcon::stop: return QMessageBox::Critical;
    case MessageIcon::none: break;
    }
    return QMessageBox::NoIcon;
}

// Wide enough for its caption to show in full on the title bar.
void widen(QMessageBox& box) {
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(280, 0, QSizePolicy::Minimum, QSizePolicy::Expanding), grid->rowCount(), 0, 1,
                      grid->columnCount());
}

}  // namespace

void QtMessageBoxes::show(QWidget* owner, const Message& message) {
    QMessageBox box(qt_icon(message.icon), message.caption, message.text, QMessageBox::Ok, owner);
    widen(box);
    box.exec();
}

bool QtMessageBoxes::ask(QWidget* owner, const Message& message) {
    QMessageBox box(qt_icon(message.icon), message.caption, message.text, QMessageBox::Yes | QMessageBox::No, owner);
    box.setDefaultButton(QMessageBox::No);
    widen(box);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace daybrook
