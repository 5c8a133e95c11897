// TWndw: the diary's one main window. In normal mode a resizable, scrolling window with a menu
// bar and seven buttons; in auto mode a bare window with the week and an Exit button that
// closes itself after a while. Whenever what it shows changes it composes the page anew and
// applies what composing decided (the alarm level, the week buttons); painting only draws.
// Its destruction saves the settings and purges expired entries, however the window was closed.
#pragma once

#include <QMainWindow>

#include <map>
#include <optional>

#include "calendar/clock.h"
#include "config/command_line.h"
#include "config/settings.h"
#include "diary/diary_state.h"
#include "framework/dialog_services.h"
#include "framework/menu_builder.h"
#include "framework/message_boxes.h"
#include "framework/modal_runner.h"
#include "framework/sound_player.h"
#include "framework/timer_set.h"
#include "store/entry_files.h"
#include "window/page_items.h"

class QPushButton;

namespace daybrook {

class DiaryPage;
class Scroller;

// What the window works with; the program passes the real ones, tests their own.
struct WindowServices {
    const Clock& clock;
    StoreDir store;
    SettingsFile settings;
    SoundPlayer& sounds;
    MessageBoxes& messages;
    ModalRunner& modal;
};

class TWndw : public QMainWindow {
    Q_OBJECT
public:
    TWndw(QWidget* parent, const QString& title, CommandLine mode, WindowServices services);
    ~TWndw() override;

    // What closing the diary does: saves the settings, then purges the entries that expired.
    // Runs once; the destructor runs it when it has not run.
    void close_diary();

    const DiaryState& state() const { return m_state; }
    // The button with that id, or nullptr when this mode has none.
    QPushButton* button(int id) const;
    // The scrolled area of normal mode, or nullptr in auto mode.
    Scroller* scroller() const { return m_scroller; }
    DiaryPage* page() const { return m_page; }

    // Shows the window in front of the others, also when it was minimised.
    void bring_to_front();

protected:
    void timerEvent(QTimerEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void create_frame();
    void create_buttons();
    void create_menu();
    void setup_window();
    void fit_frame();
    void set_caption(const char* format);
    void on_command(int id);
    CommandState command_state(int id) const;
    CommandState alarm_sounds_state() const;
    void on_timer(TimerId id);
    bool waiting_for_screen() const;
    void show_first_week();
    void recompose();
    void apply(ButtonChange change, int button_id);
    void show_this_week();
    void turn_to_this_week();
    void announce_week();
    void next_week();
    void last_week();
    void new_entry();
    void search();
    void delete_entries();
    void choose_start_date();
    void old_entries();
    DialogServices dialog_services() const;
    void stop_shared_timer();
    void start_minute_timer();

    CommandLine m_mode;
    WindowServices m_services;
    DiaryState m_state;
    TimerSet m_timers{this};
    // The start-up timer until it fires, then the minute timer.
    std::optional<TimerId> m_shared_timer;
    bool m_first_week_shown = false;
    bool m_diary_closed = false;
    DiaryPage* m_page = nullptr;
    Scroller* m_scroller = nullptr;
    std::map<int, QPushButton*> m_buttons;
};

}  // namespace daybrook
