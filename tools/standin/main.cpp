// dorvanel-standin: answers every request Dorvanel makes of the keyword-suggestion service, the three search
// engines and the affiliate site, on 127.0.0.1, with pages that carry the markers the program cuts.
//
// One port serves every service; the paths do not collide except "/search", which Google asks with "q" and
// Yahoo with "p". Each engine sends its body a different way: Google chunked, Yahoo with a Content-Length
// after one redirect, MSN until the connection closes.
#include <httplib.h>

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <charconv>
#include <condition_variable>
#include <cstdint>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <thread>

#include "standin/captcha_image.h"
#include "standin/faults.h"
#include "standin/options.h"
#include "standin/pages.h"

namespace dorvanel::standin {
namespace {

constexpr std::string_view kCookieName = "kwsession";
constexpr std::string_view kCaptchaAlphabet = "ABCDEFGHJKLMNPRSTUVWXYZ23456789";
constexpr size_t kCaptchaLength = 5;
// Beyond these, one remembered image or session is dropped for each new one, so a client in a loop cannot
// make the stand-in grow without end.
constexpr size_t kMaxChallenges = 10000;
constexpr size_t kMaxSessions = 10000;
constexpr size_t kMaxLoggedRequests = 100000;
constexpr auto kTrickleByteGap = std::chrono::milliseconds(50);

// The socket of the connection `req` came on. httplib does not hand it to handlers, so it is found among the
// process's sockets by the connection's two ports; -1 when it is not there.
int connectionOf(const httplib::Request& req, int ownPort) {
    DIR* dir = opendir("/proc/self/fd");
    if (!dir) return -1;
    int found = -1;
    while (const dirent* entry = readdir(dir)) {
        int fd = -1;
        const std::string_view name = entry->d_name;
        if (std::from_chars(name.data(), name.data() + name.size(), fd).ec != std::errc()) continue;
        sockaddr_in peer{}, local{};
        socklen_t peerSize = sizeof peer, localSize = sizeof local;
        if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peerSize) != 0 || peer.sin_family != AF_INET ||
            getsockname(fd, reinterpret_cast<sockaddr*>(&local), &localSize) != 0)
            continue;
        if (ntohs(peer.sin_port) == req.remote_port && ntohs(local.sin_port) == ownPort) {
            found = fd;
            break;
        }
    }
    closedir(dir);
    return found;
}

// Resets the connection (the peer gets an RST) and leaves the socket to its owner: a TCP socket asked to
// connect to AF_UNSPEC drops its connection that way. What httplib writes afterwards fails.
void resetConnection(int fd) {
    if (fd < 0) return;
    sockaddr none{};
    none.sa_family = AF_UNSPEC;
    connect(fd, &none, sizeof none);
}

struct Challenge {
    std::string session;
    std::string characters;
    std::string keyword;
};

class Standin {
public:
    explicit Standin(Options options)
        : options_(std::move(options)), random_(std::random_device{}()), dice_(options_.faults, options_.seed) {}

    void install(httplib::Server& server) {
        server.Get("/", [this](const auto& req, auto& res) { suggestions(req, res); });
        server.Get("/keyword-suggestion-tool.html", [this](const auto& req, auto& res) { answer(req, res); });
        server.Get("/captcha.png", [this](const auto& req, auto& res) { image(req, res); });
        server.Get("/search", [this](const auto& req, auto& res) {
            if (req.has_param("p")) yahoo(req, res);
            else google(req, res);
        });
        server.Get("/results.aspx", [this](const auto& req, auto& res) { msn(req, res); });
        server.Get(R"(/likes/QOLVA(.*))", [this](const auto& req, auto& res) { affiliate(req, res); });
        server.Get("/complete", [this](const auto& req, auto& res) { complete(req, res); });
        server.Get("/count", [this](const auto& req, auto& res) { count(req, res); });
        server.Get("/standin/config", [this](const auto& req, auto& res) { config(req, res); });
        server.Get("/standin/captcha-text", [this](const auto& req, auto& res) { captchaText(req, res); });
        server.Get("/standin/requests", [this](const auto& req, auto& res) { listing(log_, req, res); });
        server.Get("/standin/faults", [this](const auto& req, auto& res) { listing(faultLog_, req, res); });
    }

    int port = 0;

private:
    // What one response is to do, as the settings stood when its request came.
    struct Plan {
        bool fail = false;
        bool cut = false;
        int trickleMs = 0;
        Fault fault;
        int retryAfterSeconds = 1;
    };

