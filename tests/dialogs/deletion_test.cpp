#include "window/delete_command.h"

#include <QApplication>
#include <QImage>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "resources/dialog_templates.h"
#include "store/entry_files.h"
#include "store/memo.h"
#include "support/dialog_input.h"
#include "support/environment_guard.h"
#include "support/permissions_bite.h"
#include "support/scripted_dialog_services.h"
#include "support/stored_entry.h"
#include "support/temp_dir.h"

namespace daybrook {
namespace {

namespace find = find_deletion_ids;
namespace choice = deletion_choice_ids;
using testing::mark;
using testing::press;
using testing::type;
using Step = testing::ScriptedModalRunner::Step;

constexpr DayNumber today = 20793;  // Sunday 6 December 2026

// Fills "Find Entry for Deletion" and presses Search.
Step find_text(QString text, bool by_date = false, bool match_case = false) {
    return [=](TemplateDialog& d) {
        type(d, find::text, text);
        if (by_date) mark(d, find::date);
        if (match_case) mark(d, find::match_case);
        press(d, id_ok);
    };
}

std::string file_bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> lines_of(TemplateDialog& d) {
    std::vector<std::string> lines;
    const QListWidget* list = d.list_box(choice::lines);
    for (int row = 0; row < list->count(); ++row) lines.push_back(list->item(row)->text().toStdString());
    return lines;
}

// Clicks a line of the list, with Ctrl or Shift to extend the choice as a user does.
void click_line(TemplateDialog& d, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QListWidget* list = d.list_box(choice::lines);
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, list->visualItemRect(list->item(row)).center());
}

// Chooses the lines and presses Delete; the lines shown are kept in `shown` when asked for.
Step delete_lines(std::vector<int> rows, std::vector<std::string>* shown = nullptr) {
    return [=](TemplateDialog& d) {
        if (shown) *shown = lines_of(d);
        for (int row : rows) d.list_box(choice::lines)->item(row)->setSelected(true);
        press(d, id_ok);
    };
}

class Deletion : public ::testing::Test, protected testing::ScriptedDialogServices {
protected:
    void run(std::initializer_list<Step> steps) {
        modal.steps.insert(modal.steps.end(), steps);
        run_delete(nullptr, state, services, store.path());
        EXPECT_TRUE(modal.steps.empty()) << "not every scripted step was used";
        EXPECT_EQ(state.view.page_mode, PageMode::week) << "the week page follows every deletion";
    }
    void put(DayNumber day, int slot, std::string text) {
        testing::put_entry(store.path(), entry_file_name(day, slot), Memo(std::move(text)).date(day_to_date(day)));
    }
    std::vector<std::string> entries() const { return list_entry_files(store.path()); }

