#include "http/net_stack.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <mutex>

#include "http/exceptions.h"
#include "http/net_text.h"

namespace dorvanel::http {

namespace {

struct ErrnoCode {
    int err;
    int32_t code;
};

// errno to the numbers of the socket error table; EPIPE and ESHUTDOWN both mean "sent after the close".
constexpr ErrnoCode kErrnoCodes[] = {
    {EINTR, 10004},         {EBADF, 10009},        {EACCES, 10013},          {EFAULT, 10014},
    {EINVAL, 10022},        {EMFILE, 10024},       {EWOULDBLOCK, 10035},     {EINPROGRESS, 10036},
    {EALREADY, 10037},      {ENOTSOCK, 10038},     {EDESTADDRREQ, 10039},    {EMSGSIZE, 10040},
    {EPROTOTYPE, 10041},    {ENOPROTOOPT, 10042},  {EPROTONOSUPPORT, 10043}, {ESOCKTNOSUPPORT, 10044},
    {EOPNOTSUPP, 10045},    {EPFNOSUPPORT, 10046}, {EAFNOSUPPORT, 10047},    {EADDRINUSE, 10048},
    {EADDRNOTAVAIL, 10049}, {ENETDOWN, 10050},     {ENETUNREACH, 10051},     {ENETRESET, 10052},
    {ECONNABORTED, 10053},  {ECONNRESET, 10054},   {ENOBUFS, 10055},         {EISCONN, 10056},
    {ENOTCONN, 10057},      {ESHUTDOWN, 10058},    {EPIPE, 10058},           {ETOOMANYREFS, 10059},
    {ETIMEDOUT, 10060},     {ECONNREFUSED, 10061}, {ELOOP, 10062},           {ENAMETOOLONG, 10063},
    {EHOSTDOWN, 10064},     {EHOSTUNREACH, 10065}, {ENOTEMPTY, 10066},
};

std::mutex& stackLock() {
    static std::mutex lock;
    return lock;
}

TNetStack* gStack = nullptr;
int gInstances = 0;

std::mutex& lookupLock() {
    static std::mutex lock;
    return lock;
}

TNetStack::THostLookup& lookupHook() {
    static TNetStack::THostLookup hook;
    return hook;
}

std::string systemLookup(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int rc = ::getaddrinfo(host.c_str(), nullptr, &hints, &found);
    if (rc != 0 || found == nullptr) {
        const int32_t code = rc != 0 ? SocketCodeFromLookup(rc) : 11001;
        throw ENetSocketError(code);
    }
    char text[INET_ADDRSTRLEN] = {};
    const auto* addr = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    ::inet_ntop(AF_INET, &addr->sin_addr, text, sizeof text);
    ::freeaddrinfo(found);
    return text;
}

}  // namespace

int32_t SocketCodeFromErrno(int err) {
    for (const auto& entry : kErrnoCodes) {
        if (entry.err == err) return entry.code;
    }
    return err;
}

int32_t SocketCodeFromLookup(int gaiResult) {
    switch (gaiResult) {
        case EAI_AGAIN:
            return 11002;  // a temporary failure of the name service
        case EAI_SYSTEM:
            return SocketCodeFromErrno(errno);
        case EAI_MEMORY:
            return 10055;
        default:
            return 11001;
    }
}

void RaiseSocketError(int err) { throw ENetSocketError(SocketCodeFromErrno(err)); }

bool IsDottedIP(const std::string& host) {
    int fields = 0;
    size_t i = 0;
    while (true) {
        size_t digits = 0;
        int value = 0;
        while (i < host.size() && host[i] >= '0' && host[i] <= '9') {
            value = value * 10 + (host[i] - '0');
            if (value > 255) return false;
            ++i;
            ++digits;
        }
        if (digits == 0) return false;
        ++fields;
        if (i == host.size()) return fields == 4;
        if (host[i] != '.' || fields == 4) return false;
        ++i;
    }
}

TNetStack& TNetStack::Acquire() {
    std::lock_guard<std::mutex> guard(stackLock());
    if (gInstances++ == 0) gStack = new TNetStack();
    return *gStack;
}

void TNetStack::Release() {
    std::lock_guard<std::mutex> guard(stackLock());
    if (gInstances > 0 && --gInstances == 0) {
        delete gStack;
        gStack = nullptr;
    }
}

int TNetStack::InstanceCount() {
    std::lock_guard<std::mutex> guard(stackLock());
    return gInstances;
}

std::string TNetStack::ResolveHostName(const std::string& host) { return LookUpHost(host); }

std::string LookUpHost(const std::string& host) {
    if (SameText(host, "LOCALHOST")) return "127.0.0.1";
    if (IsDottedIP(host)) return host;
    TNetStack::THostLookup lookup;
    {
        std::lock_guard<std::mutex> guard(lookupLock());
        lookup = lookupHook();
    }
    return lookup ? lookup(host) : systemLookup(host);
}

void TNetStack::SetHostLookup(THostLookup lookup) {
    std::lock_guard<std::mutex> guard(lookupLock());
    lookupHook() = std::move(lookup);
}

}  // namespace dorvanel::http
