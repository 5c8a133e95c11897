#include "sync/sync_report.h"

#include <algorithm>

namespace daybrook {

std::string summary_line(const SyncReport& report) {
    std::string line = "sent " + std::to_string(report.sent) + ", received " + std::to_string(report.received) +
                       ", removed " + std::to_string(report.removed_here) + " here, removed " +
                       std::to_string(report.removed_there) + " there";
    if (report.not_taken.empty()) return line;
    line += ", " + std::to_string(report.not_taken.size()) + " not taken:";
    std::vector<SkipReason> reasons;
    for (const SkippedItem& item : report.not_taken)
        if (std::find(reasons.begin(), reasons.end(), item.reason) == reasons.end()) reasons.push_back(item.reason);
    for (std::size_t i = 0; i < reasons.size(); ++i) line += (i == 0 ? " " : "; ") + std::string(reason_text(reasons[i]));
    return line;
}

}  // namespace daybrook
