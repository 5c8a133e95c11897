#include "dialogs/help_dlg.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

#include "resources/dialog_templates.h"
#include "store/entry_files.h"
#include "support/dialog_input.h"
#include "support/scripted_dialog_services.h"
#include "support/temp_dir.h"
#include "window/delete_command.h"
#include "window/new_entry_command.h"
#include "window/old_entries_command.h"
#include "window/search_command.h"
#include "window/start_date_command.h"

namespace daybrook {
namespace {

using testing::press;
using testing::type;
using Step = testing::ScriptedModalRunner::Step;

constexpr DayNumber today = 20793;

class Help : public ::testing::Test, protected testing::ScriptedDialogServices {
protected:
    testing::TempDir store;
    DiaryState state{.today = today};
};

enum class Asking { help_button, f1_key };

// Asks for help, by the Help button or by F1 in the control that has the keyboard, with
// something typed or chosen; closes the help that opens and checks the dialog is as the user
// left it.
Step ask_for_help(Asking how, int help_id, std::function<void(TemplateDialog&)> prepare,
                  std::function<bool(TemplateDialog&)> unchanged) {
    return [=](TemplateDialog& d) {
        prepare(d);
        if (how == Asking::help_button) press(d, help_id);
        else QTest::keyClick(d.focusWidget() ? d.focusWidget() : &d, Qt::Key_F1);
        EXPECT_FALSE(d.has_ended()) << d.windowTitle().toStdString();
        EXPECT_TRUE(unchanged(d)) << d.windowTitle().toStdString();
        press(d, id_cancel);
    };
}

Step close_help = [](TemplateDialog& help) { press(help, id_ok); };

TEST_F(Help, EveryHelpButtonAndF1OpenTheirOwnTopicAndLeaveTheDialogAsItWas) {
    ASSERT_EQ(add_entry(store.path(), today + 1, {.text = "dentist"}).error, StoreError::none);
    using Command = std::function<void()>;
    const auto typed_in = [](int id) {
        return std::pair{[id](TemplateDialog& d) { type(d, id, "1/2/"); },
                         [id](TemplateDialog& d) { return d.edit(id)->text() == "1/2/"; }};
    };
    struct Case {
        Command command;
        std::vector<Step> before;  // dialogs passed through on the way
        int help_id;
        std::pair<std::function<void(TemplateDialog&)>, std::function<bool(TemplateDialog&)>> state;
        QString help;
    };
    const Case cases[] = {
        {[&] { run_new_entry(nullptr, state, services, store.path()); }, {}, new_entry_ids::help,
         typed_in(new_entry_ids::date), "Help about New Entries"},
        {[&] { run_search(nullptr, state, services); }, {}, search_ids::help, typed_in(search_ids::word), "Search help"},
        {[&] { run_delete(nullptr, state, services, store.path()); }, {}, find_deletion_ids::help,
         typed_in(find_deletion_ids::text), "Help about Deletions"},
        {[&] { run_delete(nullptr, state, services, store.path()); },
         {[](TemplateDialog& d) {
             type(d, find_deletion_ids::text, "dentist");
             press(d, id_ok);
         }},
         deletion_choice_ids::help,
         {[](TemplateDialog& d) { d.list_box(deletion_choice_ids::lines)->item(0)->setSelected(true); },
          [](TemplateDialog& d) { return d.list_box(deletion_choice_ids::lines)->item(0)->isSelected(); }},
         "Select Deletion Help"},
        {[&] { run_start_date(nullptr, state, services); }, {}, start_date_ids::help, typed_in(start_date_ids::date),
         "Looking Ahead"},
        {[&] { run_old_entries(nullptr, state, services); }, {}, keep_time_ids::help,
         {[](TemplateDialog& d) { d.radio_button(104)->click(); },
          [](TemplateDialog& d) { return d.radio_button(104)->isChecked(); }},
         "Help on Retaining Entries"},
    };
    for (const Case& c : cases) {
        for (Asking how : {Asking::help_button, Asking::f1_key}) {
            SCOPED_TRACE(how == Asking::f1_key ? "F1" : "Help button");
            modal.captions.clear();
            modal.steps.assign(c.before.begin(), c.before.end());
            modal.steps.push_back(ask_for_help(how, c.help_id, c.state.first, c.state.second));
            modal.steps.push_back(close_help);
            c.command();
            EXPECT_TRUE(modal.steps.empty()) << c.help.toStdString();
            ASSERT_GE(modal.captions.size(), 2u);
            EXPECT_EQ(modal.captions.back(), c.help);
        }
    }
    EXPECT_TRUE(messages.shown.empty());
}

// The folder's text takes the lines a long path needs and still stays clear of the OK button.
TEST_F(Help, GeneralHelpNamesTheDiaryFolderItIsGiven) {
    for (const char* folder : {"/home/ann/.local/share/daybrook", "/home/ann/diary/../Diary ünd Notizen/",
                               "/media/a-rather-long-name-for-a-removable-disc/home/another-user-name/.local/share/daybrook"}) {
        SCOPED_TRACE(folder);
        const QString shown = QDir::cleanPath(QString::fromUtf8(folder));
        modal.steps.push_back([&](TemplateDialog& help) {
            EXPECT_EQ(help.windowTitle(), "General Help");
            const QLabel* text = help.static_text(general_help_folder_id);
            EXPECT_TRUE(text->text().contains(", " + shown + ", of the form")) << text->text().toStdString();
            EXPECT_TRUE(help.rect().contains(text->geometry()));
            EXPECT_FALSE(text->geometry().intersects(help.button(id_ok)->geometry()));
            press(help, id_ok);
        });
        show_general_help(services, nullptr, std::filesystem::path(folder));
        EXPECT_TRUE(modal.steps.empty());
    }
}

// Where a label's wrapped text is drawn, in dialog pixels: inside its frame and margin.
QRect drawn_text(const QLabel& label) {
    const int margin = label.margin();
    const QRect inside = label.contentsRect().marginsRemoved(QMargins(margin, margin, margin, margin));
    const QRect text = label.fontMetrics().boundingRect(inside, int(label.alignment()) | Qt::TextWordWrap, label.text());
    return text.translated(label.pos());
}

// Every text of every help and of the About box can be read whole: it fits its place, its place
// lies inside the dialog, and no two texts are drawn over each other.
TEST(HelpTexts, EveryTextFitsItsPlaceInsideItsDialog) {
    for (HelpTopic topic : {HelpTopic::new_entries, HelpTopic::deletions, HelpTopic::deletion_choice, HelpTopic::general,
                            HelpTopic::about, HelpTopic::looking_ahead, HelpTopic::search, HelpTopic::retaining}) {
        HelpDlg help(nullptr, topic);
        QList<QLabel*> texts = help.findChildren<QLabel*>();
        texts.removeIf([](const QLabel* label) { return label->text().isEmpty(); });
        for (qsizetype i = 0; i < texts.size(); ++i) {
            const std::string start = texts[i]->text().left(30).toStdString();
            EXPECT_TRUE(help.rect().contains(texts[i]->geometry())) << start;
            const int margin = texts[i]->margin();
            EXPECT_TRUE(texts[i]->contentsRect()
                            .marginsRemoved(QMargins(margin, margin, margin, margin))
                            .translated(texts[i]->pos())
                            .contains(drawn_text(*texts[i])))
                << start;
            for (qsizetype j = i + 1; j < texts.size(); ++j)
                EXPECT_FALSE(drawn_text(*texts[i]).intersects(drawn_text(*texts[j])))
                    << start << " / " << texts[j]->text().left(30).toStdString();
        }
    }
}

TEST(HelpTexts, TheAboutBoxShowsItsVersionLineAndTheTwoIcons) {
    HelpDlg about(nullptr, HelpTopic::about);
    EXPECT_EQ(about.windowTitle(), "About Daybrook");
    QStringList texts;
    int pictures = 0;
    for (const QLabel* label : about.findChildren<QLabel*>()) {
        texts << label->text();
        if (!label->pixmap().isNull()) ++pictures;
    }
    EXPECT_TRUE(texts.contains("Version 4.7.0  (February 2012)"));
    EXPECT_EQ(pictures, 2);
}

}  // namespace
}  // namespace daybrook
