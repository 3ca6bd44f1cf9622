#include "private-network/PrivateNamespaces.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zorvek {
namespace {

bool g_entered = false;
std::string g_problem = "the private namespaces were not asked for";

std::string failure(const char* what)
{
    return std::string(what) + ": " + std::strerror(errno);
}

bool bringLoopbackUp(std::string* problem)
{
    const int sock = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (sock < 0) {
        *problem = failure("socket for the loopback");
        return false;
    }
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    bool ok = ::ioctl(sock, SIOCGIFFLAGS, &request) == 0;
    if (ok) {
        request.ifr_flags |= IFF_UP;
        ok = ::ioctl(sock, SIOCSIFFLAGS, &request) == 0;
    }
    if (!ok)
        *problem = failure("bringing the loopback up");
    ::close(sock);
    return ok;
}

} // namespace

bool EnterPrivateNamespaces()
{
    if (::geteuid() != 0) {
        g_problem = "private mount and network namespaces need root (the tests run as root in CI)";
        return false;
    }
    if (::unshare(CLONE_NEWNS | CLONE_NEWNET) != 0) {
        g_problem = failure("unshare(CLONE_NEWNS | CLONE_NEWNET)");
        return false;
    }
    // Mounts made from now on stay in this process's namespace.
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        g_problem = failure("making the mounts private");
        return false;
    }
    if (!bringLoopbackUp(&g_problem))
        return false;
    g_entered = true;
    g_problem.clear();
    return true;
}

bool PrivateNamespacesEntered()
{
    return g_entered;
}

const std::string& PrivateNamespacesProblem()
{
    return g_problem;
}

ScopedBindMount::~ScopedBindMount()
{
    unmount();
}

bool ScopedBindMount::mount(const QString& source, const QString& target, bool readOnly, std::string* problem)
{
    unmount();
    if (!g_entered) {
        *problem = "not in a private mount namespace: " + g_problem;
        return false;
    }
    const QByteArray from = source.toLocal8Bit();
    const QByteArray to = target.toLocal8Bit();
    if (::mount(from.constData(), to.constData(), nullptr, MS_BIND, nullptr) != 0) {
        *problem = failure("bind mount");
        return false;
    }
    // A bind mount takes the read-only flag only on a remount of itself.
    if (readOnly &&
        ::mount(nullptr, to.constData(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
        *problem = failure("read-only remount");
        ::umount2(to.constData(), MNT_DETACH);
        return false;
    }
    m_target = to;
    return true;
}

void ScopedBindMount::unmount()
{
    if (!m_target.isEmpty())
        ::umount2(m_target.constData(), MNT_DETACH);
    m_target.clear();
}

} // namespace zorvek
