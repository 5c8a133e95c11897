#include "window/t_wndw.h"

#include <QCoreApplication>
#include <QIcon>
#include <QMenuBar>
#include <QPushButton>
#include <QTimerEvent>
#include <QWindow>

#include <algorithm>
#include <limits>
#include <string>
#include <variant>
#include <vector>

#include "framework/qt_text.h"
#include "framework/scroller.h"
#include "resources/main_menu.h"
#include "store/retention.h"
#include "window/alarm_sound.h"
#include "window/compose_page.h"
#include "window/diary_page.h"
#include "window/new_entry_command.h"

namespace daybrook {
namespace {

constexpr int startup_period_ms = 1;
constexpr int screen_wait_period_ms = 50;
constexpr int minute_period_ms = 60000;
constexpr int scroll_unit = 15;
constexpr int scroll_range = 200;

// Seconds from the command line as a timer period: never below zero and at most what a timer
// holds (about 24 days), so a huge number keeps the window open instead of wrapping round.
int period_of_seconds(int seconds) {
    return static_cast<int>(std::clamp<long long>(seconds * 1000LL, 0, std::numeric_limits<int>::max()));
}

// One line on standard error for each kind of trouble the purge met; a clean purge says nothing.
void log_purge(const PurgeReport& report) {
    if (!report.store_locked) {
        qWarning("Daybrook left old entries for the next close: another copy of the diary held the store");
        return;
    }
    const auto log = [](const std::vector<std::string>& names, const char* what) {
        if (names.empty()) return;
        std::string list;
        for (const std::string& name : names) list.append(list.empty() ? "" : ", ").append(name);
        qWarning("Daybrook %s: %s", what, list.c_str());
    };
    log(report.unreadable, "kept passed entries it could not read");
    log(report.kept_unrenewed, "kept yearly entries it could not carry over to next year");
    log(report.unmarked, "could not mark these entries as carried over (their copies are in place)");
    log(report.delete_failed, "could not delete these expired entries");
}

}  // namespace

// Construction builds the frame and its children; set-up then reads the clock, the settings and
// the store. Both run here, in that order, before the window is first shown.
TWndw::TWndw(QWidget* parent, const QString& title, CommandLine mode, WindowServices services)
    : QMainWindow(parent), m_mode(mode), m_services(std::move(services)) {
    setWindowTitle(title);
    create_frame();
    setup_window();
}

TWndw::~TWndw() { shut_down(); }

void TWndw::create_frame() {
    setGeometry(55, 10, 655, 500);
    m_page = new DiaryPage;
    m_page->set_composer([this](const PageGeometry& geometry) { return compose(geometry); });
    if (m_mode.auto_mode()) {
        setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
        setFixedSize(655, 500);
        setCentralWidget(m_page);
    } else {
        m_scroller = new Scroller(m_page, this);
        m_page->set_client_area(m_scroller->viewport());
        setCentralWidget(m_scroller);
        create_menu();
    }
    create_buttons();
}

void TWndw::create_buttons() {
    for (const ButtonTemplate& item : main_buttons()) {
        if (m_mode.auto_mode() && !item.in_auto_mode) continue;
        auto* button = new QPushButton(qt_text(item.caption), m_page);
        button->setGeometry(item.x, item.y, item.width, item.height);
        button->setDefault(item.id == id_exit);
        connect(button, &QPushButton::clicked, this, [this, id = item.id] { on_command(id); });
        m_buttons[item.id] = button;
    }
}

void TWndw::create_menu() {
    setMenuBar(build_menu_bar(
        main_menu(), this, [this](int id) { on_command(id); },
        [this](int id) { return command_state(id); }));
}

void TWndw::setup_window() {
    m_state.today = today_from(m_services.clock);
    read_settings();
    setWindowIcon(QIcon(QStringLiteral(":/icons/daybrook.png")));
    m_timers.start(TimerId::startup, startup_period_ms);
    m_shared_timer = TimerId::startup;
    m_state.sound_played = false;
    m_state.alarm_level = AlarmLevel::none;
    if (m_mode.display_seconds > 0) m_timers.start(TimerId::close, period_of_seconds(m_mode.display_seconds));
    if (m_scroller) {
        m_scroller->set_units(scroll_unit, scroll_unit);
        m_scroller->set_range(scroll_range, scroll_range);
        m_scroller->scroll_to(0, 0);
        m_scroller->set_auto_scroll(true);
        m_state.earliest_day = scan_earliest(m_services.store, m_state.today);
    }
    set_caption("Daybrook (%1)");
}

void TWndw::read_settings() {
    const std::variant<Settings, SettingsProblem> stored = m_services.settings.read(m_state.today);
    const auto* problem = std::get_if<SettingsProblem>(&stored);
    if (problem)
        qWarning("Daybrook cannot read its settings (%s); no entries expire in this run and the "
                 "settings file is left as it is", problem->reason.c_str());
    const Settings settings = problem ? Settings{.last_set = m_state.today} : std::get<Settings>(stored);
    RetentionState& retention = m_state.retention;
    retention.choice_known = !problem;
    retention.keep_code = settings.keep_code;
    retention.last_set = settings.last_set;
    retention.oldest_day = oldest_day(m_state.today, retention.keep_code, retention.last_set);
    m_state.sounds_on = settings.sounds_on;
}

void TWndw::set_caption(const char* format) {
    setWindowTitle(QString::fromLatin1(format).arg(qt_text(keep_caption(m_state.retention.keep_code))));
}

QPushButton* TWndw::button(int id) const {
    const auto found = m_buttons.find(id);
    return found == m_buttons.end() ? nullptr : found->second;
}

void TWndw::on_command(int id) {
    switch (id) {
    case id_this_week:
    case cm_this_week: show_this_week(); break;
    case id_next_week: next_week(); break;
    case id_last_week: last_week(); break;
    case id_new_entry:
    case cm_new_entry: new_entry(); break;
    case cm_alarm_sounds: m_state.sounds_on = m_state.sounds_on == 0 ? 1 : 0; break;
    case id_exit: close(); break;
    default: break;
    }
}

CommandState TWndw::command_state(int id) const {
    switch (id) {
    case cm_past_week: return {.enabled = m_state.retention.keep_code != 0};
    // A value other than 0 and 1 from the settings file is on, but shows no check mark.
    case cm_alarm_sounds: return {.checked = m_state.sounds_on == 1};
    default: return {};
    }
}

void TWndw::timerEvent(QTimerEvent* event) {
    if (const std::optional<TimerId> id = m_timers.fired(*event)) on_timer(*id);
}

void TWndw::on_timer(TimerId id) {
    switch (id) {
    case TimerId::startup:
        // The first week must be painted before the alarm is chosen: a window that is on its
        // way to the screen, or waits on another desktop, is asked again a little later.
        if (waiting_for_screen()) {
            m_timers.start(TimerId::startup, screen_wait_period_ms);
            return;
        }
        stop_shared_timer();
        show_this_week();
        break;
    case TimerId::close:
        m_timers.stop(TimerId::close);
        QCoreApplication::exit(0);
        break;
    case TimerId::minute: m_page->update(); break;
    }
}

// Painting raises the alarm level for what the page shows and moves the two week buttons.
ComposedPage TWndw::compose(const PageGeometry& geometry) {
    ComposedPage page = compose_page(m_state, m_services.clock.now(), m_services.store, geometry);
    m_state.alarm_level = page.alarm_level;
    apply(page.next_week, id_next_week);
    apply(page.last_week, id_last_week);
    return page;
}

void TWndw::apply(ButtonChange change, int button_id) {
    QPushButton* target = button(button_id);
    if (!target || change == ButtonChange::unchanged) return;
    target->setVisible(change == ButtonChange::show);
}

bool TWndw::waiting_for_screen() const {
    const QWindow* window = windowHandle();
    return isVisible() && !isMinimized() && window && !window->isExposed();
}

void TWndw::show_this_week() {
    stop_shared_timer();
    m_state.view.page_mode = PageMode::week;
    if (QPushButton* next = button(id_next_week)) next->show();
    m_state.view.start_day = m_state.today;
    // Painted at once, so that the alarm level reflects this week before the sound is chosen.
    m_page->repaint();
    if (m_state.sounds_on != 0) sound_alarm(m_state, m_services.sounds);
    if (m_state.alarm_level > AlarmLevel::week && m_mode.display_seconds > 0)
        m_timers.start(TimerId::close, period_of_seconds(m_mode.display_seconds_today));
    if (m_scroller) m_scroller->scroll_to(0, 0);
    start_minute_timer();
    m_page->update();
}

void TWndw::next_week() {
    stop_shared_timer();
    m_state.view.start_day += 7;
    m_page->update();
    start_minute_timer();
}

void TWndw::last_week() {
    if (m_state.view.start_day > m_state.earliest_day) {
        m_state.view.start_day -= 7;
        m_page->update();
        return;
    }
    m_services.messages.show(this, {.text = QStringLiteral("You have no entries earlier than this!"),
                                    .caption = QStringLiteral("Before the start of time!!"),
                                    .icon = MessageIcon::exclamation});
}

void TWndw::new_entry() {
    const DialogServices dialogs{m_services.modal, m_services.messages, m_services.clock};
    // Painting decides the buttons: a week page shows Last Week again.
    if (run_new_entry(this, m_state, dialogs, m_services.store)) m_page->update();
}

void TWndw::stop_shared_timer() {
    if (m_shared_timer) m_timers.stop(*m_shared_timer);
    m_shared_timer.reset();
}

void TWndw::start_minute_timer() {
    m_timers.start(TimerId::minute, minute_period_ms);
    m_shared_timer = TimerId::minute;
}

// Runs once, however the window goes: the settings are saved first, then expired entries go.
// Settings that could not be read at start are neither saved nor acted on: the user's choice is
// unknown.
void TWndw::shut_down() {
    stop_shared_timer();
    if (!m_state.retention.choice_known) return;
    const Settings settings{.keep_code = m_state.retention.keep_code,
                            .last_set = m_state.retention.last_set,
                            .sounds_on = m_state.sounds_on};
    if (const std::optional<SettingsProblem> problem = m_services.settings.write(settings, m_state.today))
        qWarning("Daybrook could not save its settings (%s)", problem->reason.c_str());
    log_purge(purge_old(m_services.store, m_state.today, m_state.retention.keep_code));
}

}  // namespace daybrook
