// A fuzz input as a command line: the arguments after the program's name, each ended by a zero
// byte (the last one by the end of the input), as the system passes them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace daybrook_fuzz {

inline std::vector<std::string_view> arguments_of(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string_view> arguments;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\0');
        arguments.push_back(rest.substr(0, end));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }
    return arguments;
}

}  // namespace daybrook_fuzz
