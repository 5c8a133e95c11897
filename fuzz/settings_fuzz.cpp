// The settings file: reading any text, and saving the diary's three keys into it. The input's
// last bytes choose the values saved and today; the rest is the file's text.
#include <fuzzer/FuzzedDataProvider.h>

#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "calendar/text_helpers.h"
#include "config/ini_text.h"
#include "config/settings.h"
#include "fuzz_check.h"

namespace {

using namespace daybrook;

bool diarys_own(const std::string& section, const std::string& key) {
    return section == "daybrook" && (key == "sounds" || key == "keepcode" || key == "lastset");
}

// Every value an INI reader finds in the text, by section and key (both without letter case),
// except the diary's own three. A section name that runs over a line end is none a file can
// name: the reader takes it from a header without its ']'.
std::map<std::pair<std::string, std::string>, std::string> other_values(const std::string& text) {
    CSimpleIniA ini;
    FUZZ_CHECK(ini.LoadData(text) >= 0);
    std::map<std::pair<std::string, std::string>, std::string> values;
    CSimpleIniA::TNamesDepend sections;
    ini.GetAllSections(sections);
    for (const auto& section : sections) {
        const std::string section_name = ascii_lower(section.pItem);
        if (section_name.find_first_of("\r\n") != std::string::npos) continue;
        CSimpleIniA::TNamesDepend keys;
        ini.GetAllKeys(section.pItem, keys);
        for (const auto& key : keys) {
            const std::string key_name = ascii_lower(key.pItem);
            if (!diarys_own(section_name, key_name))
                values[{section_name, key_name}] = ini.GetValue(section.pItem, key.pItem, "");
        }
    }
    return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const Settings wanted{
        .keep_code = KeepCode{input.ConsumeIntegral<int>()},
        .last_set = input.ConsumeIntegral<DayNumber>(),
        .sounds_on = input.ConsumeBool(),
    };
    const DayNumber today = input.ConsumeIntegral<DayNumber>();
    const std::string text = input.ConsumeRemainingBytesAsString();

    // Any text is read but one with a zero byte or another control character than a text's
    // own (tab, line ends, form feed, DOS's end-of-file mark), which is refused.
    const std::variant<Settings, SettingsProblem> read = parse_settings(text, today, "WYNDALE.INI");
    const bool zero = text.find('\0') != std::string::npos;
    const bool control = std::any_of(text.begin(), text.end(), [](unsigned char c) {
        return (c < 0x20 && std::string_view("\t\n\v\f\r\x1a").find(char(c)) == std::string_view::npos) || c == 0x7f;
    });
    FUZZ_CHECK(std::holds_alternative<Settings>(read) == !(zero || control));
    if (zero || control) {
        FUZZ_CHECK(std::get<SettingsProblem>(read).reason ==
                   (zero ? "WYNDALE.INI holds a zero byte" : "WYNDALE.INI is not a text file"));
        return 0;
    }

    // Saving the three keys as SettingsFile::write does: they read back exactly, a second save
    // changes nothing, and every other value stays as it was.
    const std::vector<IniValue> values = {
        {"Sounds", wanted.sounds_on ? "1" : "0"},
        {"KeepCode", std::to_string(static_cast<int>(wanted.keep_code))},
        {"LastSet", std::to_string(wanted.last_set)},
    };
    const std::string saved = set_ini_values(text, "daybrook", values);
    const std::variant<Settings, SettingsProblem> read_back = parse_settings(saved, today, "WYNDALE.INI");
    FUZZ_CHECK(std::holds_alternative<Settings>(read_back));
    FUZZ_CHECK(std::get<Settings>(read_back) == wanted);
    FUZZ_CHECK(set_ini_values(saved, "daybrook", values) == saved);
    FUZZ_CHECK(other_values(saved) == other_values(text));
    return 0;
}
