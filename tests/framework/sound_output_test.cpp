#include "framework/sound_output.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "support/temp_dir.h"

namespace daybrook {
namespace {

using testing::TempDir;

// Each row sets up one sign of a sound output, or a near miss, in a machine that otherwise has
// none: no card, no server, no settings.
TEST(SoundOutput, IsFoundBySoundCardsServersOrTheUsersOwnSetUpOnly) {
    struct Row {
        const char* what;
        std::function<void(SoundOutputPlaces&, const TempDir&)> set_up;
        bool found;
    };
    const Row rows[] = {
        {"nothing at all", [](SoundOutputPlaces&, const TempDir&) {}, false},
        {"libcanberra's device chosen", [](SoundOutputPlaces& p, const TempDir&) { p.canberra_device = "null"; }, true},
        {"libcanberra's driver chosen", [](SoundOutputPlaces& p, const TempDir&) { p.canberra_driver = "alsa"; }, true},
        {"a PulseAudio server named", [](SoundOutputPlaces& p, const TempDir&) { p.pulse_server = "tcp:host"; }, true},
        {"a PulseAudio socket",
         [](SoundOutputPlaces&, const TempDir& d) { d.write("runtime/pulse/native", ""); }, true},
        {"a PipeWire socket", [](SoundOutputPlaces&, const TempDir& d) { d.write("runtime/pipewire-0", ""); }, true},
        {"a runtime folder without sockets",
         [](SoundOutputPlaces&, const TempDir& d) { d.write("runtime/bus", ""); }, false},
        {"the user's ALSA settings", [](SoundOutputPlaces&, const TempDir& d) { d.write("home/.asoundrc", ""); }, true},
        {"ALSA settings elsewhere", [](SoundOutputPlaces& p, const TempDir&) { p.alsa_config_path = "/x"; }, true},
        {"the system's ALSA settings",
         [](SoundOutputPlaces& p, const TempDir& d) { d.write("asound.conf", ""); p.system_alsa_config = d / "asound.conf"; },
         true},
        {"a card that only records",
         [](SoundOutputPlaces&, const TempDir& d) { d.write("snd/controlC0", ""); d.write("snd/pcmC0D0c", ""); }, false},
        {"a card that plays", [](SoundOutputPlaces&, const TempDir& d) { d.write("snd/pcmC0D3p", ""); }, true},
    };
    for (const Row& row : rows) {
        TempDir dir;
        for (const char* folder : {"runtime/pulse", "home", "snd"}) std::filesystem::create_directories(dir / folder);
        SoundOutputPlaces places{.runtime_dir = dir / "runtime", .home = dir / "home", .devices = dir / "snd",
                                 .system_alsa_config = dir / "no-asound.conf"};
        row.set_up(places, dir);
        EXPECT_EQ(sound_output_may_exist(places), row.found) << row.what;
    }
    EXPECT_FALSE(sound_output_may_exist({.devices = "/nonexistent/snd", .system_alsa_config = "/nonexistent/conf"}))
        << "unset variables and missing folders";
}

}  // namespace
}  // namespace daybrook
