#include "window/new_entry_command.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "dialogs/simple_dlg.h"
#include "resources/dialog_templates.h"
#include "store/entry_files.h"
#include "support/dialog_input.h"
#include "support/scripted_dialog_services.h"
#include "support/stored_entry.h"
#include "support/temp_dir.h"

namespace daybrook {
namespace {

namespace ids = new_entry_ids;
using testing::mark;
using testing::press;
using testing::type;
using testing::ScriptedModalRunner;
using testing::TempDir;
using Step = ScriptedModalRunner::Step;

constexpr DayNumber today = 20793;  // Sunday 6 December 2026


// A step that fills the New Date dialog with a date and memo and presses Enter in the memo.
Step fill(QString date, QString memo, std::function<void(TemplateDialog&)> also = {}) {
    return [=](TemplateDialog& dialog) {
        type(dialog, ids::date, date);
        type(dialog, ids::event, memo);
        if (also) also(dialog);
        QTest::keyClick(dialog.edit(ids::event), Qt::Key_Return);
    };
}

class NewEntry : public ::testing::Test, protected testing::ScriptedDialogServices {
protected:
    // Runs New Entry by the steps; returns whether New Date, the last dialog to end, was accepted.
    bool run(std::initializer_list<Step> steps) {
        modal.steps.insert(modal.steps.end(), steps);
        modal.accepted.clear();
        run_new_entry(nullptr, state, services, store.path());
        EXPECT_TRUE(modal.steps.empty()) << "not every scripted step was used";
        return !modal.accepted.empty() && modal.accepted.back();
    }
    // The dates of the entries in the store, in file-name order, which is day and slot order.
    std::vector<std::string> dates() const {
        std::vector<std::string> result;
        for (const std::string& name : list_entry_files(store.path())) result.push_back(read_entry(store.path(), name)->date);
        return result;
    }

