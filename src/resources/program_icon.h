// The program's icon as the window shows it: 32 x 32 pixels in the four flat colours of icon 1.
#pragma once

namespace daybrook {

// XPM lines, which QPixmap reads without an image plugin or decoder.
const char* const* program_icon_xpm();

}  // namespace daybrook
