// A folder in which no file can be made while the object lives, for the test
// process and the programs it starts, even when the tests run as root: the
// folder loses its write permission, and root gives up the capability that
// overrides file modes (and, through the "no root" security bit, does not get
// it back in programs it starts). Both come back at the end of the scope.
// Tests of what the player does when it may not write use it.
#pragma once

#include <linux/capability.h>
#include <linux/securebits.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>
#include <string>

namespace tova::testing {

class TReadOnlyFolder {
public:
    explicit TReadOnlyFolder(std::string path) : path_(std::move(path)) {
        if (::chmod(path_.c_str(), 0555) != 0)
            throw std::runtime_error("cannot make " + path_ + " read-only");
        if (::geteuid() == 0) {
            securebits_ = ::prctl(PR_GET_SECUREBITS);
            if (!GetCapabilities(saved_) || ::prctl(PR_SET_SECUREBITS, securebits_ | SECBIT_NOROOT) != 0)
                throw std::runtime_error("root cannot give up its file capabilities here");
            TCapabilities dropped = saved_;
            dropped.data[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
            if (!SetCapabilities(dropped)) throw std::runtime_error("cannot drop CAP_DAC_OVERRIDE");
            dropped_ = true;
        }
        const std::string probe = path_ + "/probe";
        if (FILE* file = std::fopen(probe.c_str(), "w")) {
            std::fclose(file);
            std::remove(probe.c_str());
            Restore();
            throw std::runtime_error(path_ + " is still writable");
        }
    }
    ~TReadOnlyFolder() { Restore(); }
    TReadOnlyFolder(const TReadOnlyFolder&) = delete;
    TReadOnlyFolder& operator=(const TReadOnlyFolder&) = delete;

private:
    void Restore() {
        if (dropped_) {
            SetCapabilities(saved_);
            ::prctl(PR_SET_SECUREBITS, securebits_);
            dropped_ = false;
        }
        ::chmod(path_.c_str(), 0755);
    }

    struct TCapabilities {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[2]{};
    };
    static bool GetCapabilities(TCapabilities& caps) {
        return ::syscall(SYS_capget, &caps.header, caps.data) == 0;
    }
    static bool SetCapabilities(TCapabilities& caps) {
        return ::syscall(SYS_capset, &caps.header, caps.data) == 0;
    }

    std::string path_;
    TCapabilities saved_;
    int securebits_ = 0;
    bool dropped_ = false;
};

}  // namespace tova::testing
