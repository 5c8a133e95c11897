#include "framework/template_dialog.h"

#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <QTest>

#include <gtest/gtest.h>

#include <vector>

#include "resources/dialog_templates.h"
#include "resources/help_templates.h"

namespace daybrook {
namespace {

namespace ids = new_entry_ids;

TEST(TemplateDialog, BuildsNewDateWithItsLimitsRadioGroupAndDefaultButton) {
    TemplateDialog dialog(new_entry_template(), nullptr);
    EXPECT_EQ(dialog.windowTitle(), "New Date");
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "a fixed frame";
    EXPECT_EQ(dialog.font().pointSize(), 8);
    const std::pair<int, int> limits[] = {{ids::date, 23}, {ids::event, 60}, {ids::weeks, 2}, {ids::days, 2}};
    for (auto [id, limit] : limits) EXPECT_EQ(dialog.edit(id)->maxLength(), limit) << id;

    dialog.radio_button(ids::weekly)->click();
    dialog.radio_button(ids::daily)->click();
    EXPECT_FALSE(dialog.radio_button(ids::weekly)->isChecked()) << "one radio group";
    // The radio buttons stand where the template puts them in the dialog, whatever holds them:
    // Repeat Weekly for on the row of the weeks field.
    const QPoint weekly_centre = dialog.radio_button(ids::weekly)->rect().center();
    EXPECT_NEAR(dialog.radio_button(ids::weekly)->mapTo(&dialog, weekly_centre).y(),
                dialog.edit(ids::weeks)->geometry().center().y(), 2);
    EXPECT_TRUE(dialog.button(id_ok)->isDefault() || dialog.button(ids::confirm)->isDefault());

    // Dialog units scale with the font: OK and Confirm share a place at the bottom right.
    const QRect ok = dialog.button(id_ok)->geometry();
    EXPECT_EQ(ok, dialog.button(ids::confirm)->geometry());
    EXPECT_GT(ok.right(), dialog.width() * 3 / 4);
    EXPECT_LE(ok.right(), dialog.width());
    EXPECT_LE(ok.bottom(), dialog.height());
}

TEST(TemplateDialog, CancelAndUnroutedCommands) {
    TemplateDialog dialog(new_entry_template(), nullptr);
    dialog.command(ids::help);
    EXPECT_FALSE(dialog.has_ended()) << "a command without a handler does nothing";
    dialog.command(id_cancel);
    EXPECT_TRUE(dialog.has_ended());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

// Records the OK commands it is given.
class OkRecordingDialog : public TemplateDialog {
public:
    explicit OkRecordingDialog(const DialogTemplate& layout) : TemplateDialog(layout, nullptr) {
        route(id_ok, [this] { ++ok_commands; });
    }
    int ok_commands = 0;
};

TEST(TemplateDialog, EnterMeansOkWhereTheTemplateNamesNoDefaultButton) {
    OkRecordingDialog dialog(date_choice_template());
    dialog.show();
    QListWidget* list = dialog.list_box(date_choice_ids::dates);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(dialog.ok_commands, 1);
    EXPECT_FALSE(dialog.has_ended()) << "Enter must not cancel";
}

// A screen reader can name every control a user can operate, in every dialog and help: by its
// own text, or by the spoken name its template gives a field or list; radio buttons stand in a
// group that it names too.
TEST(TemplateDialog, EveryControlAUserOperatesHasAnAccessibleName) {
    std::vector<const DialogTemplate*> layouts = {
        &new_entry_template(),  &search_template(),    &find_deletion_template(),
        &deletion_choice_template(), &start_date_template(), &keep_time_template(),
        &warn_delete_template(), &date_choice_template(), &ahead_date_template()};
    for (HelpTopic topic : {HelpTopic::new_entries, HelpTopic::deletions, HelpTopic::deletion_choice, HelpTopic::general,
                            HelpTopic::about, HelpTopic::looking_ahead, HelpTopic::search, HelpTopic::retaining})
        layouts.push_back(&help_template(topic));
    for (const DialogTemplate* layout : layouts) {
        TemplateDialog dialog(*layout, nullptr);
        int operable = 0;
        for (QWidget* control : dialog.findChildren<QWidget*>()) {
            auto* group = qobject_cast<QGroupBox*>(control->parentWidget());
            if (control->parentWidget() != &dialog && !group) continue;  // a part of a control
            if (qobject_cast<QLabel*>(control)) continue;  // a text is read as what it says
            if (qobject_cast<QRadioButton*>(control)) {
                EXPECT_NE(group, nullptr) << dialog.windowTitle().toStdString() << ": a radio button outside a group";
            }
            ++operable;
            QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(control);
            ASSERT_NE(spoken, nullptr);
            EXPECT_FALSE(spoken->text(QAccessible::Name).trimmed().isEmpty())
                << dialog.windowTitle().toStdString() << ": " << control->metaObject()->className();
        }
        EXPECT_GT(operable, 0) << dialog.windowTitle().toStdString();
    }
}

}  // namespace
}  // namespace daybrook
