// A diary and a vdir for the sync's tests, with the events a phone writes into the vdir.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "ics/calendar_files.h"
#include "store/memo.h"
#include "sync/sync_run.h"
#include "support/environment_guard.h"
#include "support/temp_dir.h"

namespace daybrook::testing {

inline constexpr DayNumber today = 20793;  // 06/12/26

inline std::string event(const std::string& uid, const std::string& summary, const std::string& date,
                         const std::string& more = "") {
    return calendar("BEGIN:VEVENT\nUID:" + uid + "\nDTSTAMP:20261201T090000Z\nDTSTART;VALUE=DATE:" + date +
                    "\nSUMMARY:" + summary + "\n" + more + "END:VEVENT\n");
}

// A diary and a vdir, and every entry file the syncs sent to the trash.
struct Sides {
    TempDir diary;
    TempDir vdir;
    std::vector<std::string> trashed;
    bool trash_refuses = false;  // a trash that cannot be written: every entry stays

    // In one zone, as the events' times of day are placed in the machine's own.
    SyncReport sync(DayNumber day = today, Removals removals = Removals::hold_mass) {
        const EnvironmentGuard zone(EnvironmentGuard::Values{{"TZ", "UTC0"}});
        return sync_vdir({.diary = diary.path(), .vdir = vdir.path(), .today = day,
                          .dispose = [this](const std::string& path) {
                              if (trash_refuses) return false;
                              trashed.push_back(std::filesystem::path(path).filename().string());
                              return std::filesystem::remove(path);
                          },
                          .removals = removals});
    }
    void add(DayNumber day, const EntryRecord& record) {
        ASSERT_EQ(add_entry(diary.path(), day, record).error, StoreError::none);
    }
    // The vdir item whose text holds the summary.
    std::string item_of(const std::string& summary) const {
        for (const std::string& name : vdir.names())
            if (vdir.read(name).find("SUMMARY:" + summary + "\r") != std::string::npos) return name;
        return "none";
    }
    std::set<std::string> summaries() const {
        std::set<std::string> found;
        for (const std::string& name : vdir.names()) {
            const std::string text = vdir.read(name);
            const auto start = text.find("SUMMARY:") + 8;
            found.insert(text.substr(start, text.find('\r', start) - start));
        }
        return found;
    }
};

}  // namespace daybrook::testing
