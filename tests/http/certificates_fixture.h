#pragma once
// A test suite whose cases share certificates made once for the suite (an authority and server certificates
// signed by it, see TestCertificates) in a folder of its own.
#include <gtest/gtest.h>

#include <memory>

#include "support/plain/temp_dir.h"
#include "support/plain/test_certificates.h"

namespace dorvanel::test {

class CertificatesFixture : public testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<TempDir>();
        certificates_ = std::make_unique<TestCertificates>(folder_->path().string());
    }
    static void TearDownTestSuite() {
        certificates_.reset();
        folder_.reset();
    }

    inline static std::unique_ptr<TempDir> folder_;
    inline static std::unique_ptr<TestCertificates> certificates_;
};

}  // namespace dorvanel::test
