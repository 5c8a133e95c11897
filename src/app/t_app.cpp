#include "app/t_app.h"

#include <filesystem>

#include "app/settings.h"
#include "window/t_wndw.h"

namespace daybrook {

// Entries and the user's own sound files live in the working directory; the launcher starts the
// diary in its own folder.
TApp::TApp(int& argc, char** argv, CommandLine mode)
    : QApplication(argc, argv), m_mode(mode), m_sounds(std::filesystem::current_path()) {
    setApplicationName(QStringLiteral("Daybrook"));
    setDesktopFileName(QStringLiteral("daybrook"));
}

// The window is destroyed before the application object, while Qt still works.
TApp::~TApp() { m_window.reset(); }

void TApp::create_main_window() {
    WindowServices services{.clock = m_clock,
                            .store = std::filesystem::current_path(),
                            .settings = SettingsFile(settings_path()),
                            .sounds = m_sounds,
                            .messages = m_messages,
                            .modal = m_modal};
    m_window = std::make_unique<TWndw>(nullptr, QStringLiteral("Daybrook"), m_mode, std::move(services));
}

int TApp::run() {
    create_main_window();
    m_window->show();
    return exec();
}

}  // namespace daybrook
