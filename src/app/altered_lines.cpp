#include "app/altered_lines.h"

namespace daybrook {

void print_altered(const std::vector<AlteredEvent>& altered, bool verbose, const TerminalRun& run) {
    if (altered.empty()) return;
    if (!verbose) {
        run.out << "  altered: " << QString::fromStdString(altered_summary(altered)) << " (--verbose names them)\n";
        return;
    }
    for (const AlteredEvent& event : altered) run.out << "  altered " << QString::fromStdString(describe(event)) << '\n';
}

}  // namespace daybrook
