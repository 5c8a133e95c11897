// TemplateDialog: a Qt dialog built from a dialog template. Dialog units become pixels through
// the dialog font (a quarter of the average letter width across, an eighth of the line height
// down). Subclasses find their controls by id and route command ids to handlers in one table;
// id 2 and the close box end the dialog cancelled unless routed elsewhere. Enter means id 1
// unless the template names a default button, or another button has the keyboard. F1 presses
// the dialog's Help button. Every control a user can operate carries an accessible name, its
// own text or the spoken name its template gives it, and radio buttons a group name as well.
#pragma once

#include <QDialog>

#include <functional>
#include <map>

#include "framework/dialog_template.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace daybrook {

class TemplateDialog : public QDialog {
    Q_OBJECT
public:
    TemplateDialog(const DialogTemplate& layout, QWidget* parent);

    QWidget* control(int id) const;
    QLineEdit* edit(int id) const;
    QCheckBox* check_box(int id) const;
    QRadioButton* radio_button(int id) const;
    QPushButton* button(int id) const;
    QLabel* static_text(int id) const;
    QListWidget* list_box(int id) const;

    // Changes a static text; a wrapped one takes the lines the new text needs.
    void set_static_text(int id, const QString& text);

    // Runs the handler of a command id, as a press of its button does.
    void command(int id);
    // Whether the dialog has ended, accepted or cancelled.
    bool has_ended() const { return m_ended; }

    void done(int result) override;

protected:
    using Handler = std::function<void()>;
    void route(int id, Handler handler) { m_handlers[id] = std::move(handler); }
    // Routes the Help button, which F1 then presses from anywhere in the dialog.
    void route_help(int id, Handler handler);

    void keyPressEvent(QKeyEvent* event) override;

private:
    void build(const DialogTemplate& layout);
    QWidget* make_choice_group(const DialogTemplate& layout);
    void make_ok_the_default_if_none_is();
    void centre_on_screen();
    QWidget* make_control(const ControlTemplate& item, QWidget* parent);
    QRect pixels(const ControlTemplate& item) const;

    std::map<int, QWidget*> m_controls;
    std::map<int, Handler> m_handlers;
    double m_x_scale = 1.5;  // pixels per dialog unit
    double m_y_scale = 1.5;
    int m_help_id = no_id;
    bool m_ended = false;
};

}  // namespace daybrook