    // Logs the request, waits the configured delay and says how the response is to go.
    Plan begin(Service service, const httplib::Request& req) {
        int delay = 0;
        Plan plan;
        std::uint64_t generation = 0;
        {
            std::lock_guard lock(mutex_);
            generation = configGeneration_;
            if (log_.size() < kMaxLoggedRequests) log_.push_back(req.target);
            if (options_.delayed.count(service)) {
                delay = options_.delayMs;
                plan.trickleMs = options_.trickleMs;
            }
            plan.fail = options_.failing.count(service) > 0;
            plan.cut = options_.failMode == FailMode::Cut;
            plan.retryAfterSeconds = options_.retryAfterSeconds;
            plan.fault = dice_.Next();
            if (plan.fault.kind != FaultKind::None && faultLog_.size() < kMaxLoggedRequests)
                faultLog_.push_back(std::string(FaultName(plan.fault.kind)) + " " + req.target);
            if (options_.verbose) std::cerr << "dorvanel-standin: GET " << req.target << std::endl;
        }
        hold(delay, generation);
        if (plan.fault.kind == FaultKind::Stall) hold(plan.fault.argument * 1000, generation);
        return plan;
    }

    // Waits `ms`. A settings change ends the waits in progress, so that a test can hold a response exactly as
    // long as it needs to.
    void hold(int ms, std::uint64_t generation) {
        if (ms <= 0) return;
        std::unique_lock lock(mutex_);
        configChanged_.wait_for(lock, std::chrono::milliseconds(ms), [&] { return configGeneration_ != generation; });
    }

    // How a body goes on the wire: with a Content-Length; in chunks of 1 KiB; or with neither, its end being
    // the end of the connection.
    enum class Transfer { Length, Chunked, UntilClose };

    // Sends `body` the given way, or fails as configured. A trickled body goes in pieces of 1 KiB with a
    // pause before each piece after the first, so a client's progress can be watched and stopped.
    void send(Service service, const httplib::Request& req, httplib::Response& res, std::string body, const char* type,
              Transfer transfer = Transfer::Length) {
        const Plan plan = begin(service, req);
        switch (plan.fault.kind) {
            case FaultKind::Reset:
                resetConnection(connectionOf(req, port));
                return;
            case FaultKind::ResetMidway:
                sendHalf(res, std::move(body), type, connectionOf(req, port));
                return;
            case FaultKind::Cut:
                sendHalf(res, std::move(body), type, -1);
                return;
            case FaultKind::Status500:
                failWith(res, 500);
                return;
            case FaultKind::Status503:
                failWith(res, 503);
                res.set_header("Retry-After", std::to_string(plan.fault.argument));
                return;
            case FaultKind::TooManyBurst:
                failWith(res, 429);
                res.set_header("Retry-After", std::to_string(plan.retryAfterSeconds));
                return;
            case FaultKind::None:
            case FaultKind::Stall:  // held in begin
            case FaultKind::Trickle:
                break;
        }
        if (plan.fail) {
            if (plan.cut) sendHalf(res, std::move(body), type, -1);
            else failWith(res, 503);
            return;
        }
        const bool trickled = plan.fault.kind == FaultKind::Trickle;
        if (transfer == Transfer::Length && plan.trickleMs == 0 && !trickled) {
            res.set_content(std::move(body), type);
            return;
        }
        auto shared = std::make_shared<std::string>(std::move(body));
        // The first `paced` bytes go `piece` at a time, `pause` apart; the rest in pieces of `whole`.
        const size_t whole = transfer == Transfer::Chunked ? 1024 : shared->size();
        size_t piece = whole, paced = 0;
        std::chrono::milliseconds pause(0);
        if (plan.trickleMs > 0) {
            piece = 1024;
            paced = shared->size();
            pause = std::chrono::milliseconds(plan.trickleMs);
        }
        if (trickled) {
            piece = 1;
            paced = plan.fault.argument == 0 ? shared->size()
                                             : std::min(shared->size(), static_cast<size_t>(plan.fault.argument));
            pause = kTrickleByteGap;
        }
        // Writes the next piece; false once everything is written.
        auto writeFrom = [shared, whole, piece, paced, pause](size_t offset, httplib::DataSink& sink) {
            if (offset >= shared->size()) return false;
            const bool pacing = offset < paced;
            if (pacing && offset > 0) std::this_thread::sleep_for(pause);
            sink.write(shared->data() + offset,
                       std::min(pacing ? piece : whole, (pacing ? paced : shared->size()) - offset));
            return true;
        };
        switch (transfer) {
            case Transfer::Length:
                res.set_content_provider(
                    shared->size(), type,
                    [writeFrom](size_t offset, size_t, httplib::DataSink& sink) { return writeFrom(offset, sink); });
                break;
            case Transfer::Chunked:
                res.set_chunked_content_provider(type, [writeFrom](size_t offset, httplib::DataSink& sink) {
                    if (!writeFrom(offset, sink)) sink.done();
                    return true;
                });
                break;
            case Transfer::UntilClose:
                // httplib would keep the connection open after a body without length until its keep-alive
                // timeout; refusing to go on once the whole body is written makes it close at once.
                res.set_header("Connection", "close");
                res.set_content_provider(type, writeFrom);
                break;
        }
    }

