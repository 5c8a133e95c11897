#include "window/t_wndw.h"

#include <QAbstractEventDispatcher>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimerEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string_view>

#include "framework/scroller.h"
#include "resources/dialog_templates.h"
#include "resources/main_menu.h"
#include "store/entry_files.h"
#include "support/dialog_input.h"
#include "support/fake_clock.h"
#include "support/recording_message_boxes.h"
#include "support/recording_sound_player.h"
#include "support/scripted_modal_runner.h"
#include "support/temp_dir.h"
#include "window/diary_page.h"

namespace daybrook {
namespace {

using testing::FakeClock;
using testing::RecordingMessageBoxes;
using testing::RecordingSoundPlayer;
using testing::ScriptedModalRunner;
using testing::TempDir;

constexpr DayNumber today = 20793;  // Sunday 6 December 2026

constexpr int minute_ms = 60000;

// The timers running on the window as Qt's event dispatcher has them, shortest first.
QList<QAbstractEventDispatcher::TimerInfo> running_timers(TWndw& window) {
    QList<QAbstractEventDispatcher::TimerInfo> timers =
        QAbstractEventDispatcher::instance()->registeredTimers(&window);
    std::sort(timers.begin(), timers.end(), [](const auto& a, const auto& b) { return a.interval < b.interval; });
    return timers;
}

std::vector<int> timer_intervals(TWndw& window) {
    std::vector<int> intervals;
    for (const auto& timer : running_timers(window)) intervals.push_back(timer.interval);
    return intervals;
}

// The id the ticks of the timer with that interval carry; 0 when none runs.
int timer_with_interval(TWndw& window, int interval) {
    for (const auto& timer : running_timers(window))
        if (timer.interval == interval) return timer.timerId;
    return 0;
}

// Lets the start-up run until the week page is up and its alarm and timers have followed the
// first painting; false when that never comes.
bool shows_a_week(TWndw& window) {
    return QTest::qWaitFor([&] {
        return window.state().view.page_mode == PageMode::week && timer_with_interval(window, minute_ms) != 0;
    });
}

class MainWindow : public ::testing::Test {
protected:
    std::unique_ptr<TWndw> open(CommandLine mode = {}) {
        return std::make_unique<TWndw>(
            nullptr, QStringLiteral("Daybrook"), mode,
            WindowServices{.clock = clock,
                           .store = store.path(),
                           .settings = SettingsFile(settings_file()),
                           .sounds = sounds,
                           .messages = messages,
                           .modal = modal});
    }
    std::filesystem::path settings_file() const { return config.path() / "WYNDALE.INI"; }
    void add(DayNumber day) { ASSERT_EQ(add_entry(store.path(), day, {.text = "memo"}).error, StoreError::none); }

