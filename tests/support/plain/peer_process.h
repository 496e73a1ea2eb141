#pragma once
// Reference servers no one here wrote (nginx, tinyproxy) run as child processes on a loopback port.
#include <sys/types.h>

#include <string>
#include <vector>

namespace dorvanel::test {

// A port the system hands out now; the peer binds it right after, so another taker is unlikely.
int FreeLoopbackPort();

// Starts `argv` (its output to /dev/null) and waits until it accepts on 127.0.0.1:port. Throws
// std::runtime_error naming `what` when it ends or does not come up within 10 s.
pid_t StartPeerProcess(const std::vector<std::string>& argv, int port, const std::string& what);
// Ends it and waits for it.
void StopPeerProcess(pid_t pid);

}  // namespace dorvanel::test
