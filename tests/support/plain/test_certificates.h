#pragma once
// Certificates made at test time with the `openssl` command in a folder of the test's: a certificate
// authority, and server certificates signed by it (good, expired, for another name) or by themselves.
#include <string>

namespace dorvanel::test {

class TestCertificates {
public:
    // Makes every file in `folder` (which must exist). Throws std::runtime_error when openssl fails.
    explicit TestCertificates(const std::string& folder);

    // The authority's certificate: the trust anchor file the client is given.
    std::string Authority() const { return folder_ + "/ca.pem"; }
    // Certificate (chain) and key files of one kind of server certificate.
    std::string Certificate(const std::string& kind) const { return folder_ + "/" + kind + ".pem"; }
    std::string Key(const std::string& kind) const { return folder_ + "/" + kind + ".key"; }

    // The kinds: "good" (localhost and 127.0.0.1), "expired", "othername" (other.test only), "selfsigned",
    // "bigchain" (good, followed by about 20 KB of further certificates).

private:
    std::string folder_;
};

}  // namespace dorvanel::test
