// Changing a few values of one section of an INI text while every other byte stays as it was:
// other sections, comments, lines without "=", spacing and line ends. The settings file may be
// shared with other programs or kept by hand, so the diary changes only what it owns.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace daybrook {

struct IniValue {
    std::string_view key;
    std::string value;
};

// The text with each key of `section` set to its value. Lines, sections and keys are taken as
// the settings reader takes them: lines end at "\r\n", "\n" or a lone "\r"; a header's name may
// start on a later line than its "[" and needs its "]" on its own line; a UTF-8 signature at the
// start is no part of the first line; names match without regard to letter case and to spaces
// around them. Every line of a key that is there has its value replaced (text after "=" and the
// spaces after it); missing keys are added after the section's last line, and a missing section
// is added at the end (before a header still waiting for its name there) under the name given.
std::string set_ini_values(std::string_view text, std::string_view section, const std::vector<IniValue>& values);

}  // namespace daybrook