    FakeClock clock{{2026, 12, 6, 9, 5}};
    TempDir store;
    TempDir config;
    RecordingSoundPlayer sounds;
    RecordingMessageBoxes messages;
    ScriptedModalRunner modal;
};

// The items of a popup as "text=id", separators as "-".
QStringList items_of(QMenu* menu) {
    QStringList items;
    for (QAction* action : menu->actions())
        items << (action->isSeparator() ? QStringLiteral("-")
                                        : action->text() + "=" + QString::number(action->data().toInt()));
    return items;
}

QAction* action_for(QMenuBar* bar, int id) {
    for (QAction* popup : bar->actions())
        for (QAction* action : popup->menu()->actions())
            if (!action->isSeparator() && action->data().toInt() == id) return action;
    return nullptr;
}

TEST_F(MainWindow, NormalModeHasTheMenuBarWithItsPopupsItemsAndIds) {
    const auto window = open();
    auto* bar = qobject_cast<QMenuBar*>(window->menuWidget());
    ASSERT_NE(bar, nullptr);
    QStringList titles;
    for (QAction* popup : bar->actions()) titles << popup->text();
    EXPECT_EQ(titles, QStringList({"&Entry", "&View", "&Options", "&Help"}));
    const QList<QAction*> popups = bar->actions();
    // Entry stands six spaces from the edge, as room that a screen reader does not read out.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(bar)->child(0)->text(QAccessible::Name), "Entry");
    window->show();
    EXPECT_GE(bar->actionGeometry(popups[0]).left(), bar->fontMetrics().horizontalAdvance("      "));
    EXPECT_EQ(items_of(popups[0]->menu()), QStringList({"&New Entry=101", "-", "-", "&Delete Entry=104"}));
    EXPECT_EQ(items_of(popups[1]->menu()),
              QStringList({"&This Week=102", "&Future Week=105", "&PastWeek=109", "-", "&Search Diary=103"}));
    EXPECT_EQ(items_of(popups[2]->menu()), QStringList({"&Old Entries=110", "-", "&Alarm Sounds=108"}));
    EXPECT_EQ(items_of(popups[3]->menu()), QStringList({"&General Help=106", "-", "&About Daybrook=107"}));
}

TEST_F(MainWindow, NormalModeCreatesSevenButtonsInTabOrderWithExitAsDefault) {
    const auto window = open();
    struct Expected { int id; const char* caption; QRect place; };
    const Expected expected[] = {
        {id_next_week, "Next Week", {500, 355, 85, 20}}, {id_last_week, "Last Week", {500, 325, 85, 20}},
        {id_this_week, "This Week", {500, 385, 85, 20}}, {id_new_entry, "New Entry", {50, 355, 90, 20}},
        {id_search, "Search", {50, 325, 90, 20}},        {id_delete_entry, "Delete Entry", {50, 385, 90, 20}},
        {id_exit, "Exit", {275, 385, 85, 20}},
    };
    QPushButton* previous = nullptr;
    for (const Expected& e : expected) {
        QPushButton* button = window->button(e.id);
        ASSERT_NE(button, nullptr) << e.caption;
        EXPECT_EQ(button->text(), e.caption);
        EXPECT_EQ(button->geometry(), e.place) << e.caption;
        EXPECT_EQ(button->isDefault(), e.id == id_exit) << e.caption;
        if (previous) {
            EXPECT_EQ(previous->nextInFocusChain(), button) << e.caption;
        }
        previous = button;
    }
}

TEST_F(MainWindow, NormalModeScrollsByFifteenPixelUnitsUpToThreeThousandPixels) {
    const auto window = open();
    window->show();
    ASSERT_NE(window->scroller(), nullptr);
    QScrollBar* vertical = window->scroller()->verticalScrollBar();
    EXPECT_EQ(vertical->singleStep(), 15);
    EXPECT_EQ(vertical->maximum(), 3000);
    EXPECT_EQ(window->scroller()->horizontalScrollBar()->maximum(), 3000);
    window->resize(800, 700);
    QCoreApplication::processEvents();
    EXPECT_EQ(vertical->maximum(), 3000) << "the range stays when the window grows";
}

TEST_F(MainWindow, AutoModeIsABareFixedWindowWithOnlyExitAndACloseTimer) {
    add(today - 30);
    const auto window = open({.display_seconds = 5, .display_seconds_today = 30});
    EXPECT_EQ(window->menuWidget(), nullptr);
    EXPECT_EQ(window->scroller(), nullptr);
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_FALSE(window->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    for (int id : {id_next_week, id_last_week, id_this_week, id_new_entry, id_search, id_delete_entry})
        EXPECT_EQ(window->button(id), nullptr) << id;
    ASSERT_NE(window->button(id_exit), nullptr);
    EXPECT_EQ(timer_intervals(*window), (std::vector<int>{1, 5000})) << "the start-up and close timers";
    EXPECT_EQ(window->state().earliest_day, 0) << "auto mode does not scan the store";
}

TEST_F(MainWindow, AutoModeWithoutPositiveSecondsNeverClosesByItself) {
    for (int seconds : {0, -5}) {
        const auto window = open({.display_seconds = seconds});
        EXPECT_EQ(timer_intervals(*window), std::vector<int>{1}) << "only the start-up timer, " << seconds;
    }
}

TEST_F(MainWindow, SetUpReadsTheClockSettingsAndEarliestEntry) {
    add(today - 40);
    std::ofstream(settings_file()) << "[Daybrook]\nKeepCode=2\nLastSet=20700\nSounds=0\n";
    const auto window = open();
    const DiaryState& state = window->state();
    EXPECT_EQ(state.today, today);
    EXPECT_EQ(state.retention.keep_code, KeepCode::month);
    EXPECT_EQ(state.retention.oldest_day, today - 31);
    EXPECT_FALSE(state.sounds_on);
    EXPECT_EQ(state.earliest_day, today - 40);
    EXPECT_EQ(window->windowTitle(), "Daybrook (Saving Entries for One Month)");
    EXPECT_EQ(timer_intervals(*window), std::vector<int>{1}) << "the start-up timer";
}

TEST_F(MainWindow, FirstRunHasEmptyParenthesesInItsCaption) {
    const auto window = open();
    EXPECT_EQ(window->windowTitle(), "Daybrook ()");
    EXPECT_EQ(window->state().earliest_day, today - 1);
}

// Without a sound output, Alarm Sounds shows sounds off, greyed, and says why, while the saved
// choice stays; whether there is one is asked only as the menu opens, never at start-up.
TEST_F(MainWindow, PastWeekIsGreyedAndAlarmSoundsCheckedByTheSettingsAndTheSoundOutput) {
    struct Case { const char* settings; bool output; bool past_week_enabled; bool sounds_checked; };
    for (const Case& c : {Case{"KeepCode=0\nSounds=1\n", true, false, true}, Case{"KeepCode=3\nSounds=7\n", true, true, true},
                          Case{"KeepCode=1\nSounds=0\n", true, true, false}, Case{"KeepCode=1\nSounds=1\n", false, true, false},
                          Case{"KeepCode=1\nSounds=0\n", false, true, false}}) {
        std::ofstream(settings_file()) << "[Daybrook]\n" << c.settings;
        sounds.output = c.output;
        sounds.output_checks = 0;
        auto window = open();
        auto* bar = qobject_cast<QMenuBar*>(window->menuWidget());
        EXPECT_EQ(sounds.output_checks, 0) << "no sound output is looked for before the menu opens";
        for (QAction* popup : bar->actions()) emit popup->menu()->aboutToShow();
        EXPECT_EQ(sounds.output_checks, 1) << c.settings;
        EXPECT_EQ(action_for(bar, cm_past_week)->isEnabled(), c.past_week_enabled) << c.settings;
        QAction* alarm_sounds = action_for(bar, cm_alarm_sounds);
        EXPECT_EQ(alarm_sounds->isChecked(), c.sounds_checked) << c.settings;
        EXPECT_EQ(alarm_sounds->isEnabled(), c.output) << c.settings;
        EXPECT_EQ(alarm_sounds->toolTip().contains("no sound card or sound server", Qt::CaseInsensitive), !c.output);
        EXPECT_TRUE(qobject_cast<QMenu*>(alarm_sounds->parent())->toolTipsVisible());
        EXPECT_TRUE(action_for(bar, cm_future_week)->isEnabled());
        window.reset();
        const bool chosen_on = !std::string_view(c.settings).ends_with("Sounds=0\n");
        EXPECT_EQ(std::get<Settings>(SettingsFile(settings_file()).read(0)).sounds_on, chosen_on) << c.settings;
    }
}

TEST_F(MainWindow, TheStartUpTimerShowsThisWeekAndHandsOverToTheMinuteTimer) {
    const auto window = open();
    EXPECT_EQ(window->state().view.page_mode, PageMode::none);
    EXPECT_TRUE(shows_a_week(*window));
    EXPECT_EQ(window->state().view.start_day, today);
    EXPECT_EQ(timer_intervals(*window), std::vector<int>{minute_ms}) << "only the minute timer runs";
}

// The week is composed when the window is first exposed, before Qt paints it: a first painting
// of an empty page, or of a page of the wrong size, would cost a second one at every start.
TEST_F(MainWindow, TheFirstPaintingAlreadyShowsTheWeek) {
    add(today);
    for (const CommandLine mode : {CommandLine{}, CommandLine{5, 0}}) {
        const auto window = open(mode);
        struct PaintLog final : QObject {
            const DiaryPage* page = nullptr;
            std::vector<std::pair<std::size_t, QSize>> paintings;  // items shown, page size
            bool eventFilter(QObject*, QEvent* event) override {
                if (event->type() == QEvent::Paint) paintings.emplace_back(page->shown_page().items.size(), page->size());
                return false;
            }
        } log;
        log.page = window->page();
        window->page()->installEventFilter(&log);
        window->show();
        ASSERT_TRUE(shows_a_week(*window));
        QTest::qWait(50);
        ASSERT_FALSE(log.paintings.empty());
        EXPECT_GT(log.paintings.front().first, 0u) << "the first painting shows the week";
        for (const auto& painting : log.paintings) EXPECT_EQ(painting.second, window->page()->size());
    }
}

TEST_F(MainWindow, ClosingSavesTheSettingsAndPurgesExpiredEntries) {
    add(today - 3);
    add(today - 2);
    std::ofstream(settings_file()) << "[Daybrook]\nLastSet=0\nSounds=7\n";
    auto window = open();
    auto* bar = qobject_cast<QMenuBar*>(window->menuWidget());
    action_for(bar, cm_alarm_sounds)->trigger();  // 7 counts as on, so the toggle turns it off
    window.reset();

    const Settings saved = std::get<Settings>(SettingsFile(settings_file()).read(0));
    EXPECT_EQ(saved, (Settings{.keep_code = KeepCode::none, .last_set = today, .sounds_on = false}));
    EXPECT_EQ(store.names(), (std::vector<std::string>{".daybrook-purged", ".daybrook.lock", entry_file_name(today - 2, 0)}));
}

// The warnings the diary writes to standard error while it lives.
class WarningLog {
public:
    WarningLog() { s_lines = &m_lines; m_previous = qInstallMessageHandler(keep); }
    ~WarningLog() { qInstallMessageHandler(m_previous); }
    const QStringList& lines() const { return m_lines; }

private:
    static void keep(QtMsgType, const QMessageLogContext&, const QString& text) { *s_lines << text; }
    static inline QStringList* s_lines = nullptr;
    QStringList m_lines;
    QtMessageHandler m_previous;
};

// Settings that cannot be read, or that are missing where no close of the store was recorded,
// let nothing expire, at this close and the next, and leave the file as it is; the diary says so
// once.
TEST_F(MainWindow, AnUnreadableSettingsFileLetsNothingExpire) {
    struct Case {
        const char* what;
        void (*arrange)(const std::filesystem::path& settings);
        const char* told[2];  // at the first close and the next
    };
    const Case cases[] = {
        {"a folder in its place", [](const auto& settings) { std::filesystem::create_directory(settings); },
         {"cannot read its settings", "cannot read its settings"}},
        // The reader stops at a zero byte: the keep code after it is unknown.
        {"a zero byte", [](const auto& settings) {
             std::ofstream(settings, std::ios::binary) << std::string("[Other]\n\0\n[Daybrook]\nKeepCode=4\n", 30); },
         {"cannot read its settings", "cannot read its settings"}},
        {"random bytes", [](const auto& settings) { std::ofstream(settings, std::ios::binary) << "\x93=\x02\xff[\x11\n"; },
         {"cannot read its settings", "cannot read its settings"}},
        // The first close writes the settings file, the next keeps the entries as the first did.
        {"no settings and no lock file", [](const auto&) {}, {"deleted no old entries", "as its last close did"}},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(settings_file());
        for (const std::string& name : store.names()) std::filesystem::remove(store / name);
        add(today - 30);
        c.arrange(settings_file());
        const std::string before = std::filesystem::is_regular_file(settings_file()) ? config.read("WYNDALE.INI") : "";
        for (int run = 0; run < 2; ++run) {
            const WarningLog log;
            open().reset();
            EXPECT_TRUE(store.exists(entry_file_name(today - 30, 0))) << c.what << ", run " << run;
            const QStringList told = log.lines().filter(QString::fromLatin1(c.told[run]));
            EXPECT_EQ(told.size(), 1) << c.what << ", run " << run << ": " << log.lines().join('\n').toStdString();
        }
        if (!before.empty()) {
            EXPECT_EQ(config.read("WYNDALE.INI"), before) << c.what;
        }
    }
}

// Opens the window on screen and lets the start-up timer show this week.
std::unique_ptr<TWndw> started(std::unique_ptr<TWndw> window) {
    window->show();
    EXPECT_TRUE(shows_a_week(*window));
    return window;
}

TEST_F(MainWindow, WeekButtonsMoveThroughTheDiaryAndLastWeekStopsAtTheEarliestEntry) {
    const auto window = started(open());
    QTest::mouseClick(window->button(id_next_week), Qt::LeftButton);
    QTest::mouseClick(window->button(id_next_week), Qt::LeftButton);
    EXPECT_EQ(window->state().view.start_day, today + 14);
    window->scroller()->scroll_to(10, 10);
    QTest::mouseClick(window->button(id_this_week), Qt::LeftButton);
    EXPECT_EQ(window->state().view.start_day, today);
    EXPECT_EQ(window->scroller()->verticalScrollBar()->value(), 0) << "This Week scrolls to the top";

    QTest::mouseClick(window->button(id_last_week), Qt::LeftButton);
    EXPECT_EQ(window->state().view.start_day, today - 7);
    EXPECT_TRUE(messages.shown.empty());
    QTest::mouseClick(window->button(id_last_week), Qt::LeftButton);
    EXPECT_EQ(window->state().view.start_day, today - 7);
    const Message limit{"You have no entries earlier than this!", "Before the start of time!!",
                        MessageIcon::exclamation};
    EXPECT_EQ(messages.shown, std::vector<Message>{limit});
}

TEST_F(MainWindow, LastWeekReachesTheWeekOfTheOldestStoredEntry) {
    add(today - 20);
    const auto window = started(open());
    for (int press = 0; press < 4; ++press) QTest::mouseClick(window->button(id_last_week), Qt::LeftButton);
    EXPECT_EQ(window->state().view.start_day, today - 21);
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(MainWindow, TheWeeksAlarmSoundsOnceAtStartUp) {
    add(today + 1);
    const auto window = started(open());
    EXPECT_EQ(window->state().alarm_level, AlarmLevel::week);
    ASSERT_EQ(sounds.requests.size(), 1u);
    EXPECT_EQ(sounds.requests[0], (SoundRequest{SoundRequest::Kind::user_file, "thisweek.wav"}));
    QTest::mouseClick(window->button(id_this_week), Qt::LeftButton);
    EXPECT_EQ(sounds.requests.size(), 1u) << "a second This Week is silent";
}

TEST_F(MainWindow, SoundsSwitchedOffAtStartUpPlayOnceSwitchedOn) {
    add(today);
    std::ofstream(settings_file()) << "[Daybrook]\nSounds=0\n";
    const auto window = started(open());
    EXPECT_TRUE(sounds.requests.empty());
    auto* bar = qobject_cast<QMenuBar*>(window->menuWidget());
    action_for(bar, cm_alarm_sounds)->trigger();
    action_for(bar, cm_this_week)->trigger();
    ASSERT_EQ(sounds.requests.size(), 1u);
    EXPECT_EQ(sounds.requests[0].name, "thisday.wav");
}

TEST_F(MainWindow, AnEntryTodayShortensTheAutoModeStay) {
    struct Case { CommandLine mode; DayNumber entry_day; int close_period; };
    constexpr int longest = 2147483000;  // the most whole seconds an int of milliseconds holds
    for (const Case& c : {Case{{5, 30}, today, 30000}, Case{{5, 0}, today, 0}, Case{{5, 30}, today + 1, 5000},
                          Case{{5, -3}, today, 0}, Case{{5, 2147484}, today, longest},
                          Case{{4294968, 0}, today + 1, longest}}) {
        TempDir fresh_store;
        ASSERT_EQ(add_entry(fresh_store.path(), c.entry_day, {.text = "memo"}).error, StoreError::none);
        auto window = std::make_unique<TWndw>(
            nullptr, QStringLiteral("Daybrook"), c.mode,
            WindowServices{clock, fresh_store.path(), SettingsFile(settings_file()), sounds, messages, modal});
        window->show();
        ASSERT_TRUE(shows_a_week(*window));
        if (c.close_period == 0) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return timer_intervals(*window) == std::vector<int>{minute_ms}; }))
                << "a zero close timer fires at once";
        } else {
            std::vector<int> expected{c.close_period, minute_ms};
            std::sort(expected.begin(), expected.end());
            EXPECT_EQ(timer_intervals(*window), expected) << c.mode.display_seconds << " " << c.close_period;
        }
    }
}

