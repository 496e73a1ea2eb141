#pragma once
// Answers and request heads the engine tests script their loopback servers with.
#include <string>

namespace dorvanel::test {

// A 200 with a length and `body`, the extra header lines (each ending in CR LF) before the empty line.
inline std::string ok(const std::string& body, const std::string& headers = {}) {
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" + headers + "\r\n" + body;
}

// The head the program's settings produce for a GET of `target` on 127.0.0.1:port.
inline std::string expectedHead(int port, const std::string& target, const std::string& extra = {}) {
    return "GET " + target + " HTTP/1.1\r\nContent-Type: text/html\r\nHost: 127.0.0.1:" + std::to_string(port) +
           "\r\nAccept: text/html, */*\r\nUser-Agent: Mozilla/3.0 (compatible; Dorvanel)\r\n" + extra + "\r\n";
}

}  // namespace dorvanel::test
