#include "app/terminal_run.h"

#include <system_error>

namespace daybrook {

bool diary_readable(const TerminalRun& run) {
    std::error_code error;
    const std::filesystem::directory_iterator listing(run.folder, error);
    if (!error) return true;
    run.err << "Daybrook cannot read the diary folder " << QString::fromStdString(run.folder.string()) << " ("
            << QString::fromStdString(error.message()) << ")\n";
    return false;
}

}  // namespace daybrook