bool shows_text(const TWndw& window, std::string_view text) {
    const std::vector<PageItem>& items = window.page()->shown_page().items;
    return std::any_of(items.begin(), items.end(), [&](const PageItem& item) { return item.text == text; });
}

// Painting draws the page composed last and changes nothing; the window composes anew when what
// it shows changes: a command, a resize, the minute tick.
TEST_F(MainWindow, PaintingDrawsTheLastComposedPageAndTheWindowComposesOnChanges) {
    const auto window = started(open());
    add(today + 1);
    window->page()->repaint();
    EXPECT_FALSE(shows_text(*window, "memo")) << "painting reads nothing";
    EXPECT_EQ(window->state().alarm_level, AlarmLevel::none) << "painting changes no state";

    window->resize(700, 520);
    EXPECT_TRUE(QTest::qWaitFor([&] { return shows_text(*window, "memo"); })) << "a resize composes anew";
    EXPECT_EQ(window->state().alarm_level, AlarmLevel::week);

    window->button(id_next_week)->click();
    EXPECT_TRUE(shows_text(*window, "Looking at weeks ahead:"));
    add(today + 8);
    QTimerEvent minute(timer_with_interval(*window, minute_ms));
    QCoreApplication::sendEvent(window.get(), &minute);
    EXPECT_TRUE(shows_text(*window, "memo")) << "the minute tick composes anew";
}