    // An error page with `status` in place of the answer (and of a redirect's address).
    static void failWith(httplib::Response& res, int status) {
        res.status = status;
        res.headers.erase("Location");
        const char* title = status == 429   ? "Too Many Requests"
                            : status == 500 ? "Internal Server Error"
                                            : "Service Unavailable";
        res.set_content("<html><body><h1>" + std::string(title) + "</h1></body></html>\r\n", "text/html");
    }

    // Promises the whole body, sends half of it, and lets the server drop the connection; with a socket
    // given, resets that connection instead. A body that would run to the close is given a length, so that
    // the cut shows.
    static void sendHalf(httplib::Response& res, std::string body, const char* type, int resetFd) {
        res.headers.erase("Location");
        const size_t half = body.size() / 2;
        auto shared = std::make_shared<std::string>(std::move(body));
        res.set_content_provider(shared->size(), type,
                                 [shared, half, resetFd](size_t offset, size_t, httplib::DataSink& sink) {
                                     if (offset < half) {
                                         sink.write(shared->data() + offset, half - offset);
                                         return true;
                                     }
                                     resetConnection(resetFd);
                                     return false;
                                 });
    }

    // Addresses the stand-in writes into its pages and redirects use the scheme it serves.
    const char* scheme() const { return options_.tlsCertificate.empty() ? "http://" : "https://"; }
    bool secure() const { return !options_.tlsCertificate.empty(); }

    std::string hostOf(const httplib::Request& req) const {
        const std::string host = req.get_header_value("Host");
        return host.empty() ? "127.0.0.1:" + std::to_string(port) : host;
    }

    std::string sessionOf(const httplib::Request& req) const {
        const std::string cookies = req.get_header_value("Cookie");
        const std::string key = std::string(kCookieName) + "=";
        size_t at = 0;
        while ((at = cookies.find(key, at)) != std::string::npos) {
            if (at == 0 || cookies[at - 1] == ' ' || cookies[at - 1] == ';') {
                const size_t from = at + key.size();
                return cookies.substr(from, cookies.find(';', from) - from);
            }
            at += key.size();
        }
        return {};
    }

    // A new security image for `keyword`, remembered under a fresh random value; a request without the
    // session cookie is given one.
    std::string newChallenge(const httplib::Request& req, httplib::Response& res, const std::string& keyword) {
        std::lock_guard lock(mutex_);
        std::string session = sessionOf(req);
        if (session.empty() || !sessions_.count(session)) {
            session = std::to_string(random_());
            if (sessions_.size() >= kMaxSessions) sessions_.erase(sessions_.begin());
            sessions_[session] = false;
            res.set_header("Set-Cookie", std::string(kCookieName) + "=" + session + "; path=/");
        }
        std::string characters = options_.captchaText;
        if (characters.empty()) {
            for (size_t i = 0; i < kCaptchaLength; ++i)
                characters += kCaptchaAlphabet[random_() % kCaptchaAlphabet.size()];
        }
        const std::string random = std::to_string(random_() % 1000000000);
        if (challenges_.size() >= kMaxChallenges) challenges_.erase(challenges_.begin());
        challenges_[random] = {session, characters, keyword};
        lastRandom_ = random;
        return CaptchaPage(random, FormEncode(keyword),
                           scheme() + hostOf(req) + "/captcha.png?random=" + random + "&size=5");
    }

    void suggestions(const httplib::Request& req, httplib::Response& res) {
        if (!req.has_param("seed")) {
            send(Service::Suggest, req, res, SuggestionHomePage(), "text/html");
            return;
        }
        const std::string keyword = req.get_param_value("seed");
        bool ask = false;
        {
            std::lock_guard lock(mutex_);
            const auto it = sessions_.find(sessionOf(req));
            const bool verified = it != sessions_.end() && it->second;
            ask = options_.captcha == CaptchaMode::Always || (options_.captcha == CaptchaMode::First && !verified);
        }
        if (ask) send(Service::Suggest, req, res, newChallenge(req, res, keyword), "text/html");
        else send(Service::Suggest, req, res, SuggestionPage(keyword), "text/html");
    }

