// Playing event sounds. The diary asks for a sound in one of three ways and moves on to its next
// choice only when the player reports that a try failed.
#pragma once

#include <filesystem>
#include <string>

namespace daybrook {

struct SoundRequest {
    enum class Kind {
        user_file,   // a file of the user's in the diary folder, name matched without case
        theme_file,  // a file of the desktop's sound theme, by its base name ("bell")
        theme_event, // the sound theme's event sound, by event id ("bell")
    };
    Kind kind;
    std::string name;
    friend bool operator==(const SoundRequest&, const SoundRequest&) = default;
};

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts the sound without waiting for it; false when it could not be started.
    virtual bool play(const SoundRequest& request) = 0;
    // Whether a sound could reach the speakers at all, found out afresh without opening the
    // sound system.
    virtual bool output_may_exist() const = 0;
};

}  // namespace daybrook
