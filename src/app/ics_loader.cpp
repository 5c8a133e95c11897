#include "app/ics_loader.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace daybrook {

std::variant<const IcsModule*, std::string> load_ics_module() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return "the program cannot tell where it is installed (" + error.message() + ")";
    const std::filesystem::path path = program.parent_path() / DAYBROOK_ICS_MODULE_DIR / ics_module_file;
    // Never closed: the command that loads it uses it until the program ends.
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) return std::string(::dlerror());
    const void* module = ::dlsym(handle, ics_module_symbol);
    if (module == nullptr) return path.string() + " is not Daybrook's iCalendar module";
    return static_cast<const IcsModule*>(module);
}

}  // namespace daybrook
