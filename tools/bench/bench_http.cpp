// The HTTP engine beside curl, both fetching from the same local nginx:
//  - throughput: FetchToStream of a 256 MiB file into a file against `curl -s -o` (median of 5 each), with
//    the peak memory of the fetch above the program's idle size;
//  - per-request cost: 2,000 sequential GETs of a 4 KiB page, each on a new connection with the idle pump
//    active (as the page fetcher works), against one curl run over the same 2,000 addresses.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "http/http_client.h"
#include "http/idle_pump.h"
#include "http/net_stream.h"
#include "support/plain/nginx_peer.h"
#include "support/plain/test_certificates.h"
#include "support/plain/tinyproxy_peer.h"

using namespace dorvanel;
using Clock = std::chrono::steady_clock;

namespace {

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

long statusKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(prefix, 0) == 0) return std::stol(line.substr(prefix.size()));
    }
    return 0;
}

// Starts the peak resident size afresh from the current one.
void resetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
}

int run(const std::string& command) { return std::system(command.c_str()); }

void writeRandomFile(const std::string& path, size_t size) {
    std::ofstream out(path, std::ios::binary);
    std::mt19937_64 random(11);
    std::vector<uint64_t> block(1 << 17);
    for (size_t written = 0; written < size;) {
        for (auto& word : block) word = random();
        const size_t n = std::min(size - written, block.size() * sizeof(uint64_t));
        out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(n));
        written += n;
    }
}

// https beside curl over the same nginx with a certificate from an authority made here: a 256 MiB file into a
// file (median of 3 each) and 500 GETs of 4 KiB, each on a new TLS connection; then the same through a real
// proxy (tinyproxy), ours through its tunnel beside `curl --proxy`.
int benchTls(const std::string& folder) {
    int status = 0;
    const std::string certificateFolder = folder + "/certificates";
    ::mkdir(certificateFolder.c_str(), 0755);
    const test::TestCertificates certificates(certificateFolder);
    const std::string tlsFolder = folder + "/tls";
    ::mkdir(tlsFolder.c_str(), 0755);
    test::NginxPeer nginx(tlsFolder,
                          "    keepalive_timeout 0;\n    ssl_certificate " + certificates.Certificate("good") +
                              ";\n    ssl_certificate_key " + certificates.Key("good") + ";\n",
                          "ssl");
    constexpr size_t kLarge = 256u * 1024 * 1024;
    writeRandomFile(nginx.WwwFolder() + "/large.bin", kLarge);
    writeRandomFile(nginx.WwwFolder() + "/page.html", 4096);
    const std::string copy = folder + "/copy.bin";
    const std::string large = nginx.SecureUrl("/large.bin", "localhost");
    const std::string cacert = " --cacert '" + certificates.Authority() + "' ";

    http::TNetIdlePump pump;
    pump.OnProcessMessages = [] {};
    // `proxyPort` 0: direct.
    auto measure = [&](int proxyPort, const char* label, double largeTarget, double manyTarget) {
        auto client = [&] {
            auto made = std::make_unique<http::TNetHTTP>();
            made->TrustAnchorFile = certificates.Authority();
            if (proxyPort) {
                made->ProxyParams.SetProxyServer("127.0.0.1");
                made->ProxyParams.SetProxyPort(proxyPort);
            }
            return made;
        };
        const std::string curlProxy = proxyPort ? " --proxy http://127.0.0.1:" + std::to_string(proxyPort) + " " : " ";
        std::vector<double> ours, curls;
        for (int round = 0; round < 3; ++round) {
            const auto start = Clock::now();
            {
                auto http = client();
                http::TNetFileStream file(copy, http::TNetFileStream::TOpenMode::Create);
                http->FetchToStream(large, file);
                if (file.Size() != static_cast<int64_t>(kLarge)) status = 1;
            }
            ours.push_back(secondsSince(start));
            const auto curlStart = Clock::now();
            if (run("curl -s" + cacert + curlProxy + "-o '" + copy + "' '" + large + "'") != 0) status = 1;
            curls.push_back(secondsSince(curlStart));
        }
        const double oursMedian = median(ours), curlMedian = median(curls);
        std::printf(
            "%s: 256 MiB file into a file: FetchToStream %.3f s (%.0f MiB/s), curl %.3f s (%.0f MiB/s), ratio "
            "%.2f (target <= %.1f)\n",
            label, oursMedian, 256 / oursMedian, curlMedian, 256 / curlMedian, oursMedian / curlMedian, largeTarget);

        constexpr int kRequests = 500;
        const std::string scratch = folder + "/tls.html";
        const auto start = Clock::now();
        {
            auto http = client();
            for (int i = 0; i < kRequests; ++i) {
                http::TNetFileStream file(scratch, http::TNetFileStream::TOpenMode::OpenOrCreate);
                http->FetchToStream(nginx.SecureUrl("/page.html?n=" + std::to_string(i), "localhost"), file);
                http->CloseConnection();
            }
        }
        const double oursTotal = secondsSince(start);
        const std::string config = folder + "/curl-tls.conf";
        {
            std::ofstream out(config);
            out << "header = \"Connection: close\"\nsilent\ncacert = \"" << certificates.Authority() << "\"\n";
            if (proxyPort) out << "proxy = \"http://127.0.0.1:" << proxyPort << "\"\n";
            for (int i = 0; i < kRequests; ++i) {
                out << "url = \"" << nginx.SecureUrl("/page.html?n=" + std::to_string(i), "localhost")
                    << "\"\noutput = \"/dev/null\"\n";
            }
        }
        const auto curlStart = Clock::now();
        if (run("curl -K '" + config + "'") != 0) status = 1;
        const double curlTotal = secondsSince(curlStart);
        std::printf(
            "%s: 500 GETs of 4 KiB, new TLS connection each, pump active: ours %.3f s (%.3f ms/request); "
            "curl %.3f s (%.3f ms/request); ratio %.2f (target <= %.1f)\n",
            label, oursTotal, oursTotal * 1000 / kRequests, curlTotal, curlTotal * 1000 / kRequests,
            oursTotal / curlTotal, manyTarget);
    };
    measure(0, "https", 1.2, 1.5);
    if (test::TinyproxyPeer::Available()) {
        const std::string proxyFolder = folder + "/proxy";
        ::mkdir(proxyFolder.c_str(), 0755);
        test::TinyproxyPeer proxy(proxyFolder);
        measure(proxy.Port(), "https through tinyproxy", 1.2, 1.2);
    }
    return status;
}

}  // namespace

