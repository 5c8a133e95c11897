// libcanberra, opened when the first sound plays instead of being linked: a glance at login
// without an alarm is spared loading it and the five libraries it brings (decoders, a database,
// a module loader), a few percent of the whole start.
#pragma once

#include <canberra.h>

namespace daybrook {

// The functions the sound player calls, as the library's header declares them.
struct CanberraLibrary {
    decltype(&ca_context_create) context_create = nullptr;
    decltype(&ca_context_destroy) context_destroy = nullptr;
    decltype(&ca_context_change_props) change_props = nullptr;
    decltype(&ca_context_play) play = nullptr;
};

// Opens the library on the first call and keeps it open to the end of the process, since a
// sound may still be playing on its threads. Nothing when the library or one of its functions
// is missing: then no sound can start.
const CanberraLibrary* canberra_library();

}  // namespace daybrook
