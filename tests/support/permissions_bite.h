// File permissions that hold for the test even when it runs as root: while the guard lives, the
// calling thread lacks the two capabilities that let root read and search past them. They come
// back when the guard goes. As an ordinary user the guard changes nothing.
#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <stdexcept>

namespace daybrook::testing {

class PermissionsBite {
public:
    PermissionsBite() {
        if (::syscall(SYS_capget, &m_header, m_saved) != 0) throw std::runtime_error("capget failed");
        __user_cap_data_struct lowered[2] = {m_saved[0], m_saved[1]};
        lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        if (::syscall(SYS_capset, &m_header, lowered) != 0) throw std::runtime_error("capset failed");
    }
    ~PermissionsBite() { ::syscall(SYS_capset, &m_header, m_saved); }
    PermissionsBite(const PermissionsBite&) = delete;
    PermissionsBite& operator=(const PermissionsBite&) = delete;

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
};

}  // namespace daybrook::testing
