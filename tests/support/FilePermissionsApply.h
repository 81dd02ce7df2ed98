#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

// For the object's lifetime the calling thread loses the superuser's power to ignore file
// permissions and ownership, so that a test of a mode-000 or read-only file means the same
// whether it runs as root (as in the container) or as a user. Without those powers in the
// first place it changes nothing.
class CFilePermissionsApply {
public:
    CFilePermissionsApply()
    {
        m_bSaved = Get(m_saved);
        if (!m_bSaved)
            return;
        __user_cap_data_struct reduced[2] = { m_saved[0], m_saved[1] };
        reduced[0].effective &= ~kOverrides;
        Set(reduced);
    }
    ~CFilePermissionsApply()
    {
        if (m_bSaved)
            Set(m_saved);
    }
    CFilePermissionsApply(const CFilePermissionsApply&) = delete;
    CFilePermissionsApply& operator=(const CFilePermissionsApply&) = delete;

private:
    static constexpr unsigned kOverrides = (1u << CAP_CHOWN) | (1u << CAP_DAC_OVERRIDE)
        | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);

    static bool Get(__user_cap_data_struct (&data)[2])
    {
        __user_cap_header_struct header { _LINUX_CAPABILITY_VERSION_3, 0 };
        return ::syscall(SYS_capget, &header, data) == 0;
    }
    static void Set(__user_cap_data_struct (&data)[2])
    {
        __user_cap_header_struct header { _LINUX_CAPABILITY_VERSION_3, 0 };
        ::syscall(SYS_capset, &header, data);
    }

    __user_cap_data_struct m_saved[2] {};
    bool m_bSaved = false;
};
