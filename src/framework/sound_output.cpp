#include "framework/sound_output.h"

#include <cstdlib>
#include <system_error>

namespace daybrook {
namespace {

namespace fs = std::filesystem;

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool is_there(const fs::path& path) {
    std::error_code error;
    return !path.empty() && fs::exists(path, error);
}

// ALSA names a card's playback devices pcmC<card>D<device>p.
bool has_playback_device(const fs::path& devices) {
    std::error_code error;
    for (fs::directory_iterator item(devices, error), end; !error && item != end; item.increment(error)) {
        const std::string name = item->path().filename().string();
        if (name.starts_with("pcmC") && name.ends_with('p')) return true;
    }
    return false;
}

bool sound_server_runs(const SoundOutputPlaces& places) {
    if (!places.pulse_server.empty()) return true;
    if (places.runtime_dir.empty()) return false;
    return is_there(places.runtime_dir / "pulse" / "native") || is_there(places.runtime_dir / "pipewire-0");
}

bool own_sound_setup(const SoundOutputPlaces& places) {
    return !places.canberra_driver.empty() || !places.canberra_device.empty() || !places.alsa_config_path.empty() ||
           (!places.home.empty() && is_there(places.home / ".asoundrc")) || is_there(places.system_alsa_config);
}

}  // namespace

SoundOutputPlaces sound_output_places_from_environment() {
    return {.canberra_driver = variable("CANBERRA_DRIVER"),
            .canberra_device = variable("CANBERRA_DEVICE"),
            .pulse_server = variable("PULSE_SERVER"),
            .alsa_config_path = variable("ALSA_CONFIG_PATH"),
            .runtime_dir = variable("XDG_RUNTIME_DIR"),
            .home = variable("HOME")};
}

bool sound_output_may_exist(const SoundOutputPlaces& places) {
    return own_sound_setup(places) || sound_server_runs(places) || has_playback_device(places.devices);
}

}  // namespace daybrook
