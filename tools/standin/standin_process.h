#pragma once
// The stand-in web services as a child process on a free loopback port, for tests that need real transfers:
// started with the options given, stopped (SIGTERM, then waited for) when the object goes. Plain POSIX.
#include <string>
#include <vector>

namespace dorvanel::standin {

// Where the build put dorvanel-standin (test programs are compiled knowing the build folder).
#ifdef DORVANEL_BINARY_DIR
inline std::string StandinProgramPath() { return DORVANEL_BINARY_DIR "/tools/standin/dorvanel-standin"; }
#endif

class StandinServer {
public:
    // Starts dorvanel-standin on port 0 with `options` (e.g. {"--captcha", "never"}) and waits for the line
    // naming its port. Throws std::runtime_error when it does not start.
#ifdef DORVANEL_BINARY_DIR
    explicit StandinServer(const std::vector<std::string>& options = {})
        : StandinServer(StandinProgramPath(), options) {}
#endif
    StandinServer(const std::string& program, const std::vector<std::string>& options);
    ~StandinServer();
    StandinServer(const StandinServer&) = delete;
    StandinServer& operator=(const StandinServer&) = delete;

    int port() const { return port_; }
    std::string hostPort() const { return "127.0.0.1:" + std::to_string(port_); }

    // The service's characters for security image `random` (empty: the latest), through its test path.
    std::string captchaText(const std::string& random = "");
    // The request targets served so far, one per element; `clear` empties the stand-in's list.
    std::vector<std::string> requests(bool clear = false);
    // The faults made so far, "NAME TARGET" each; `clear` empties the stand-in's list.
    std::vector<std::string> faults(bool clear = false);
    // Changes settings while it runs, e.g. "delay=500&delay-for=yahoo". Throws when the stand-in refuses.
    void configure(const std::string& query);

private:
    std::vector<std::string> lines(const std::string& path, bool clear);

    int pid_ = -1;
    int port_ = 0;
};

// One GET on a new connection to 127.0.0.1:port with "Connection: close", extra header lines (each ending
// in CR LF) after Host; returns every byte the server sent until it closed. Throws std::runtime_error when
// the connection fails.
std::string RawGet(int port, const std::string& target, const std::string& extraHeaders = "");

// The body of a raw response without chunked framing (status line and headers dropped).
std::string BodyOf(const std::string& response);

}  // namespace dorvanel::standin
