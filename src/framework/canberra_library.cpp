#include "framework/canberra_library.h"

#include <dlfcn.h>

#include <optional>

namespace daybrook {
namespace {

template <typename Function>
bool resolve(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(::dlsym(library, name));
    return function != nullptr;
}

std::optional<CanberraLibrary> open_library() {
    void* library = ::dlopen("libcanberra.so.0", RTLD_NOW | RTLD_LOCAL);
    CanberraLibrary functions;
    if (library && resolve(library, "ca_context_create", functions.context_create) &&
        resolve(library, "ca_context_destroy", functions.context_destroy) &&
        resolve(library, "ca_context_change_props", functions.change_props) &&
        resolve(library, "ca_context_play", functions.play))
        return functions;
    return std::nullopt;
}

}  // namespace

const CanberraLibrary* canberra_library() {
    static const std::optional<CanberraLibrary> opened = open_library();
    return opened ? &*opened : nullptr;
}

}  // namespace daybrook
