#include "framework/message_boxes.h"

#include <QMessageBox>

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

}  // namespace

void QtMessageBoxes::show(QWidget* owner, const Message& message) {
    QMessageBox box(qt_icon(message.icon), message.caption, message.text, QMessageBox::Ok, owner);
    box.exec();
}

}  // namespace daybrook
