// Opens the iCalendar module, which stands at a fixed place relative to the program: the import
// and export of calendar files are there, with libical.
#pragma once

#include <string>
#include <variant>

#include "sync/ics_module.h"

namespace daybrook {

// The module's functions, or why it cannot be used: it is missing, or it is not the module.
std::variant<const IcsModule*, std::string> load_ics_module();

}  // namespace daybrook
