#include "framework/canberra_sound_player.h"

#include <dirent.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <system_error>
#include <utility>
#include <vector>

#include "calendar/text_helpers.h"
#include "framework/canberra_library.h"
#include "framework/sound_output.h"

namespace daybrook {
namespace {

namespace fs = std::filesystem;

const fs::path theme_folder = "/usr/share/sounds/freedesktop/stereo";

std::optional<fs::path> find_theme_file(const std::string& name) {
    std::error_code error;
    fs::path file = theme_folder / (name + ".oga");
    if (!fs::is_regular_file(file, error)) return std::nullopt;
    return file;
}

std::vector<ca_context*>& contexts_kept_to_exit() {
    static auto* kept = new std::vector<ca_context*>;
    return *kept;
}

}  // namespace

// The folder is read with readdir, which gives names without making a path of each: the diary
// folder may hold a hundred thousand entries, and this runs at every start with an alarm.
std::optional<fs::path> find_file_ignoring_case(const fs::path& folder, std::string_view name) {
    std::error_code error;
    if (fs::is_regular_file(folder / name, error)) return folder / name;
    const std::unique_ptr<DIR, int (*)(DIR*)> stream(::opendir(folder.c_str()), ::closedir);
    if (!stream) return std::nullopt;
    std::optional<std::string> found;
    while (const dirent* item = ::readdir(stream.get())) {
        const std::string_view candidate = item->d_name;
        if (!equal_ignoring_case(candidate, name) || !fs::is_regular_file(folder / candidate, error)) continue;
        if (!found || candidate < *found) found = std::string(candidate);
    }
    if (!found) return std::nullopt;
    return folder / *found;
}

CanberraSoundPlayer::CanberraSoundPlayer(fs::path diary_folder) : m_folder(std::move(diary_folder)) {}

// libcanberra 0.30 unloads its sound driver when a context is destroyed, while the thread of a
// sound that has just ended may still be running the driver's code: the process crashes now and
// then. A context that has started a sound is therefore kept, reachable, to the end of the process.
CanberraSoundPlayer::~CanberraSoundPlayer() {
    if (!m_context) return;
    if (m_started_a_sound) {
        contexts_kept_to_exit().push_back(m_context);
    } else {
        canberra_library()->context_destroy(m_context);
    }
}

bool CanberraSoundPlayer::play(const SoundRequest& request) {
    if (!output_reachable()) return false;
    switch (request.kind) {
    case SoundRequest::Kind::user_file:
        return play_file(find_file_ignoring_case(m_folder, request.name));
    case SoundRequest::Kind::theme_file:
        return play_file(find_theme_file(request.name));
    case SoundRequest::Kind::theme_event:
        return play_event(request.name);
    }
    return false;
}

bool CanberraSoundPlayer::output_may_exist() const {
    return sound_output_may_exist(sound_output_places_from_environment());
}

bool CanberraSoundPlayer::output_reachable() {
    if (!m_output_reachable) {
        m_output_reachable = output_may_exist();
        if (!*m_output_reachable)
            std::fputs("Daybrook: no sound card or sound server was found, so sounds are off.\n", stderr);
    }
    return *m_output_reachable;
}

// A missing file fails here, before the sound system is asked.
bool CanberraSoundPlayer::play_file(const std::optional<fs::path>& file) {
    if (!file) return false;
    std::error_code error;
    const fs::path absolute = fs::absolute(*file, error);
    ca_context* sounds = error ? nullptr : context();
    return sounds && started(canberra_library()->play(sounds, 0, CA_PROP_MEDIA_FILENAME, absolute.c_str(), nullptr));
}

bool CanberraSoundPlayer::play_event(const std::string& event_id) {
    ca_context* sounds = context();
    return sounds && started(canberra_library()->play(sounds, 0, CA_PROP_EVENT_ID, event_id.c_str(), nullptr));
}

bool CanberraSoundPlayer::started(int play_result) {
    if (play_result == CA_SUCCESS) m_started_a_sound = true;
    return play_result == CA_SUCCESS;
}

ca_context* CanberraSoundPlayer::context() {
    if (m_context) return m_context;
    const CanberraLibrary* library = canberra_library();
    if (!library || library->context_create(&m_context) != CA_SUCCESS) return m_context = nullptr;
    library->change_props(m_context, CA_PROP_APPLICATION_NAME, "Daybrook", nullptr);
    return m_context;
}

}  // namespace daybrook