// Without a window manager's frame, the frame is the window: it stands at 55, 10 and measures
// 655 x 500 in both modes (the real-window test checks it under a window manager).
TEST_F(MainWindow, TheOuterFrameStandsAt55By10AndMeasures655By500) {
    for (CommandLine mode : {CommandLine{}, CommandLine{.display_seconds = 0}}) {
        const auto window = started(open(mode));
        EXPECT_EQ(window->frameGeometry(), QRect(55, 10, 655, 500)) << mode.display_seconds;
    }
}

// Tab goes round the buttons only, in the order they were made; Enter presses the focused one.
TEST_F(MainWindow, TabMovesFromButtonToButtonAndEnterPressesTheFocusedOne) {
    const auto window = started(open());
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->button(id_next_week)->setFocus();
    std::vector<std::string> order;
    for (int press = 0; press < 8; ++press) {
        order.push_back(QApplication::focusWidget()->property("text").toString().toStdString());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"Next Week", "Last Week", "This Week", "New Entry", "Search", "Delete Entry",
                                               "Exit", "Next Week"}));
    QTest::keyClick(window->button(id_next_week), Qt::Key_Return);
    QTest::keyClick(window->button(id_next_week), Qt::Key_Enter);
    EXPECT_EQ(window->state().view.start_day, today + 14);
}

