#include "support/plain/test_certificates.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace dorvanel::test {

namespace {

void run(const std::string& command) {
    if (std::system((command + " >/dev/null 2>&1").c_str()) != 0) {
        throw std::runtime_error("openssl failed: " + command);
    }
}

std::string read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace

TestCertificates::TestCertificates(const std::string& folder) : folder_(folder) {
    const std::string f = "'" + folder_ + "/";
    run("openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes -sha256 -days 2 -subj /CN=Dorvanel\\ "
        "Test\\ CA -keyout " +
        f + "ca.key' -out " + f + "ca.pem' -addext basicConstraints=critical,CA:true -addext keyUsage=keyCertSign");
    // The authority signs through `openssl ca`, which can set dates in the past.
    {
        std::ofstream conf(folder_ + "/ca.cnf");
        conf << "[ca]\ndefault_ca = test\n[test]\ndir = " << folder_ << "\ndatabase = $dir/index.txt\n"
             << "new_certs_dir = $dir\nserial = $dir/serial\ndefault_md = sha256\npolicy = any\n"
             << "copy_extensions = copy\n[any]\ncommonName = supplied\n";
    }
    std::ofstream(folder_ + "/index.txt").close();
    std::ofstream(folder_ + "/serial") << "1000\n";
    struct Kind {
        const char* name;
        const char* altNames;
        const char* dates;
    };
    const Kind kinds[] = {
        {"good", "DNS:localhost,IP:127.0.0.1", "-days 2"},
        {"expired", "DNS:localhost,IP:127.0.0.1", "-startdate 20200101000000Z -enddate 20200201000000Z"},
        {"othername", "DNS:other.test", "-days 2"},
    };
    for (const Kind& kind : kinds) {
        const std::string name = kind.name;
        run("openssl req -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes -sha256 -subj /CN=" + name + " -keyout " +
            f + name + ".key' -out " + f + name + ".csr' -addext subjectAltName=" + kind.altNames);
        run("openssl ca -batch -notext -config " + f + "ca.cnf' -cert " + f + "ca.pem' -keyfile " + f + "ca.key' " +
            kind.dates + " -in " + f + name + ".csr' -out " + f + name + ".pem'");
    }
    run("openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes -sha256 -days 2 -subj /CN=localhost "
        "-keyout " +
        f + "selfsigned.key' -out " + f + "selfsigned.pem' -addext subjectAltName=DNS:localhost,IP:127.0.0.1");
    // A long chain: the good certificate, then unrelated certificates the client must read and can ignore.
    std::string chain = read(Certificate("good"));
    for (int i = 0; chain.size() < 20000; ++i) {
        const std::string pad = "pad" + std::to_string(i);
        run("openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes -days 2 -subj /CN=" + pad +
            " -keyout " + f + pad + ".key' -out " + f + pad + ".pem' -addext nsComment=" + std::string(1500, 'x'));
        chain += read(folder_ + "/" + pad + ".pem");
    }
    std::ofstream(Certificate("bigchain"), std::ios::binary) << chain;
    std::ofstream(Key("bigchain"), std::ios::binary) << read(Key("good"));
}

}  // namespace dorvanel::test
