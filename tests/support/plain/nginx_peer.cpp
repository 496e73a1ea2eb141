#include "support/plain/nginx_peer.h"

#include "support/plain/peer_process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace dorvanel::test {

bool NginxPeer::Available() { return ::access(kBinary, X_OK) == 0; }

NginxPeer::NginxPeer(const std::string& folder, const std::string& extraServerLines, const std::string& listenOptions)
    : folder_(folder) {
    ::mkdir((folder_ + "/www").c_str(), 0755);
    ::mkdir((folder_ + "/temp").c_str(), 0755);
    port_ = FreeLoopbackPort();
    const std::string conf = folder_ + "/nginx.conf";
    {
        std::ofstream out(conf);
        out << "daemon off;\nmaster_process off;\nworker_processes 1;\n"
            << "pid " << folder_ << "/nginx.pid;\nerror_log " << folder_ << "/error.log;\n"
            << "events { worker_connections 256; }\n"
            << "http {\n  access_log off;\n  default_type application/octet-stream;\n"
            << "  client_body_temp_path " << folder_ << "/temp/body;\n"
            << "  proxy_temp_path " << folder_ << "/temp/proxy;\n"
            << "  fastcgi_temp_path " << folder_ << "/temp/fastcgi;\n"
            << "  uwsgi_temp_path " << folder_ << "/temp/uwsgi;\n"
            << "  scgi_temp_path " << folder_ << "/temp/scgi;\n"
            << "  server {\n    listen 127.0.0.1:" << port_ << (listenOptions.empty() ? "" : " " + listenOptions)
            << ";\n    root " << folder_ << "/www;\n"
            << "    absolute_redirect off;\n"
            << extraServerLines << "\n  }\n}\n";
    }
    pid_ = StartPeerProcess({kBinary, "-p", folder_, "-c", conf}, port_, "nginx (see " + folder_ + "/error.log)");
}

NginxPeer::~NginxPeer() { StopPeerProcess(pid_); }

std::string NginxPeer::Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

std::string NginxPeer::SecureUrl(const std::string& path, const std::string& host) const {
    return "https://" + host + ":" + std::to_string(port_) + path;
}

}  // namespace dorvanel::test
