#include "window/t_wndw.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QPixmap>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QTimerEvent>
#include <QWindow>

#include <algorithm>
#include <limits>

#include "dialogs/help_dlg.h"
#include "framework/qt_text.h"
#include "framework/scroller.h"
#include "resources/main_menu.h"
#include "resources/program_icon.h"
#include "store/keep_code.h"
#include "window/alarm_sound.h"
#include "window/compose_page.h"
#include "window/delete_command.h"
#include "window/diary_files.h"
#include "window/diary_page.h"
#include "window/diary_watcher.h"
#include "window/new_entry_command.h"
#include "window/old_entries_command.h"
#include "window/search_command.h"
#include "window/start_date_command.h"

namespace daybrook {
namespace {

constexpr int startup_period_ms = 1;
constexpr int minute_period_ms = 60000;
constexpr int scroll_unit = 15;
constexpr int scroll_range = 200;
// The window's outer frame, title bar included, where it first stands.
constexpr QRect first_frame{55, 10, 655, 500};

// Seconds from the command line as a timer period: never below zero and at most what a timer
// holds (about 24 days), so a huge number keeps the window open instead of wrapping round. The
// longest is a whole number of seconds: Qt keeps a timer of 20 seconds or more rounded to whole
// seconds, and the largest int of milliseconds rounds up to more seconds than an int of
// milliseconds holds, so Qt would report that timer's interval wrapped round.
constexpr long long longest_period_ms = std::numeric_limits<int>::max() / 1000 * 1000LL;

int period_of_seconds(int seconds) {
    return static_cast<int>(std::clamp<long long>(seconds * 1000LL, 0, longest_period_ms));
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

// However the window goes, the diary is closed.
TWndw::~TWndw() { close_diary(); }

void TWndw::close_diary() {
    if (m_diary_closed) return;
    m_diary_closed = true;
    stop_shared_timer();
    save_and_purge(m_state, m_services.settings, m_services.store);
}

// The frame's size is the outer size for now; fit_frame takes the window manager's frame off it
// once that is known.
void TWndw::create_frame() {
    move(first_frame.topLeft());  // a top-level window's position is its frame's
    m_page = new DiaryPage;
    if (m_mode.auto_mode()) {
        setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
        setFixedSize(first_frame.size());
        setCentralWidget(m_page);
    } else {
        resize(first_frame.size());
        m_scroller = new Scroller(m_page, this);
        // Tab moves between the buttons only.
        m_scroller->setFocusPolicy(Qt::NoFocus);
        m_page->set_client_area(m_scroller->viewport());
        setCentralWidget(m_scroller);
        create_menu();
    }
    create_buttons();
    // F1 opens General Help, in the bare window of the glance too.
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, [this] { on_command(cm_general_help); });
}

// Called once the window is on screen, when the window manager's frame is known: the frame
// then stands at 55, 10 and measures 655 x 500 with its title bar and borders.
void TWndw::fit_frame() {
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    const QSize inner = first_frame.size().shrunkBy(frame);
    if (m_mode.auto_mode()) setFixedSize(inner);
    else resize(inner);
}

void TWndw::create_buttons() {
    for (const ButtonTemplate& item : main_buttons()) {
        if (m_mode.auto_mode() && !item.in_auto_mode) continue;
        auto* button = new QPushButton(qt_text(item.caption), m_page);
        button->setGeometry(item.x, item.y, item.width, item.height);
        button->setDefault(item.id == id_exit);
        button->setAutoDefault(true);  // Enter presses the button that has the focus
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
    load_settings(m_state, m_services.settings);
    // From XPM lines in the program: a PNG would make Qt scan and load its image plugins.
    setWindowIcon(QIcon(QPixmap(program_icon_xpm())));
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

void TWndw::set_caption(const char* format) {
    setWindowTitle(QString::fromLatin1(format).arg(qt_text(keep_caption(m_state.retention.keep_code))));
}

void TWndw::bring_to_front() {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
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
    case id_search:
    case cm_search: search(); break;
    case id_delete_entry:
    case cm_delete: delete_entries(); break;
    case cm_future_week:
    case cm_past_week: choose_start_date(); break;
    case cm_old_entries: old_entries(); break;
    case cm_general_help: show_general_help(dialog_services(), this, m_services.store); break;
    case cm_about: show_help(dialog_services(), this, HelpTopic::about); break;
    case cm_alarm_sounds: m_state.sounds_on = !m_state.sounds_on; break;
    case id_exit: close(); break;
    default: break;
    }
}

CommandState TWndw::command_state(int id) const {
    switch (id) {
    case cm_past_week: return {.enabled = keeps_old_entries(m_state.retention.keep_code)};
    case cm_alarm_sounds: return alarm_sounds_state();
    default: return {};
    }
}

// Without a sound output the item shows sounds off and says why; the saved choice stays as the
// user made it, for the day a sound card or server is there.
CommandState TWndw::alarm_sounds_state() const {
    if (!m_services.sounds.output_may_exist())
        return {.enabled = false,
                .checked = false,
                .tooltip = QStringLiteral("No sound card or sound server was found, so sounds are off.")};
    return {.checked = m_state.sounds_on};
}

// The diary ends with its window. Qt's own end at the last window's close is missed when the
// close comes while the event loop is not yet running or is nested in another, so the end is
// posted: the loop takes it whenever it runs. It is an exit, not a quit: Qt may turn a quit
// down while it still counts a window as open, and the window is closed already.
void TWndw::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        QMetaObject::invokeMethod(QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

void TWndw::timerEvent(QTimerEvent* event) {
    if (const std::optional<TimerId> id = m_timers.fired(*event)) on_timer(*id);
}

void TWndw::on_timer(TimerId id) {
    switch (id) {
    case TimerId::startup:
        stop_shared_timer();
        // The first week must be on the screen before the alarm is chosen: a window that is on
        // its way there, or waits on another desktop, starts when it is first exposed.
        if (!m_first_week_shown && !waiting_for_screen()) {
            show_first_week();
            announce_week();
        }
        break;
    case TimerId::close:
        m_timers.stop(TimerId::close);
        QCoreApplication::exit(0);
        break;
    case TimerId::minute: recompose(); break;
    }
}

// Composes the page for what the window now shows and applies what composing decided: the
// alarm level is raised for the entries shown, and the week buttons are shown or hidden.
void TWndw::recompose() {
    const PageGeometry geometry = m_page->layout_geometry();
    ComposedPage page = compose_page(m_state, m_services.clock.now(), m_services.store, geometry);
    m_state.alarm_level = page.alarm_level;
    apply(page.next_week, id_next_week);
    apply(page.last_week, id_last_week);
    m_page->show_page(std::move(page), geometry);
}

void TWndw::apply(ButtonChange change, int button_id) {
    QPushButton* target = button(button_id);
    if (!target || change == ButtonChange::unchanged) return;
    target->setVisible(change == ButtonChange::show);
}

// The native window exists from here on; its first expose shows the first week.
void TWndw::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_first_week_shown) windowHandle()->installEventFilter(this);
}

bool TWndw::eventFilter(QObject* watched, QEvent* event) {
    QWindow* window = windowHandle();
    if (watched == window && event->type() == QEvent::Expose && window->isExposed() && !m_first_week_shown) {
        // Before Qt handles the expose, so that the window is painted once, at its fitted size
        // and with the week on it; the alarm waits until that painting is done.
        show_first_week();
        QMetaObject::invokeMethod(this, &TWndw::announce_week, Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(watched, event);
}

// The window manager's frame is known once the window is on the screen. Until then the page
// shows nothing, so changes of size start composing it again only from here on.
void TWndw::show_first_week() {
    m_first_week_shown = true;
    if (QWindow* window = windowHandle()) window->removeEventFilter(this);
    fit_frame();
    connect(m_page, &DiaryPage::client_resized, this, [this] { recompose(); });
    // A window that stays open shows at once what other programs add to the diary or remove.
    if (m_mode.display_seconds <= 0)
        connect(new DiaryWatcher(m_services.store, this), &DiaryWatcher::diary_changed, this, [this] { recompose(); });
    turn_to_this_week();
}

bool TWndw::waiting_for_screen() const {
    const QWindow* window = windowHandle();
    return isVisible() && !isMinimized() && window && !window->isExposed();
}

void TWndw::show_this_week() {
    turn_to_this_week();
    announce_week();
}

void TWndw::turn_to_this_week() {
    stop_shared_timer();
    view_this_week(m_state);
    if (QPushButton* next = button(id_next_week)) next->show();
    if (m_scroller) m_scroller->scroll_to(0, 0);
    recompose();
}

// Sounds the alarm for the week composed last, shortens the glance when something is due
// today, and starts the minute's recomposing.
void TWndw::announce_week() {
    if (m_state.sounds_on) sound_alarm(m_state, m_services.sounds);
    if (m_state.alarm_level > AlarmLevel::week && m_mode.display_seconds > 0)
        m_timers.start(TimerId::close, period_of_seconds(m_mode.display_seconds_today));
    start_minute_timer();
}

void TWndw::next_week() {
    stop_shared_timer();
    move_week_on(m_state.view);
    recompose();
    start_minute_timer();
}

void TWndw::last_week() {
    if (move_week_back(m_state.view, m_state.earliest_day)) {
        recompose();
        return;
    }
    m_services.messages.show(this, {.text = QStringLiteral("You have no entries earlier than this!"),
                                    .caption = QStringLiteral("Before the start of time!!"),
                                    .icon = MessageIcon::exclamation});
}

void TWndw::new_entry() {
    run_new_entry(this, m_state, dialog_services(), m_services.store);
    recompose();
}

void TWndw::search() {
    run_search(this, m_state, dialog_services());
    recompose();
}

void TWndw::delete_entries() {
    run_delete(this, m_state, dialog_services(), m_services.store);
    recompose();
}

// The minute timer stops while the dialog is open and starts afresh after it.
void TWndw::choose_start_date() {
    stop_shared_timer();
    run_start_date(this, m_state, dialog_services());
    if (m_scroller) m_scroller->scroll_to(0, 0);
    recompose();
    start_minute_timer();
}

// The caption is written again however the dialog ended, with two spaces after the name: the
// window's caption once old entries were looked at.
void TWndw::old_entries() {
    run_old_entries(this, m_state, dialog_services());
    set_caption("Daybrook  (%1)");
}

DialogServices TWndw::dialog_services() const {
    return {m_services.modal, m_services.messages, m_services.clock};
}

void TWndw::stop_shared_timer() {
    if (m_shared_timer) m_timers.stop(*m_shared_timer);
    m_shared_timer.reset();
}

void TWndw::start_minute_timer() {
    m_timers.start(TimerId::minute, minute_period_ms);
    m_shared_timer = TimerId::minute;
}

}  // namespace daybrook