    TempDir store;
    DiaryState state{.today = today};
};

TEST_F(NewEntry, APlainDateWritesOneCompleteRecordInTheLowestFreeSlot) {
    testing::put_entry(store.path(), "DAT20823.000", {.text = "a"});
    testing::put_entry(store.path(), "DAT20823.002", {.text = "c"});
    EXPECT_TRUE(run({fill("05/01/27", "Dentist \u00a35", [](TemplateDialog& d) { mark(d, ids::red_letter); })}));
    const std::optional<EntryRecord> entry = read_entry(store.path(), "DAT20823.001");
    ASSERT_TRUE(entry);
    EXPECT_EQ(*entry, (EntryRecord{"Dentist \xa3" "5", "05/01/27", "DAT20823.001", 0, 1}));
    EXPECT_EQ(std::filesystem::file_size(store / "DAT20823.001"), 111u);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(state.view.page_mode, PageMode::week);
}

TEST_F(NewEntry, WeeklyAndDailyRepeatsOfAPlainDate) {
    run({fill("05/01/27", "weekly", [](TemplateDialog& d) { mark(d, ids::weekly); type(d, ids::weeks, "3"); })});
    EXPECT_EQ(dates(), (std::vector<std::string>{"05/01/27", "12/01/27", "19/01/27"}));

    for (const std::string& name : store.names()) std::filesystem::remove(store / name);
    run({fill("05/01/27", "daily", [](TemplateDialog& d) { mark(d, ids::daily); type(d, ids::days, "3"); })});
    EXPECT_EQ(dates(), (std::vector<std::string>{"05/01/27", "06/01/27", "07/01/27"}));
}

TEST_F(NewEntry, AWeeksCountIsIgnoredUnlessWeeklyRepeatsAreMarked) {
    run({fill("05/01/27", "once", [](TemplateDialog& d) { type(d, ids::weeks, "5"); })});
    EXPECT_EQ(dates(), std::vector<std::string>{"05/01/27"});
}

TEST_F(NewEntry, RefusalsKeepTheDialogOpenUntilTheUserPutsThingsRight) {
    run({[](TemplateDialog& d) {
        type(d, ids::event, "yearly dinner");
        mark(d, ids::weekly);
        press(d, id_ok);  // no date
        type(d, ids::date, "29/02/28");
        mark(d, ids::yearly);
        press(d, id_ok);  // a yearly 29 February
        mark(d, ids::yearly);
        press(d, id_ok);  // no number of weeks
        type(d, ids::weeks, "2");
        press(d, id_ok);
    }});
    EXPECT_EQ(captions(), (std::vector<QString>{"Date Format Error", "Leap Year Error", "Missing Data"}));
    EXPECT_EQ(messages.shown[0].text, "Invalid Date - '/' missing");
    EXPECT_EQ(messages.shown[1].icon, MessageIcon::exclamation);
    EXPECT_EQ(messages.shown[2].text, "You have asked for weekly repeats but have not said how many!");
    EXPECT_EQ(dates(), (std::vector<std::string>{"29/02/28", "07/03/28"}));
    EXPECT_EQ(read_entry(store.path(), list_entry_files(store.path())[0])->yearly, 0);
}

TEST_F(NewEntry, DatesTheDiaryRefusesAreExplained) {
    struct Case { const char* typed; const char* message; };
    for (const Case& c : {Case{"12/5", "Invalid Date - '/' missing"}, Case{"0", "Invalid Date - '/' missing"},
                          Case{"05/12/26", "The date given has already past!"}, Case{"12/05/2027", "The year given is invalid"},
                          Case{"31/04/27", "The day given is invalid"}}) {
        messages.shown.clear();
        EXPECT_FALSE(run({fill(c.typed, "memo")})) << c.typed;
        ASSERT_EQ(messages.shown.size(), 1u) << c.typed;
        EXPECT_EQ(messages.shown[0], (Message{c.message, "Date Format Error", MessageIcon::none})) << c.typed;
    }
    EXPECT_TRUE(dates().empty());
}

TEST_F(NewEntry, YearlyRepeatsAreKeptOnEveryWeeklyOccurrence) {
    run({fill("05/01/27", "club", [](TemplateDialog& d) {
        mark(d, ids::yearly);
        mark(d, ids::weekly);
        type(d, ids::weeks, "4");
    })});
    ASSERT_EQ(dates().size(), 4u);
    for (const std::string& name : list_entry_files(store.path())) EXPECT_EQ(read_entry(store.path(), name)->yearly, 1);
}

TEST_F(NewEntry, BlankMemosAreRefusedAndTheEventFieldTakesOnlyWhatARecordCanHold) {
    run({[](TemplateDialog& d) {
        type(d, ids::date, "05/01/27");
        type(d, ids::event, "   ...");
        press(d, id_ok);
        EXPECT_EQ(d.focusWidget(), d.edit(ids::event));
        d.edit(ids::event)->setText(QString::fromUtf8("Tea \u2192 Zo\u00eb"));  // set, not typed: not checked
        press(d, id_ok);
        d.edit(ids::event)->clear();
        type(d, ids::event, QString::fromUtf8("\u65e5\u8a18\u00a35"));  // the CJK characters are refused
        type(d, ids::event, QString(70, 'x'));
        press(d, id_ok);
    }});
    EXPECT_EQ(captions(), (std::vector<QString>{"Entry Missing", "Entry Error"}));
    ASSERT_EQ(dates().size(), 1u);
    EXPECT_EQ(read_entry(store.path(), "DAT20823.000")->text, "\xa3" "5" + std::string(58, 'x'));
}

// The choice list of "tue" on Sunday 6 December 2026 takes its first, third and fourth lines,
// with OK or with a double-click on the last of them.
Step choose_tuesdays(std::vector<std::string>* lines = nullptr, bool double_click = false) {
    return [=](TemplateDialog& d) {
        QListWidget* list = d.list_box(102);
        if (lines)
            for (int row = 0; row < list->count(); ++row) lines->push_back(list->item(row)->text().toStdString());
        for (int row : {0, 2, 3}) list->item(row)->setSelected(true);
        if (double_click)
            emit list->itemDoubleClicked(list->item(3));
        else
            press(d, id_ok);
    };
}

TEST_F(NewEntry, ADayNameOffersTwentyDatesAndConfirmWritesEachChosenOne) {
    std::vector<std::string> lines;
    QString shown_date;
    run({fill("tue", "choir", [](TemplateDialog& d) { mark(d, ids::daily); type(d, ids::days, "2"); }),
         choose_tuesdays(&lines)});
    // The first press stops in the confirm state: the script closed the dialog there.
    EXPECT_EQ(modal.captions, (std::vector<QString>{"New Date", "Which Date"}));
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(lines.front(), "Tuesday 8 December (08/12/26)");
    EXPECT_EQ(lines.back(), "Tuesday 20 April (20/04/27)");
    EXPECT_TRUE(dates().empty()) << "nothing is written before Confirm";

    run({[&](TemplateDialog& d) {
             type(d, ids::date, "Tuesday");
             type(d, ids::event, "choir");
             mark(d, ids::daily);
             type(d, ids::days, "2");
             press(d, id_ok);
             auto& dialog = static_cast<SimpleDlg&>(d);
             EXPECT_TRUE(dialog.in_confirm_state());
             EXPECT_FALSE(d.button(id_ok)->isVisibleTo(&d));
             EXPECT_TRUE(d.button(ids::confirm)->isVisibleTo(&d));
             EXPECT_FALSE(d.control(ids::yearly)->isVisibleTo(&d));
             shown_date = d.edit(ids::date)->text();
             QTest::keyClick(d.edit(ids::event), Qt::Key_Return);
         },
         choose_tuesdays(nullptr, true)});
    EXPECT_EQ(shown_date, "08/12/26");
    EXPECT_EQ(dates(), (std::vector<std::string>{"08/12/26", "09/12/26", "22/12/26", "23/12/26", "29/12/26",
                                                 "30/12/26"}));
}

TEST_F(NewEntry, AnUnknownDayNameOrACancelledChoiceEmptiesTheDateField) {
    QString after_unknown = "unchanged", after_cancel = "unchanged";
    run({[&](TemplateDialog& d) {
             type(d, ids::event, "memo");
             type(d, ids::date, "tues.");
             press(d, id_ok);
             after_unknown = d.edit(ids::date)->text();
             type(d, ids::date, "th");
             press(d, id_ok);
             after_cancel = d.edit(ids::date)->text();
             EXPECT_FALSE(static_cast<SimpleDlg&>(d).in_confirm_state());
         },
         [](TemplateDialog& choice) {
             press(choice, id_ok);  // nothing selected
             EXPECT_FALSE(choice.has_ended());
             press(choice, id_cancel);
         }});
    EXPECT_EQ(after_unknown, "");
    EXPECT_EQ(after_cancel, "");
    EXPECT_EQ(captions(), (std::vector<QString>{"Data Error", "Missing data"}));
    EXPECT_EQ(messages.shown[1].text, "You have not selected a date!  Use 'Cancel' if you do not wish to!");
    EXPECT_TRUE(dates().empty());
}

TEST_F(NewEntry, DaysAheadCountFromTheClocksDateAndAreConfirmedFirst) {
    clock.set({2026, 12, 8, 0, 5});  // the diary has stayed open past midnight twice
    QString shown;
    run({fill("+5", "parcel"), [&](TemplateDialog& ahead) {
             shown = ahead.static_text(102)->text();
             press(ahead, id_ok);
         }});
    EXPECT_EQ(shown, "13/12/26");
    EXPECT_TRUE(dates().empty()) << "the script left New Date in its confirm state";

    run({[](TemplateDialog& d) {
             type(d, ids::date, "14");
             type(d, ids::event, "parcel");
             press(d, id_ok);
             mark(d, ids::daily);
             type(d, ids::days, "9");  // set after the first press, so no limit applies
             press(d, ids::confirm);
         },
         [](TemplateDialog& ahead) { press(ahead, id_ok); }});
    ASSERT_EQ(dates().size(), 9u);
    EXPECT_EQ(dates().front(), "22/12/26");
}

TEST_F(NewEntry, DaysAheadRefusalsAndTheSevenDayLimit) {
    run({[](TemplateDialog& d) {
             type(d, ids::event, "memo");
             type(d, ids::date, "-3");
             press(d, id_ok);
             type(d, ids::date, "9999");
             press(d, id_ok);
             type(d, ids::date, "3");
             mark(d, ids::daily);
             type(d, ids::days, "8");
             press(d, id_ok);  // the date is taken, then the day count refused
             EXPECT_TRUE(static_cast<SimpleDlg&>(d).in_confirm_state());
         },
         [](TemplateDialog& ahead) { press(ahead, id_ok); }});
    EXPECT_EQ(captions(), (std::vector<QString>{"Ahead error", "Ahead error", "Too Many Repeats"}));
    EXPECT_EQ(messages.shown[0].text, "Must be at least 1 day ahead!");
    EXPECT_EQ(messages.shown[2].icon, MessageIcon::exclamation);
    EXPECT_TRUE(dates().empty());
}

TEST_F(NewEntry, ConfirmNeverWritesATextThatIsNotADate) {
    run({[](TemplateDialog& d) {
             type(d, ids::date, "1");
             type(d, ids::event, "memo");
             press(d, id_ok);
             d.edit(ids::date)->clear();
             type(d, ids::date, "31/02/27");
             press(d, ids::confirm);
             EXPECT_FALSE(d.has_ended());
             press(d, id_cancel);
         },
         [](TemplateDialog& ahead) { press(ahead, id_ok); }});
    EXPECT_EQ(captions(), std::vector<QString>{"Date Format Error"});
    EXPECT_TRUE(dates().empty());
}

TEST_F(NewEntry, NothingIsWrittenPastTheLastDayOfTheDiary) {
    EXPECT_FALSE(run({[](TemplateDialog& d) {
        type(d, ids::date, "25/12/50");
        type(d, ids::event, "end");
        mark(d, ids::weekly);
        type(d, ids::weeks, "2");
        press(d, id_ok);
        EXPECT_FALSE(d.has_ended());
    }}));
    EXPECT_EQ(messages.shown, (std::vector<Message>{{"The repeats would run past 31/12/50, the last date the diary holds!",
                                                      "Too Many Repeats", MessageIcon::exclamation}}));
    EXPECT_TRUE(dates().empty());
}

// A request that would overfill a day is refused before anything is written, with the dialog
// left open as filled, in either state; the user may then choose days with room.
TEST_F(NewEntry, AFullDayKeepsTheDialogOpenWithWhatWasTyped) {
    for (int slot = 0; slot < 10; ++slot)
        testing::put_entry(store.path(), entry_file_name(20823, slot), {.text = "x"});
    ASSERT_EQ(add_entry(store.path(), 20822, {.text = "x"}).error, StoreError::none);
    const auto refused = [&](TemplateDialog& d) {
        EXPECT_FALSE(d.has_ended());
        EXPECT_EQ(d.edit(ids::event)->text(), "two days");
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].caption, "Day Full");
        EXPECT_TRUE(messages.shown[0].text.contains("05/01/27")) << messages.shown[0].text.toStdString();
        EXPECT_FALSE(messages.shown[0].text.contains("04/01/27")) << "04/01/27 has room";
        messages.shown.clear();
    };
    EXPECT_TRUE(run({[&](TemplateDialog& d) {
        type(d, ids::date, "04/01/27");
        type(d, ids::event, "two days");
        mark(d, ids::daily);
        type(d, ids::days, "2");
        press(d, id_ok);
        refused(d);
        d.edit(ids::date)->clear();
        type(d, ids::date, "06/01/27");
        press(d, id_ok);
    }}));
    EXPECT_EQ(dates().size(), 13u);
    EXPECT_FALSE(store.exists("DAT20823.010"));

    // 30 days ahead of 6 December is 05/01/27; the short form is refused at Confirm.
    EXPECT_FALSE(run({[&](TemplateDialog& d) {
                          type(d, ids::date, "30");
                          type(d, ids::event, "two days");
                          press(d, id_ok);
                          press(d, ids::confirm);
                          refused(d);
                          press(d, id_cancel);
                      },
                      [](TemplateDialog& check) { press(check, id_ok); }}));
    EXPECT_EQ(dates().size(), 13u);
}

}  // namespace
}  // namespace daybrook
