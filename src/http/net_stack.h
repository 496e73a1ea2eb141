#pragma once
// The one process-wide stack object through which the client reaches the system's sockets. It lives from the
// first TNetComponent to the last; on POSIX there is no library to start, but the instance count still
// decides its life so that every component sees the same object.
#include <cstdint>
#include <functional>
#include <string>

namespace dorvanel::http {

// The error number a socket failure is reported with: errno values map to the 100xx numbers the program's
// messages use (ECONNREFUSED 10061, ECONNRESET 10054, EPIPE 10058, ...); an errno without an equivalent is
// passed on as it is.
int32_t SocketCodeFromErrno(int err);

// A failed name lookup (a getaddrinfo result) as a socket error number: a name that does not resolve is 11001.
int32_t SocketCodeFromLookup(int gaiResult);

// Throws ENetSocketError for the current errno.
[[noreturn]] void RaiseSocketError(int err);

// True for four "."-separated fields, each a decimal number from 0 to 255.
bool IsDottedIP(const std::string& host);

// What ResolveHostName does, callable without the stack object (a lookup thread may outlive it).
std::string LookUpHost(const std::string& host);

class TNetStack {
public:
    // The stack object, created by the first caller; Release drops one reference.
    static TNetStack& Acquire();
    static void Release();
    static int InstanceCount();

    // "LOCALHOST" in any case gives "127.0.0.1", a dotted address is kept as it is, anything else is looked
    // up and the first IPv4 address comes back as dotted text. Fails with ENetSocketError (11001 for a name
    // that does not resolve).
    std::string ResolveHostName(const std::string& host);

    // The system's name lookup (getaddrinfo), replaceable by tests so that no test ever asks a name server:
    // the hook gets the host name and returns a dotted address or throws ENetSocketError. An empty hook
    // restores the system's lookup. The hook may run on a lookup thread.
    using THostLookup = std::function<std::string(const std::string& host)>;
    static void SetHostLookup(THostLookup lookup);

private:
    TNetStack() = default;
};

}  // namespace dorvanel::http
