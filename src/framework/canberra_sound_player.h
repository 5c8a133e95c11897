// The desktop's sound player, through libcanberra: a sound is started and left to play on its
// own, and only a failure to start it is reported. The user's own files live in the diary folder
// and are matched without regard to letter case, as the help spells them in capitals; the theme
// sounds come from the freedesktop sound theme. Where no sound can reach the speakers, sounds are
// off: one line on standard error says so, the first time one is asked for.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "framework/sound_player.h"

struct ca_context;

namespace daybrook {

// The regular file of the folder named `name` without regard to ASCII letter case. The exact
// name wins, then the least name in byte order, so the choice does not depend on the order of
// the folder. Nothing when there is no such file or the folder cannot be read.
std::optional<std::filesystem::path> find_file_ignoring_case(const std::filesystem::path& folder,
                                                             std::string_view name);

class CanberraSoundPlayer final : public SoundPlayer {
public:
    explicit CanberraSoundPlayer(std::filesystem::path diary_folder);
    ~CanberraSoundPlayer() override;
    CanberraSoundPlayer(const CanberraSoundPlayer&) = delete;
    CanberraSoundPlayer& operator=(const CanberraSoundPlayer&) = delete;

    bool play(const SoundRequest& request) override;
    bool output_may_exist() const override;

private:
    bool output_reachable();
    bool play_file(const std::optional<std::filesystem::path>& file);
    bool play_event(const std::string& event_id);
    // Whether libcanberra's answer means the sound is playing; remembers that one was.
    bool started(int play_result);
    // Made on the first play, so a diary with sounds off never opens the sound system.
    ca_context* context();

    std::filesystem::path m_folder;
    ca_context* m_context = nullptr;
    bool m_started_a_sound = false;
    std::optional<bool> m_output_reachable;  // found out at the first sound
};

}  // namespace daybrook