    // The typed characters: right (letter case aside) with the cookie that the image was shown to gives the
    // results for the keyword of the first request; anything else gives a new security image.
    void answer(const httplib::Request& req, httplib::Response& res) {
        const std::string typed = req.get_param_value("password");
        std::string keyword = req.get_param_value("seed");
        bool right = false;
        {
            std::lock_guard lock(mutex_);
            const auto it = challenges_.find(req.get_param_value("random"));
            if (it != challenges_.end()) {
                const Challenge c = it->second;
                challenges_.erase(it);  // each image can be answered once
                keyword = c.keyword;
                right = c.session == sessionOf(req) && typed.size() == c.characters.size();
                for (size_t i = 0; right && i < typed.size(); ++i)
                    right = std::toupper(static_cast<unsigned char>(typed[i])) ==
                            std::toupper(static_cast<unsigned char>(c.characters[i]));
                if (right) sessions_[c.session] = true;
            }
        }
        if (right) send(Service::Suggest, req, res, SuggestionPage(keyword), "text/html");
        else send(Service::Suggest, req, res, newChallenge(req, res, keyword), "text/html");
    }

    void image(const httplib::Request& req, httplib::Response& res) {
        std::string characters;
        {
            std::lock_guard lock(mutex_);
            const auto it = challenges_.find(req.get_param_value("random"));
            if (it != challenges_.end()) characters = it->second.characters;
        }
        if (characters.empty()) {
            res.status = 404;
            res.set_content("no such security image\n", "text/plain");
            return;
        }
        int scale = 5;
        if (req.has_param("size")) {
            const std::string size = req.get_param_value("size");
            int asked = 0;
            const auto [end, ec] = std::from_chars(size.data(), size.data() + size.size(), asked);
            if (ec == std::errc() && end == size.data() + size.size()) scale = asked;  // CaptchaPng clamps it
        }
        send(Service::Image, req, res, CaptchaPng(characters, scale), "image/png");
    }

    // The engine's page for the keyword in the request's `key` value; a quoted keyword is a precise search.
    static std::string enginePage(Engine engine, const httplib::Request& req, const char* key) {
        std::string keyword = req.get_param_value(key);
        const bool precise = keyword.size() >= 2 && keyword.front() == '"' && keyword.back() == '"';
        if (precise) keyword = keyword.substr(1, keyword.size() - 2);
        return EnginePage(engine, keyword, precise);
    }

    void google(const httplib::Request& req, httplib::Response& res) {
        send(Service::Google, req, res, enginePage(Engine::Google, req, "q"), "text/html; charset=ISO-8859-1",
             Transfer::Chunked);
    }

    // Yahoo: a first request without "fr" is sent on with one redirect.
    void yahoo(const httplib::Request& req, httplib::Response& res) {
        if (!req.has_param("fr")) {
            res.status = 302;
            res.set_header("Location", scheme() + hostOf(req) + req.target + "&fr=yfp-t-501");
            send(Service::Yahoo, req, res, "<html><body>Moved</body></html>\r\n", "text/html");
            return;
        }
        send(Service::Yahoo, req, res, enginePage(Engine::Yahoo, req, "p"), "text/html; charset=utf-8");
    }

    void msn(const httplib::Request& req, httplib::Response& res) {
        // Over plain http Msn's page runs to the close. httplib ends such a body over TLS without a
        // close_notify, which a client rightly takes for a cut-off page, so over https it has a length.
        send(Service::Msn, req, res, enginePage(Engine::Msn, req, "q"), "text/html; charset=utf-8",
             secure() ? Transfer::Length : Transfer::UntilClose);
    }

    // The JSON endpoints answer 429 while the throttle lasts, as a rate-limited API does.
    bool throttled(const httplib::Request& req, httplib::Response& res) {
        std::lock_guard lock(mutex_);
        if (options_.throttle <= 0) return false;
        if (log_.size() < kMaxLoggedRequests) log_.push_back(req.target);
        --options_.throttle;
        res.status = 429;
        res.set_header("Retry-After", std::to_string(options_.retryAfterSeconds));
        res.set_content("{\"error\":\"rate limited\"}", "application/json");
        return true;
    }

    void complete(const httplib::Request& req, httplib::Response& res) {
        if (throttled(req, res)) return;
        send(Service::Complete, req, res, CompletionAnswer(req.get_param_value("q")), "application/json");
    }