    testing::TempDir store;
    DiaryState state{.today = today, .view = {.page_mode = PageMode::search_results, .start_day = today + 7}};
};

TEST_F(Deletion, AKeyWordListsDateAndTextAndDeletesTheChosenLines) {
    put(today + 1, 0, "Dentist 10am");
    put(today + 2, 3, "see DENTIST");
    put(today + 3, 0, "Haircut");
    put(today + 4, 1, "dentist again");
    std::vector<std::string> shown;
    run({find_text("dentist"), [&](TemplateDialog& d) {
             shown = lines_of(d);
             click_line(d, 0);
             click_line(d, 2, Qt::ControlModifier);
             press(d, id_ok);
         }});
    EXPECT_EQ(shown, (std::vector<std::string>{"07/12/26  Dentist 10am", "08/12/26  see DENTIST",
                                               "10/12/26  dentist again"}));
    EXPECT_EQ(entries(), (std::vector<std::string>{"DAT20795.003", "DAT20796.000"}));
    EXPECT_FALSE(store.exists("TEMPDAT.000")) << "the list's scratch files go with it";
    EXPECT_EQ(state.view.start_day, today + 7) << "the week shown before";
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Deletion, ADateListsItsEntriesNumberedInSlotOrderAndADoubleClickDeletesOne) {
    for (int slot : {0, 2, 3}) put(today + 1, slot, "slot " + std::to_string(slot));
    std::vector<std::string> shown;
    run({find_text("07/12/26", true), [&](TemplateDialog& d) {
             shown = lines_of(d);
             QListWidget* list = d.list_box(choice::lines);
             list->item(1)->setSelected(true);
             emit list->itemDoubleClicked(list->item(1));
         }});
    EXPECT_EQ(shown, (std::vector<std::string>{"1. 07/12/26  slot 0", "2. 07/12/26  slot 2", "3. 07/12/26  slot 3"}));
    EXPECT_EQ(entries(), (std::vector<std::string>{"DAT20794.000", "DAT20794.003"}));

    run({find_text("08/12/26", true), delete_lines({0}, &shown)});
    EXPECT_EQ(shown, std::vector<std::string>{"No entries for this date"});
    EXPECT_EQ(entries().size(), 2u) << "the line of an empty list deletes nothing";
}

TEST_F(Deletion, NoLineOrMoreThanFiftyAreRefusedAndFiftyGoAtOnce) {
    for (int day = 1; day <= 6; ++day)
        for (int slot = 0; slot < 10; ++slot) put(today + day, slot, "memo");
    run({find_text("memo"), [](TemplateDialog& d) {
             QTest::mouseClick(d.button(id_ok), Qt::LeftButton);  // nothing chosen
             QListWidget* list = d.list_box(choice::lines);
             for (int row = 0; row < 51; ++row) list->item(row)->setSelected(true);
             press(d, id_ok);
             EXPECT_FALSE(d.has_ended());
             list->item(50)->setSelected(false);
             press(d, id_ok);
         }});
    EXPECT_EQ(captions(), (std::vector<QString>{"Selection Error", "Too many selections"}));
    EXPECT_EQ(messages.shown[1].icon, MessageIcon::exclamation);
    EXPECT_EQ(entries().size(), 10u);
}

// Whether a dotted frame marks the line: dark dots down its left edge.
bool marked_as_focused(QListWidget& list, int row) {
    const QImage picture = list.viewport()->grab().toImage();
    const QRect line = list.visualItemRect(list.item(row));
    int dark = 0;
    for (int y = line.top(); y <= line.bottom(); ++y) dark += qGray(picture.pixel(line.left(), y)) < 100;
    return dark >= line.height() / 3;
}

// By keyboard: the first line has the keyboard, marked but not chosen; Space chooses the line
// the keyboard is on, Ctrl and the arrows move it without choosing, and Enter takes the chosen
// lines or, with none chosen, the line the keyboard is on.
TEST_F(Deletion, EnterTakesTheChosenLinesOrElseTheLineTheKeyboardIsOn) {
    struct Key {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    };
    struct Case {
        const char* what;
        std::vector<std::string> memos;
        std::vector<Key> keys;
        std::vector<std::string> left;
    };
    const Case cases[] = {
        {"one match", {"plum"}, {}, {}},
        {"the keyboard moved on", {"plum", "plum tart", "plum pie"}, {{Qt::Key_Down, Qt::ControlModifier}},
         {"DAT20794.000", "DAT20796.000"}},
        {"a line chosen, the keyboard elsewhere", {"plum", "plum tart", "plum pie"},
         {{Qt::Key_Space}, {Qt::Key_Down, Qt::ControlModifier}, {Qt::Key_Down, Qt::ControlModifier}},
         {"DAT20795.000", "DAT20796.000"}},
        {"two lines chosen", {"plum", "plum tart", "plum pie"},
         {{Qt::Key_Space}, {Qt::Key_Down, Qt::ControlModifier}, {Qt::Key_Down, Qt::ControlModifier},
          {Qt::Key_Space, Qt::ControlModifier}},
         {"DAT20795.000"}},
    };
    for (const Case& c : cases) {
        for (std::size_t day = 0; day < c.memos.size(); ++day) put(today + 1 + DayNumber(day), 0, c.memos[day]);
        run({find_text("plum"), [&](TemplateDialog& d) {
                 QApplication::setActiveWindow(&d);
                 ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
                 QListWidget* list = d.list_box(choice::lines);
                 ASSERT_TRUE(list->hasFocus()) << c.what;
                 EXPECT_EQ(list->currentRow(), 0) << c.what;
                 EXPECT_TRUE(list->selectedItems().empty()) << c.what;
                 EXPECT_TRUE(marked_as_focused(*list, 0)) << c.what;
                 for (const Key& key : c.keys) QTest::keyClick(list, key.key, key.modifiers);
                 QTest::keyClick(list, Qt::Key_Return);
                 EXPECT_TRUE(d.has_ended()) << c.what;
             }});
        EXPECT_TRUE(messages.shown.empty()) << c.what;
        EXPECT_EQ(entries(), c.left) << c.what;
        for (const std::string& name : entries()) std::filesystem::remove(store.path() / name);
    }
}

TEST_F(Deletion, FindRefusesTextsAndDatesItCannotUse) {
    put(today - 1, 0, "yesterday");
    struct Case {
        Step step;
        KeepCode keep_code;
        QString caption, text;
    };
    const Case cases[] = {
        {find_text(""), KeepCode::none, "Input Error", "You have not entered a search-string"},
        {find_text("- . -"), KeepCode::none, "Input Error", "You have not entered a search-string"},
        {find_text("\" \"", true, true), KeepCode::none, "Date Error", "Invalid Date - '/' missing"},
        {find_text("05/12/26", true), KeepCode::none, "Date Error", "The date given has already past!"},
        {find_text("05/12/25", true), KeepCode::week, "Date Error", "You hold no entries so old!"},
    };
    for (const Case& c : cases) {
        messages.shown.clear();
        set_keep_code(state.retention, c.keep_code, today);
        run({[&](TemplateDialog& d) {
            c.step(d);
            EXPECT_FALSE(d.has_ended());
        }});
        EXPECT_EQ(messages.shown, (std::vector<Message>{{c.text, c.caption, MessageIcon::none}})) << c.text.toStdString();
    }
    set_keep_code(state.retention, KeepCode::week, today);
    std::vector<std::string> shown;
    run({find_text("05/12/26", true), delete_lines({0}, &shown)});
    EXPECT_EQ(shown, std::vector<std::string>{"1. 05/12/26  yesterday"}) << "a held past date is listed";
    EXPECT_TRUE(entries().empty());
}

// Double quote, space, double quote with Match Case cleans up the blank entries; without it, it
// is an ordinary key word.
TEST_F(Deletion, TheCleanUpTextDeletesBlankEntriesOnlyWhenCaseIsMatched) {
    put(today + 1, 0, "...");
    put(today + 1, 1, "say \" \" loudly");
    put(today + 1, 2, "Dentist");
    std::vector<std::string> shown;
    run({find_text("\" \""), [&](TemplateDialog& d) {
             shown = lines_of(d);
             press(d, id_cancel);
         }});
    EXPECT_EQ(shown, std::vector<std::string>{"07/12/26  say \" \" loudly"});
    EXPECT_EQ(entries().size(), 3u);

    run({find_text("\" \"", false, true)});
    EXPECT_EQ(messages.shown, (std::vector<Message>{{"All Blank Entries have been deleted", "Clean Up"}}));
    EXPECT_EQ(entries(), (std::vector<std::string>{"DAT20794.001", "DAT20794.002"}));
}

// The lines of a list that was cancelled are gone with it: a later, shorter list deletes only
// its own entries, whatever scratch files the earlier one left.
TEST_F(Deletion, ACancelledListNeverCausesADeletionInALaterOne) {
    put(today + 1, 0, "apple pie");
    put(today + 2, 0, "apple tart");
    put(today + 3, 0, "pear");
    run({find_text("apple"), [](TemplateDialog& d) { press(d, id_cancel); }});
    EXPECT_TRUE(store.exists("TEMPDAT.001"));
    run({find_text("pear"), delete_lines({0})});
    EXPECT_EQ(entries(), (std::vector<std::string>{"DAT20794.000", "DAT20795.000"}));
}

// A deleted entry goes to the desktop's trash, in the data folder that also holds the diary's own
// folder; put back from there, it is in the diary again. A second of the same name is kept apart.
TEST_F(Deletion, ADeletedEntryGoesToTheTrashAndComesBackFromIt) {
    namespace fs = std::filesystem;
    const testing::TempDir home;
    const struct {
        const char* what;
        testing::EnvironmentGuard::Values environment;
        fs::path trash;
    } cases[] = {
        {"XDG_DATA_HOME's data folder", {{"XDG_DATA_HOME", home / "data"}}, home / "data/Trash"},
        {"a relative XDG_DATA_HOME, passed over for HOME's", {{"XDG_DATA_HOME", "daybrook-data"}, {"HOME", home.path()}},
         home / ".local/share/Trash"},
    };
    for (const auto& [what, values, trash] : cases) {
        const testing::EnvironmentGuard environment(values);
        for (const char* name : {"DAT20794.000", "DAT20794.000.2"}) {
            put(today + 1, 0, "Dentist 10am");
            const std::string record = store.read("DAT20794.000");
            run({find_text("dentist"), delete_lines({0})});
            EXPECT_TRUE(entries().empty()) << what;
            EXPECT_TRUE(messages.shown.empty()) << what;
            const fs::path trashed = trash / "files" / name;
            ASSERT_TRUE(fs::exists(trashed)) << what << ' ' << name;
            const std::string info = file_bytes(trash / "info" / (std::string(name) + ".trashinfo"));
            EXPECT_TRUE(info.starts_with("[Trash Info]\nPath=" + (store.path() / "DAT20794.000").native() + "\nDeletionDate=20"))
                << what << ": " << info;
            EXPECT_EQ(file_bytes(trashed), record) << what;
        }
        fs::rename(trash / "files/DAT20794.000", store.path() / "DAT20794.000");
        EXPECT_EQ(read_entry(store.path(), "DAT20794.000")->text, "Dentist 10am") << what;
        fs::remove(store.path() / "DAT20794.000");
        EXPECT_FALSE(fs::exists("daybrook-data")) << what;
    }
}

// Where no trash can take an entry, the user is asked once, told why, whether the entries may go
// for good, and they go only on Yes; no trash folders appear beside the diary or the working
// folder, and a trash that refuses new files is given up at once.
TEST_F(Deletion, AsksBeforeDeletingForGoodWhatTheTrashCannotTake) {
    namespace fs = std::filesystem;
    const testing::TempDir data;
    const auto read_only = [](const fs::path& folder) {
        fs::create_directories(folder);
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    };
    read_only(data / "unwritable-files/Trash/files");
    fs::create_directories(data / "unwritable-info/Trash/files");
    read_only(data / "unwritable-info/Trash/info");
    read_only(data / "read-only");
    fs::create_directories(data / "plain-file");
    std::ofstream(data / "plain-file/Trash").put('x');
    fs::create_directories(data / "dangling-link");
    fs::create_symlink(data / "nowhere", data / "dangling-link/Trash");
    struct Case {
        const char* what;
        testing::EnvironmentGuard::Values environment;
        const char* reason;
    };
    const std::string at = data.path().native() + "/";
    const Case cases[] = {
        {"no home", {{"XDG_DATA_HOME", ""}, {"HOME", ""}}, "neither XDG_DATA_HOME nor HOME"},
        {"a relative home", {{"XDG_DATA_HOME", ""}, {"HOME", "daybrook-home"}}, "neither XDG_DATA_HOME nor HOME"},
        {"a trash whose files cannot be written", {{"XDG_DATA_HOME", at + "unwritable-files"}}, "cannot move"},
        {"a trash whose info cannot be written", {{"XDG_DATA_HOME", at + "unwritable-info"}}, "cannot write in"},
        {"a data folder that cannot be written", {{"XDG_DATA_HOME", at + "read-only"}}, "cannot make"},
        {"a trash that is a plain file", {{"XDG_DATA_HOME", at + "plain-file"}}, "is not a folder"},
        {"a trash that is a dangling link", {{"XDG_DATA_HOME", at + "dangling-link"}}, "cannot reach"},
    };
    for (const Case& c : cases) {
        const testing::EnvironmentGuard environment(c.environment);
        testing::PermissionsBite bite;
        for (const bool yes : {false, true}) {
            messages.shown.clear();
            messages.answers = {yes};
            put(today + 1, 0, "pear one");
            put(today + 1, 1, "pear two");
            run({find_text("pear"), delete_lines({0, 1})});
            ASSERT_EQ(captions(), std::vector<QString>{"Delete for Good"}) << c.what;
            EXPECT_TRUE(messages.shown[0].text.contains("07/12/26  pear one\n07/12/26  pear two")) << c.what;
            EXPECT_TRUE(messages.shown[0].text.contains(QString::fromLatin1(c.reason))) << messages.shown[0].text.toStdString();
            EXPECT_EQ(entries().size(), yes ? 0u : 2u) << c.what;
        }
        put(today + 2, 0, "...");
        // The clean-up says all blank entries went only when none is left.
        for (const bool yes : {false, true}) {
            messages.shown.clear();
            messages.answers = {yes};
            run({find_text("\" \"", false, true)});
            const std::vector<QString> told = {"Delete for Good", "Clean Up"};
            EXPECT_EQ(captions(), std::vector<QString>(told.begin(), told.begin() + (yes ? 2 : 1))) << c.what;
            EXPECT_EQ(entries().size(), yes ? 0u : 1u) << c.what;
        }
        for (const char* folder : {"files", "info", "Trash", "daybrook-data", "daybrook-home"}) {
            EXPECT_FALSE(store.exists(folder)) << c.what << ' ' << folder;
            EXPECT_FALSE(fs::exists(folder)) << c.what << ' ' << folder;
        }
    }
    EXPECT_TRUE(fs::is_empty(data / "unwritable-files/Trash/files"));
    EXPECT_TRUE(fs::is_empty(data / "unwritable-info/Trash/info"));
    EXPECT_TRUE(fs::is_empty(data / "read-only"));
}

// A scratch file that will not go is named with its path, once, after the deletion.
TEST_F(Deletion, AScratchFileThatWillNotGoIsNamed) {
    put(today + 1, 0, "plum");
    put(today + 2, 0, "plum tart");
    const std::filesystem::path stuck = store.path() / "TEMPDAT.001";
    run({find_text("plum"), [&](TemplateDialog& d) {
             std::filesystem::remove(stuck);
             std::filesystem::create_directories(stuck / "in the way");
             delete_lines({0})(d);
         }});
    EXPECT_EQ(messages.shown, (std::vector<Message>{{"Wont go: " + QString::fromStdString(stuck.native()), "ERROR"}}));
    EXPECT_EQ(entries(), std::vector<std::string>{"DAT20795.000"});
    EXPECT_FALSE(store.exists("TEMPDAT.000"));
}

// An entry that stays in a folder that cannot be changed is named, from a list or the clean-up,
// and the clean-up does not claim that all blank entries went.
TEST_F(Deletion, AnEntryThatCannotBeDeletedIsNamed) {
    put(today + 1, 0, "stuck");
    put(today + 1, 1, "");
    struct Case {
        std::vector<Step> steps;
        QString named;
    };
    const Case cases[] = {
        {{find_text("stuck"), delete_lines({0})}, "07/12/26  stuck"},
        {{find_text("\" \"", false, true)}, "DAT20794.001"},
    };
    for (const Case& c : cases) {
        messages.shown.clear();
        std::filesystem::permissions(store.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        {
            testing::PermissionsBite bite;
            modal.steps.insert(modal.steps.end(), c.steps.begin(), c.steps.end());
            run({});
        }
        std::filesystem::permissions(store.path(), std::filesystem::perms::owner_all);
        ASSERT_EQ(captions(), std::vector<QString>{"Deletion Error"}) << c.named.toStdString();
        EXPECT_TRUE(messages.shown[0].text.contains(c.named)) << messages.shown[0].text.toStdString();
        EXPECT_EQ(entries().size(), 2u);
    }
}

}  // namespace
}  // namespace daybrook