// Search shows the results page without the week buttons; Delete, however it ends, the week.
TEST_F(MainWindow, SearchAndDeleteRunTheirDialogsAndThePageFollows) {
    add(today + 3);
    const auto window = started(open());
    modal.steps.push_back([](TemplateDialog& d) {
        testing::type(d, search_ids::word, "MEMO");
        testing::press(d, id_ok);
    });
    window->button(id_search)->click();
    EXPECT_TRUE(shows_text(*window, "Search Results:"));
    EXPECT_TRUE(shows_text(*window, "memo"));
    EXPECT_FALSE(window->button(id_next_week)->isVisible());
    EXPECT_FALSE(window->button(id_last_week)->isVisible());

    modal.steps.push_back([](TemplateDialog& d) { testing::press(d, id_cancel); });
    auto* bar = qobject_cast<QMenuBar*>(window->menuWidget());
    action_for(bar, cm_delete)->trigger();
    EXPECT_TRUE(shows_text(*window, "The Next Seven Days:"));
    EXPECT_TRUE(window->button(id_last_week)->isVisible());
    EXPECT_EQ(modal.captions, (std::vector<QString>{"Search Diary", "Find Entry for Deletion"}));
}

// Old Entries rewrites the caption (two spaces now) however it ends, and PastWeek follows the
// choice; Set Starting Date, even cancelled, brings back the week page and a fresh minute timer.
TEST_F(MainWindow, OldEntriesAndStartDateApplyTheirDialogsToTheWindow) {
    std::ofstream(settings_file()) << "[Daybrook]\nKeepCode=2\n";
    const auto window = started(open());
    auto* bar = qobject_cast<QMenuBar*>(window->menuWidget());
    modal.steps.push_back([](TemplateDialog& d) { testing::press(d, id_cancel); });
    action_for(bar, cm_old_entries)->trigger();
    EXPECT_EQ(window->windowTitle(), "Daybrook  (Saving Entries for One Month)");

    modal.steps.push_back([](TemplateDialog& d) {
        testing::mark(d, keep_time_ids::first_choice);
        testing::press(d, id_ok);
    });
    modal.steps.push_back([](TemplateDialog& warning) { testing::press(warning, id_ok); });
    action_for(bar, cm_old_entries)->trigger();
    EXPECT_EQ(window->windowTitle(), "Daybrook  ()");
    for (QAction* popup : bar->actions()) emit popup->menu()->aboutToShow();
    EXPECT_FALSE(action_for(bar, cm_past_week)->isEnabled());

    modal.steps.push_back([](TemplateDialog& d) {
        testing::type(d, search_ids::word, "x");
        testing::press(d, id_ok);
    });
    window->button(id_search)->click();
    modal.steps.push_back([](TemplateDialog& d) { testing::press(d, id_cancel); });
    action_for(bar, cm_future_week)->trigger();
    EXPECT_TRUE(shows_text(*window, "The Next Seven Days:"));
    EXPECT_EQ(timer_intervals(*window), std::vector<int>{minute_ms}) << "a fresh minute timer, and no other";
}

TEST_F(MainWindow, TheExitButtonClosesTheWindow) {
    const auto window = open();
    window->show();
    QTest::mouseClick(window->button(id_exit), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace daybrook
