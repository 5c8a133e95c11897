// Whether a sound could reach the speakers at all, asked before libcanberra is. Without a sound
// card or a sound server, every sound libcanberra tries makes ALSA print its failed search for a
// device on standard error, eight lines a time; the diary then leaves sounds off instead.
#pragma once

#include <filesystem>
#include <string>

namespace daybrook {

// Where a sound output shows itself. Empty texts and paths stand for unset variables.
struct SoundOutputPlaces {
    std::string canberra_driver;  // $CANBERRA_DRIVER and $CANBERRA_DEVICE: the user's own choice
    std::string canberra_device;
    std::string pulse_server;      // $PULSE_SERVER
    std::string alsa_config_path;  // $ALSA_CONFIG_PATH
    std::filesystem::path runtime_dir;  // $XDG_RUNTIME_DIR, where sound servers put their sockets
    std::filesystem::path home;         // $HOME, for the user's own ALSA configuration
    std::filesystem::path devices = "/dev/snd";
    std::filesystem::path system_alsa_config = "/etc/asound.conf";
};

SoundOutputPlaces sound_output_places_from_environment();

// True when a sound server runs, a sound card has a playback device, or the user has set up
// sound output of their own (libcanberra's or ALSA's settings), which the diary then trusts.
bool sound_output_may_exist(const SoundOutputPlaces& places);

}  // namespace daybrook
