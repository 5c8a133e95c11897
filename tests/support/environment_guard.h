// Sets environment variables for one test and puts back what was there before, also when the
// variable was not set at all.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace daybrook::testing {

class EnvironmentGuard {
public:
    using Values = std::vector<std::pair<std::string, std::string>>;

    explicit EnvironmentGuard(const Values& values) {
        for (const auto& [name, value] : values) {
            const char* old = std::getenv(name.c_str());
            m_saved.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
            setenv(name.c_str(), value.c_str(), 1);
        }
    }
    ~EnvironmentGuard() {
        for (const auto& [name, old] : m_saved) {
            if (old) setenv(name.c_str(), old->c_str(), 1);
            else unsetenv(name.c_str());
        }
    }
    EnvironmentGuard(const EnvironmentGuard&) = delete;
    EnvironmentGuard& operator=(const EnvironmentGuard&) = delete;

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

}  // namespace daybrook::testing