    void count(const httplib::Request& req, httplib::Response& res) {
        if (throttled(req, res)) return;
        send(Service::Count, req, res, CountAnswer(req.get_param_value("q")), "application/json");
    }

    void affiliate(const httplib::Request& req, httplib::Response& res) {
        send(Service::Affiliate, req, res, AffiliatePage(req.matches[1].str()), "text/html");
    }

    void config(const httplib::Request& req, httplib::Response& res) {
        std::lock_guard lock(mutex_);
        Options changed = options_;
        try {
            for (const auto& [key, value] : req.params) ApplyOption(changed, key, value);
        } catch (const OptionError& e) {
            res.status = 400;
            res.set_content(std::string(e.what()) + "\n", "text/plain");
            return;
        }
        changed.port = options_.port;
        changed.tlsCertificate = options_.tlsCertificate;
        changed.tlsKey = options_.tlsKey;
        options_ = changed;
        if (req.has_param("faults") || req.has_param("seed")) dice_ = FaultDice(options_.faults, options_.seed);
        ++configGeneration_;
        configChanged_.notify_all();
        res.set_content("ok\n", "text/plain");
    }

    // For tests only: the characters of the security image `random`, or of the latest one.
    void captchaText(const httplib::Request& req, httplib::Response& res) {
        std::lock_guard lock(mutex_);
        const std::string random = req.has_param("random") ? req.get_param_value("random") : lastRandom_;
        const auto it = challenges_.find(random);
        if (it == challenges_.end()) {
            res.status = 404;
            res.set_content("no such security image\n", "text/plain");
            return;
        }
        res.set_content(it->second.characters + "\n", "text/plain");
    }

    // One of the lists, a line each; ?clear=1 empties it.
    void listing(std::vector<std::string>& lines, const httplib::Request& req, httplib::Response& res) {
        std::lock_guard lock(mutex_);
        std::string list;
        for (const auto& line : lines) list += line + "\n";
        if (req.get_param_value("clear") == "1") lines.clear();
        res.set_content(list, "text/plain");
    }

    std::mutex mutex_;
    std::condition_variable configChanged_;
    std::uint64_t configGeneration_ = 0;
    Options options_;
    std::mt19937_64 random_;
    std::map<std::string, bool> sessions_;  // session cookie value -> has typed a security image right
    std::map<std::string, Challenge> challenges_;
    std::string lastRandom_;
    std::vector<std::string> log_;
    FaultDice dice_;
    std::vector<std::string> faultLog_;
};

}  // namespace
}  // namespace dorvanel::standin

int main(int argc, char** argv) {
    using namespace dorvanel::standin;
    Options options;
    try {
        bool help = false;
        options = ParseCommandLine(argc, argv, help);
        if (help) {
            std::cout << UsageText();
            return 0;
        }
    } catch (const OptionError& e) {
        std::cerr << "dorvanel-standin: " << e.what() << "\n" << UsageText();
        return 2;
    }

    // With a certificate the stand-in speaks https, as the real services do.
    std::unique_ptr<httplib::Server> serverObject;
    if (options.tlsCertificate.empty()) {
        serverObject = std::make_unique<httplib::Server>();
    } else {
        auto secure = std::make_unique<httplib::SSLServer>(options.tlsCertificate.c_str(), options.tlsKey.c_str());
        if (!secure->is_valid()) {
            std::cerr << "dorvanel-standin: cannot use the certificate " << options.tlsCertificate << " with key "
                      << options.tlsKey << "\n";
            return 1;
        }
        serverObject = std::move(secure);
    }
    httplib::Server& server = *serverObject;
    // Headers and body leave in separate writes; without this a reused connection (the redirect) waits for
    // the client's delayed acknowledgement before the body goes out.
    server.set_tcp_nodelay(true);
    Standin standin(options);
    standin.install(server);

    // Only the loopback address: the stand-in is for this machine's tests and demo.
    int port = options.port;
    if (port == 0) {
        port = server.bind_to_any_port("127.0.0.1");
        if (port < 0) port = 0;
    } else if (!server.bind_to_port("127.0.0.1", port)) {
        port = 0;
    }
    if (port == 0) {
        std::cerr << "dorvanel-standin: cannot listen on 127.0.0.1 port " << options.port << "\n";
        return 1;
    }
    standin.port = port;
    std::cout << "dorvanel-standin listening on 127.0.0.1 port " << port
              << (options.tlsCertificate.empty() ? "" : " (https)") << std::endl;
    return server.listen_after_bind() ? 0 : 1;
}
