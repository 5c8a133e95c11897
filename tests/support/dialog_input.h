// Input to a dialog built from a template, as a user gives it: typed text, button presses and
// clicks on check boxes and radio buttons.
#pragma once

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "framework/template_dialog.h"

namespace daybrook::testing {

// Types each character as a key press carrying that text, as a keyboard or input method does.
inline void type(TemplateDialog& dialog, int id, const QString& text) {
    for (QChar character : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(character));
        QCoreApplication::sendEvent(dialog.edit(id), &press);
    }
}

inline void press(TemplateDialog& dialog, int id) { dialog.button(id)->click(); }

inline void mark(TemplateDialog& dialog, int id) { qobject_cast<QAbstractButton*>(dialog.control(id))->click(); }

}  // namespace daybrook::testing
