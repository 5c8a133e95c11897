// libical's parse of a calendar file's text, in time that grows in proportion to the text.
// libical's own string reader looks for the next line end in the whole rest of the text for
// every 80 bytes it hands the parser, which costs time growing with the square of a long line's
// length (a 20 MB summary took half a minute); this reader hands it the same lines directly.
#pragma once

#include <string_view>

#include "ics/ical_handle.h"

namespace daybrook {

// The components libical reads in `text`, or nothing when it reads none. Lines end at a line
// feed only, as file_shape (file_shape.h) reads them; libical leaves out a carriage return
// before it. The text holds no zero byte.
IcalComponent parse_ical(std::string_view text);

}  // namespace daybrook