int main() {
    if (!test::NginxPeer::Available()) {
        std::printf("bench_http: nginx is not installed (scripts/setup.sh installs it); skipped\n");
        return 0;
    }
    char folderTemplate[] = "/tmp/dorvanel-bench-http-XXXXXX";
    const std::string folder = ::mkdtemp(folderTemplate);
    int status = 0;
    {
        // No keep-alive: every request of the per-request run gets a connection of its own, for both clients.
        test::NginxPeer nginx(folder, "    keepalive_timeout 0;\n");
        constexpr size_t kLarge = 256u * 1024 * 1024;
        writeRandomFile(nginx.WwwFolder() + "/large.bin", kLarge);
        writeRandomFile(nginx.WwwFolder() + "/page.html", 4096);
        const std::string copy = folder + "/copy.bin";
        const std::string large = nginx.Url("/large.bin");

        http::TNetIdlePump pump;
        long pumped = 0;
        pump.OnProcessMessages = [&] { ++pumped; };

        // Throughput.
        std::vector<double> ours, curls;
        long idleKiB = 0, peakAboveIdleKiB = 0;
        for (int round = 0; round < 5; ++round) {
            {
                http::TNetHTTP warm;  // what an idle program already holds
                idleKiB = statusKiB("VmRSS");
            }
            resetPeak();
            const auto start = Clock::now();
            {
                http::TNetHTTP client;
                http::TNetFileStream file(copy, http::TNetFileStream::TOpenMode::Create);
                client.FetchToStream(large, file);
                if (file.Size() != static_cast<int64_t>(kLarge)) {
                    std::printf("bench_http: short copy (%lld bytes)\n", static_cast<long long>(file.Size()));
                    status = 1;
                }
            }
            ours.push_back(secondsSince(start));
            peakAboveIdleKiB = std::max(peakAboveIdleKiB, statusKiB("VmHWM") - idleKiB);
            const auto curlStart = Clock::now();
            if (run("curl -s -o '" + copy + "' '" + large + "'") != 0) status = 1;
            curls.push_back(secondsSince(curlStart));
        }
        const double oursMedian = median(ours), curlMedian = median(curls);
        std::printf(
            "256 MiB file into a file: FetchToStream %.3f s (%.0f MiB/s), curl %.3f s (%.0f MiB/s), ratio %.2f "
            "(target <= 1.2)\n",
            oursMedian, 256 / oursMedian, curlMedian, 256 / curlMedian, oursMedian / curlMedian);
        std::printf("peak memory above idle during the fetch: %ld KiB (target <= 16384)\n", peakAboveIdleKiB);

        // Per-request cost.
        constexpr int kRequests = 2000;
        const std::string scratch = folder + "/test.html";
        const auto start = Clock::now();
        {
            http::TNetHTTP client;
            client.HandleRedirects = true;
            for (int i = 0; i < kRequests; ++i) {
                http::TNetFileStream file(scratch, http::TNetFileStream::TOpenMode::OpenOrCreate);
                client.FetchToStream(nginx.Url("/page.html?n=" + std::to_string(i)), file);
                client.CloseConnection();
            }
        }
        const double oursTotal = secondsSince(start);
        // curl writes each page with a truncating open, which costs it a flush per page on ext4; the figure
        // with its output thrown away shows curl without that cost.
        auto curlRun = [&](const std::string& output) {
            const std::string config = folder + "/curl.conf";
            {
                std::ofstream out(config);
                out << "header = \"Connection: close\"\nsilent\n";
                for (int i = 0; i < kRequests; ++i) {
                    out << "url = \"" << nginx.Url("/page.html?n=" + std::to_string(i)) << "\"\noutput = \"" << output
                        << "\"\n";
                }
            }
            const auto curlStart = Clock::now();
            if (run("curl -K '" + config + "'") != 0) status = 1;
            return secondsSince(curlStart);
        };
        const double curlFile = curlRun(scratch);
        const double curlNull = curlRun("/dev/null");
        std::printf(
            "2000 GETs of 4 KiB, new connection each, pump active: ours %.3f s (%.3f ms/request); curl into the "
            "file %.3f s (%.3f ms/request, ratio %.2f), curl into /dev/null %.3f s (%.3f ms/request, ratio "
            "%.2f) (target <= 1.5, < 2 ms/request)\n",
            oursTotal, oursTotal * 1000 / kRequests, curlFile, curlFile * 1000 / kRequests, oursTotal / curlFile,
            curlNull, curlNull * 1000 / kRequests, oursTotal / curlNull);
    }
    if (benchTls(folder) != 0) status = 1;
    run("rm -rf '" + folder + "'");
    return status;
}
