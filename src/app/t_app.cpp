#include "app/t_app.h"

#include "config/settings.h"
#include "window/t_wndw.h"

namespace daybrook {

TApp::TApp(int& argc, char** argv, CommandLine mode, std::filesystem::path folder)
    : QApplication(argc, argv), m_mode(mode), m_folder(std::move(folder)), m_sounds(m_folder),
      m_single_window(QString::fromStdString(m_folder.string())) {
    setApplicationName(QStringLiteral("Daybrook"));
    setDesktopFileName(QStringLiteral("daybrook"));
}

// The window is destroyed before the application object, while Qt still works.
TApp::~TApp() { m_window.reset(); }

void TApp::close_diary() {
    if (m_window) m_window->close_diary();
}

void TApp::create_main_window() {
    WindowServices services{.clock = m_clock,
                            .store = m_folder,
                            .settings = SettingsFile(settings_path()),
                            .sounds = m_sounds,
                            .messages = m_messages,
                            .modal = m_modal};
    m_window = std::make_unique<TWndw>(nullptr, QStringLiteral("Daybrook"), m_mode, std::move(services));
}

// A normal window that is open already for this diary folder comes to the front instead of a
// second one opening over it. Auto mode, the glance at login, always runs.
int TApp::run() {
    if (!m_mode.auto_mode() && !m_single_window.claim()) return 0;
    create_main_window();
    connect(&m_single_window, &SingleInstance::activation_requested, m_window.get(), &TWndw::bring_to_front);
    m_window->show();
    return exec();
}

}  // namespace daybrook
