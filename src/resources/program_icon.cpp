#include "resources/program_icon.h"

namespace daybrook {
namespace {
#include "resources/icons/daybrook-32.xpm"
}  // namespace

const char* const* program_icon_xpm() { return daybrook_32_xpm; }

}  // namespace daybrook
