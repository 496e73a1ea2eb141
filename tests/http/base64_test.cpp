#include "http/base64.h"

#include <gtest/gtest.h>

#include <sstream>

#include "http/exceptions.h"

namespace dorvanel::http {
namespace {

TEST(Base64Encode, Rfc4648Vectors) {
    // RFC 4648 section 10.
    EXPECT_EQ(EncodeText(""), "");
    EXPECT_EQ(EncodeText("f"), "Zg==");
    EXPECT_EQ(EncodeText("fo"), "Zm8=");
    EXPECT_EQ(EncodeText("foo"), "Zm9v");
    EXPECT_EQ(EncodeText("foob"), "Zm9vYg==");
    EXPECT_EQ(EncodeText("fooba"), "Zm9vYmE=");
    EXPECT_EQ(EncodeText("foobar"), "Zm9vYmFy");
}

TEST(Base64Encode, AllByteValuesAndNoLineBreaks) {
    EXPECT_EQ(EncodeText(std::string("\x00\xff\xfe", 3)), "AP/+");
    const std::string encoded = EncodeText(std::string(3000, '\xfb'));
    EXPECT_EQ(encoded.size(), 4000u);
    EXPECT_EQ(encoded.find('\n'), std::string::npos);
    EXPECT_EQ(encoded.substr(0, 4), "+/v7");
}

TEST(Base64Encode, StreamWithALimit) {
    std::istringstream stream("foobar");
    const TNetEncoderMIME encoder;
    EXPECT_EQ(encoder.EncodeStream(stream, 3), "Zm9v");
    EXPECT_EQ(encoder.EncodeStream(stream), "YmFy");
    EXPECT_EQ(encoder.EncodeStream(stream), "");
    std::istringstream shortStream("fo");
    EXPECT_EQ(encoder.EncodeStream(shortStream, 6), "Zm8=");
    try {
        encoder.EncodeStream(stream, 4);
        FAIL();
    } catch (const ENetException& e) {
        EXPECT_STREQ(e.what(), "Uneven size in Encode.");
    }
}

TEST(Base64Encode, CodingTableMustBeComplete) {
    TNetEncoderMIME encoder;
    encoder.CodingTable = "ABC";
    EXPECT_THROW(encoder.Encode("x"), ENetException);
}

TEST(Base64Decode, ReversesEncoding) {
    EXPECT_EQ(DecodeText("Zm9vYmFy"), "foobar");
    EXPECT_EQ(DecodeText("Zm9vYg=="), "foob");
    EXPECT_EQ(DecodeText("Zm9vYmE="), "fooba");
    EXPECT_EQ(DecodeText("QWxhZGRpbjpvcGVuIHNlc2FtZQ=="), "Aladdin:open sesame");
    std::string all;
    for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
    EXPECT_EQ(DecodeText(EncodeText(all)), all);
    std::ostringstream out;
    DecodeText("AP/+", out);
    EXPECT_EQ(out.str(), std::string("\x00\xff\xfe", 3));
}

TEST(Base64Decode, HostileText) {
    const auto message = [](const std::string& text) {
        try {
            DecodeText(text);
        } catch (const ENetException& e) {
            return std::string(e.what());
        }
        return std::string("no failure");
    };
    EXPECT_EQ(message("Zm9"), "Uneven size in DecodeToStream.");
    EXPECT_EQ(message("Zm9v!mFy"), "Invalid character in Base64 data.");
    EXPECT_EQ(message("Zm\x80v"), "Invalid character in Base64 data.");
    EXPECT_EQ(message("Zm9v\nmFy"), "Invalid character in Base64 data.");
    EXPECT_EQ(message("=m9v"), "Invalid character in Base64 data.");
    EXPECT_EQ(message("Zm=v"), "Invalid character in Base64 data.");
    EXPECT_EQ(message(""), "no failure");
}

}  // namespace
}  // namespace dorvanel::http
