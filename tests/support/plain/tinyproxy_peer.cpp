#include "support/plain/tinyproxy_peer.h"

#include <unistd.h>

#include <fstream>

#include "support/plain/peer_process.h"

namespace dorvanel::test {

bool TinyproxyPeer::Available() { return ::access(kBinary, X_OK) == 0; }

TinyproxyPeer::TinyproxyPeer(const std::string& folder) : folder_(folder) {
    port_ = FreeLoopbackPort();
    const std::string conf = folder_ + "/tinyproxy.conf";
    {
        std::ofstream out(conf);
        out << "Port " << port_ << "\nListen 127.0.0.1\nTimeout 60\nMaxClients 20\nAllow 127.0.0.1\n"
            << "LogLevel Info\nLogFile \"" << folder_ << "/tinyproxy.log\"\n";
    }
    pid_ = StartPeerProcess({kBinary, "-d", "-c", conf}, port_, "tinyproxy");
}

TinyproxyPeer::~TinyproxyPeer() { StopPeerProcess(pid_); }

std::vector<std::string> TinyproxyPeer::RequestLines() const {
    std::ifstream in(folder_ + "/tinyproxy.log");
    std::vector<std::string> lines;
    const std::string marker = "]: Request (file descriptor ";
    for (std::string line; std::getline(in, line);) {
        const size_t at = line.find(marker);
        if (at == std::string::npos) continue;
        const size_t colon = line.find("): ", at);
        if (colon != std::string::npos) lines.push_back(line.substr(colon + 3));
    }
    return lines;
}

}  // namespace dorvanel::test
