#pragma once
// Sockets on 127.0.0.1 for test peers: the only address the tests ever use.
#include <netinet/in.h>

namespace dorvanel::test {

sockaddr_in LoopbackAddress(int port);
// Binds `fd` to 127.0.0.1 on a port the system picks and returns that port.
int BindLoopback(int fd);
// True when something accepts a connection on 127.0.0.1:port.
bool LoopbackAccepts(int port);

}  // namespace dorvanel::test
