#pragma once

namespace marvolt::sim {

// Shuts down this process's TCP connection between the two local ports, so its peer sees
// the connection end without an answer. The HTTP server hides a request's socket from its
// handler; the ports of both ends name it uniquely on loopback. Returns false when no such
// connection is open.
bool DropConnection(int localPort, int remotePort);

}  // namespace marvolt::sim
