#include "http/exceptions.h"

#include <gtest/gtest.h>

namespace dorvanel::http {
namespace {

TEST(NetExceptions, FixedMessages) {
    EXPECT_STREQ(ENetConnClosedGracefully().what(), "Connection Closed Gracefully.");
    EXPECT_STREQ(ENetNotConnected().what(), "Not Connected");
    EXPECT_STREQ(ENetReadLnMaxLineLengthExceeded().what(), "Max line length exceeded.");
    EXPECT_STREQ(ENetFailedToRetreiveTimeZoneInfo().what(), "Failed attempting to retrieve time zone information.");
    EXPECT_STREQ(ENetInvalidPortRange(5, 2).what(), "Invalid Port Range (5 - 2)");
    EXPECT_STREQ(ENetCanNotBindPortInRange(1, 2).what(), "Can not bind in port range (1 - 2)");
    EXPECT_STREQ(ENetUnknownProtocol().what(), "");
}

TEST(NetExceptions, SocketErrorCarriesCodeAndText) {
    const ENetSocketError refused(10061);
    EXPECT_EQ(refused.SocketCode, 10061);
    EXPECT_STREQ(refused.what(), "Socket Error # 10061\r\nConnection refused.");
    EXPECT_STREQ(ENetSocketError(10035).what(), "Socket Error # 10035\r\nOperation would block. ");
    EXPECT_STREQ(ENetSocketError(11001).what(), "Socket Error # 11001\r\nHost not found.");
    EXPECT_STREQ(ENetSocketError(42).what(), "Socket Error # 42\r\n");
}

TEST(NetExceptions, ClassLineAndProtocolFields) {
    const ENetHTTPProtocolException e("HTTP/1.1 404 Not Found", 404, "gone");
    EXPECT_STREQ(e.what(), "HTTP/1.1 404 Not Found");
    EXPECT_EQ(e.ReplyCode, 404);
    EXPECT_EQ(e.ReplyBody, "gone");
    EXPECT_THROW(throw ENetConnClosedGracefully(), ENetSilentException);
    EXPECT_THROW(throw ENetNotEnoughDataInBuffer(), ENetTCPConnectionError);
    EXPECT_THROW(throw ENetCouldNotBindSocket(), ENetSocketHandleError);
    EXPECT_THROW(throw ENetStackInitializationFailed(), ENetStackError);
    EXPECT_THROW(throw ENetURIException("x"), dorvanel::Exception);
}

}  // namespace
}  // namespace dorvanel::http
