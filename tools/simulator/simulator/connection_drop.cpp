#include "simulator/connection_drop.h"

#include <dirent.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdlib>
#include <string_view>

namespace marvolt::sim {

namespace {

int PortOf(const sockaddr_storage& address) {
    if (address.ss_family == AF_INET) {
        return ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port);
    }
    if (address.ss_family == AF_INET6) {
        return ntohs(reinterpret_cast<const sockaddr_in6&>(address).sin6_port);
    }
    return -1;
}

bool Connects(int fd, int localPort, int remotePort) {
    sockaddr_storage local{};
    sockaddr_storage remote{};
    socklen_t localLength = sizeof local;
    socklen_t remoteLength = sizeof remote;
    return getsockname(fd, reinterpret_cast<sockaddr*>(&local), &localLength) == 0 &&
           getpeername(fd, reinterpret_cast<sockaddr*>(&remote), &remoteLength) == 0 &&
           PortOf(local) == localPort && PortOf(remote) == remotePort;
}

}  // namespace

bool DropConnection(int localPort, int remotePort) {
    DIR* directory = opendir("/proc/self/fd");
    if (directory == nullptr) {
        return false;
    }
    bool dropped = false;
    while (const dirent* entry = readdir(directory)) {
        const std::string_view name = entry->d_name;
        if (name.empty() || name[0] < '0' || name[0] > '9') {
            continue;
        }
        const int fd = std::atoi(entry->d_name);
        if (fd != dirfd(directory) && Connects(fd, localPort, remotePort)) {
            // Shut down, not closed: the server still owns the descriptor and closes it.
            dropped = shutdown(fd, SHUT_RDWR) == 0;
            break;
        }
    }
    closedir(directory);
    return dropped;
}

}  // namespace marvolt::sim
