// Sets an environment variable (or removes it, for a null value) for one
// scope and restores the old value; time-zone changes take effect at once.
#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace tova::testing {

class TScopedEnv {
public:
    TScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        value ? setenv(name, value, 1) : unsetenv(name);
        tzset();
    }
    TScopedEnv(const char* name, const std::string& value) : TScopedEnv(name, value.c_str()) {}
    ~TScopedEnv() {
        old_ ? setenv(name_.c_str(), old_->c_str(), 1) : unsetenv(name_.c_str());
        tzset();
    }
    TScopedEnv(const TScopedEnv&) = delete;
    TScopedEnv& operator=(const TScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

}  // namespace tova::testing
