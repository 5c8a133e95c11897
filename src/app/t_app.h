// TApp: the application object. It makes the one main window and runs the message loop; when
// it is destroyed the main window goes with it, saving the settings and purging old entries.
#pragma once

#include <QApplication>

#include <filesystem>
#include <memory>

#include "config/command_line.h"
#include "calendar/clock.h"
#include "framework/canberra_sound_player.h"
#include "framework/message_boxes.h"
#include "framework/modal_runner.h"
#include "framework/single_instance.h"
#include "framework/termination_signals.h"

namespace daybrook {

class TWndw;

class TApp : public QApplication {
    Q_OBJECT
public:
    // The diary works in `folder`: its entries and the user's own sound files are there.
    TApp(int& argc, char** argv, CommandLine mode, std::filesystem::path folder);
    ~TApp() override;

    // Shows the main window and runs until the diary closes; returns the exit code.
    int run();
    // Saves the settings and purges old entries, as destroying the main window does; the
    // destructor does it when it has not been done.
    void close_diary();

private:
    void create_main_window();

    CommandLine m_mode;
    std::filesystem::path m_folder;
    SystemClock m_clock;
    CanberraSoundPlayer m_sounds;
    QtMessageBoxes m_messages;
    QtModalRunner m_modal;
    TerminationSignals m_signals;
    SingleInstance m_single_window;
    std::unique_ptr<TWndw> m_window;
};

}  // namespace daybrook
