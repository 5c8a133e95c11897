// A sound player that plays nothing: it records every request and answers from a script, so a
// test can check which sounds were tried and make any of them fail. Whether a sound output
// exists is the test's to say, and each time it is asked is counted.
#pragma once

#include <deque>
#include <utility>
#include <vector>

#include "framework/sound_player.h"

namespace daybrook::testing {

class RecordingSoundPlayer final : public SoundPlayer {
public:
    RecordingSoundPlayer() = default;
    explicit RecordingSoundPlayer(std::deque<bool> results) : results(std::move(results)) {}

    bool play(const SoundRequest& request) override {
        requests.push_back(request);
        if (results.empty()) return true;
        const bool result = results.front();
        results.pop_front();
        return result;
    }

    bool output_may_exist() const override {
        ++output_checks;
        return output;
    }

    std::vector<SoundRequest> requests;
    std::deque<bool> results;  // the answers to the next plays, in order; success once used up
    bool output = true;
    mutable int output_checks = 0;
};

}  // namespace daybrook::testing
