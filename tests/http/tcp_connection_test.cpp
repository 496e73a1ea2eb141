// The buffered connection and the socket stack against a scripted loopback peer: lines, counts, reads until
// close, work events, timeouts, the idle pump, connect failures and closing.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <gtest/gtest.h>

#include "http/exceptions.h"
#include "http/idle_pump.h"
#include "http/net_stack.h"
#include "http/net_stream.h"
#include "http/tcp_client.h"
#include "support/plain/failure_text.h"
#include "support/plain/loopback.h"
#include "support/plain/scripted_server.h"

namespace dorvanel::http {
namespace {

using test::ScriptedServer;
using test::ServerScript;
using test::ServerStep;

// A client connected to a server that plays `script` on its first connection.
struct Connected {
    explicit Connected(ServerScript script) {
        server.AddConnection(std::move(script));
        server.Start();
        client.Host = "127.0.0.1";
        client.Port = server.Port();
        client.OpenConnection();
    }
    ScriptedServer server;
    TNetTCPClient client;
};

// A port on 127.0.0.1 where nothing listens: bound, never listened on, so no one else takes it meanwhile.
struct ClosedPort {
    ClosedPort() : fd(::socket(AF_INET, SOCK_STREAM, 0)), port(test::BindLoopback(fd)) {}
    ~ClosedPort() { ::close(fd); }
    int fd;
    int port;
};

// A listener whose accept queue is full: the system drops further connection attempts, which then hang.
struct FullBacklog {
    FullBacklog() : fd(::socket(AF_INET, SOCK_STREAM, 0)), port(test::BindLoopback(fd)) {
        ::listen(fd, 0);
        filler = ::socket(AF_INET, SOCK_STREAM, 0);
        const sockaddr_in addr = test::LoopbackAddress(port);
        ::connect(filler, reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
    }
    ~FullBacklog() {
        ::close(filler);
        ::close(fd);
    }
    int fd;
    int port;
    int filler = -1;
};

TEST(TcpConnection, LinesOfOneBlockComeWithoutFurtherReads) {
    Connected c({ServerStep::Send("HTTP/1.1 200 OK\r\nServer: x\r\n\r\nrest"), ServerStep::Pause(3000)});
    c.client.ReadTimeout = 200;
    EXPECT_EQ(c.client.ReadLine(), "HTTP/1.1 200 OK");
    EXPECT_EQ(c.client.ReadLine(), "Server: x");
    EXPECT_EQ(c.client.ReadLine(), "");
    EXPECT_EQ(std::string(c.client.PendingInput().Data(), c.client.PendingInput().Size()), "rest");
}

TEST(TcpConnection, LinesSplitAcrossWritesAreJoined) {
    const std::string bytes = "first line\r\nsecond\r\n";
    ServerScript script = test::SendInPieces(bytes, {3, 10, 11, 12, 15}, 10);
    Connected c(script);
    EXPECT_EQ(c.client.ReadLine(), "first line");
    EXPECT_EQ(c.client.ReadLine(), "second");
}

TEST(TcpConnection, BareLineFeedEndsALineAndBareCarriageReturnStays) {
    Connected c({ServerStep::Send("a\rb\nc\r\n"), ServerStep::Close()});
    EXPECT_EQ(c.client.ReadLine(), "a\rb");
    EXPECT_EQ(c.client.ReadLine(), "c");
}

TEST(TcpConnection, MaxLineLengthCountsTheCarriageReturn) {
    const std::string accepted(16383, 'a');
    const std::string tooLong(16384, 'b');
    Connected c({ServerStep::Send(accepted + "\r\n" + tooLong + "\r\n"), ServerStep::Close()});
    EXPECT_EQ(c.client.ReadLine(), accepted);
    EXPECT_EQ(test::FailureText<ENetReadLnMaxLineLengthExceeded>([&] { c.client.ReadLine(); }),
              "Max line length exceeded.");
}

TEST(TcpConnection, LineWithoutEndBeyondTheLimitFailsBeforeItEnds) {
    // The peer never ends the line: the read must stop at the limit, not wait for more.
    Connected c({ServerStep::Send(std::string(20000, 'x')), ServerStep::Pause(3000)});
    c.client.ReadTimeout = 2000;
    EXPECT_THROW(c.client.ReadLine(), ENetReadLnMaxLineLengthExceeded);
}

TEST(TcpConnection, SplitActionReturnsTheFirstMaxBytes) {
    const std::string line(16384, 'c');
    Connected c({ServerStep::Send(line + "\r\n"), ServerStep::Close()});
    c.client.MaxLineAction = TNetMaxLineAction::maSplit;
    EXPECT_EQ(c.client.ReadLine(), line);
    EXPECT_TRUE(c.client.LastLineSplit());
    EXPECT_EQ(c.client.ReadLine(), "");  // the CR LF left over
    EXPECT_FALSE(c.client.LastLineSplit());
}

TEST(TcpConnection, PartialLineThenCloseFails) {
    Connected c({ServerStep::Send("abc"), ServerStep::Close()});
    EXPECT_EQ(test::FailureText<ENetConnClosedGracefully>([&] { c.client.ReadLine(); }),
              "Connection Closed Gracefully.");
}

TEST(TcpConnection, ReadUntilCloseKeepsTheLastBytes) {
    Connected c({ServerStep::Send("abc"), ServerStep::Close()});
    TNetMemoryStream stream;
    c.client.ReadToStream(stream, -1, true);
    EXPECT_EQ(stream.DataString(), "abc");
    EXPECT_EQ(stream.Position(), 3);
}

TEST(TcpConnection, CountCutShortWritesWhatArrivedAndFails) {
    Connected c({ServerStep::Send("abc"), ServerStep::Pause(30), ServerStep::Send("def"), ServerStep::Close()});
    TNetMemoryStream stream;
    EXPECT_THROW(c.client.ReadToStream(stream, 10), ENetConnClosedGracefully);
    EXPECT_EQ(stream.DataString(), "abcdef");
}

TEST(TcpConnection, StreamIsNotGrownAheadOfTheBytes) {
    // Remembers the largest size the stream was ever given.
    struct WatchedStream : TNetMemoryStream {
        int64_t largest = 0;
        void SetSize(int64_t size) override {
            largest = std::max(largest, size);
            TNetMemoryStream::SetSize(size);
        }
        void Write(const void* buffer, int64_t count) override {
            TNetMemoryStream::Write(buffer, count);
            largest = std::max(largest, Size());
        }
    };
    Connected c({ServerStep::Send("0123456789"), ServerStep::Close()});
    WatchedStream stream;
    // A huge announced count must not make the stream (or anything) that large.
    EXPECT_THROW(c.client.ReadToStream(stream, int64_t{1} << 40), ENetConnClosedGracefully);
    EXPECT_EQ(stream.DataString(), "0123456789");
    EXPECT_EQ(stream.largest, 10);
}

TEST(TcpConnection, WorkEventsCarryRunningTotals) {
    const std::string body(12288, 'w');
    Connected c({ServerStep::Send(body.substr(0, 5000)), ServerStep::Pause(20), ServerStep::Send(body.substr(5000)),
                 ServerStep::Pause(500)});
    c.client.RecvBufferSize = 4096;
    std::vector<std::string> events;
    c.client.OnWorkBegin = [&](TNetComponent&, TWorkMode m, int64_t max) {
        events.push_back("begin " + std::to_string(static_cast<int>(m)) + " " + std::to_string(max));
    };
    c.client.OnWork = [&](TNetComponent&, TWorkMode, int64_t n) { events.push_back(std::to_string(n)); };
    c.client.OnWorkEnd = [&](TNetComponent&, TWorkMode) { events.push_back("end"); };
    TNetMemoryStream stream;
    c.client.ReadToStream(stream, 12288);
    EXPECT_EQ(stream.DataString(), body);
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events.front(), "begin 0 12288");
    EXPECT_EQ(events.back(), "end");
    // Whatever the arrival pattern, the reports only grow and end at the total.
    int64_t last = 0;
    for (size_t i = 1; i + 1 < events.size(); ++i) {
        const int64_t n = std::stoll(events[i]);
        EXPECT_GT(n, last);
        last = n;
    }
    EXPECT_EQ(last, 12288);
}

TEST(TcpConnection, CloseFromWorkEventEndsTheReadNormally) {
    Connected c({ServerStep::Send(std::string(4096, 'a')), ServerStep::Pause(50),
                 ServerStep::Send(std::string(4096, 'b')), ServerStep::Pause(3000)});
    c.client.RecvBufferSize = 4096;
    c.client.OnWork = [&](TNetComponent&, TWorkMode, int64_t n) {
        if (n >= 4096) c.client.CloseConnection();
    };
    TNetMemoryStream stream;
    c.client.ReadToStream(stream, 100000);
    EXPECT_EQ(stream.DataString(), std::string(4096, 'a'));
    EXPECT_THROW(c.client.ReadLine(), ENetNotConnected);
}

TEST(TcpConnection, SilentPeerTimesOut) {
    Connected c({ServerStep::Pause(3000)});
    c.client.ReadTimeout = 100;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(test::FailureText<ENetReadTimeout>([&] { c.client.ReadLine(); }), "Read Timeout");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2000));
}

TEST(TcpConnection, PumpRunsWhileASilentPeerIsAwaited) {
    Connected c({ServerStep::Pause(400), ServerStep::Send("late\r\n")});
    TNetIdlePump pump;
    pump.IdleTimeOut = 50;
    int pumped = 0;
    pump.OnProcessMessages = [&] { ++pumped; };
    EXPECT_EQ(c.client.ReadLine(), "late");
    EXPECT_GE(pumped, 4);
}

TEST(TcpConnection, CloseFromInsideThePumpEndsTheWait) {
    Connected c({ServerStep::Pause(3000)});
    TNetIdlePump pump;
    pump.IdleTimeOut = 20;
    int pumped = 0;
    pump.OnProcessMessages = [&] {
        if (++pumped == 3) c.client.CloseConnection();
    };
    EXPECT_THROW(c.client.ReadLine(), ENetNotConnected);
    EXPECT_EQ(pumped, 3);
    EXPECT_FALSE(c.client.IsConnected());
}

TEST(TcpClient, CloseFromInsideThePumpEndsTheConnect) {
    FullBacklog full;
    TNetIdlePump pump;
    pump.IdleTimeOut = 20;
    TNetTCPClient client;
    pump.OnProcessMessages = [&] { client.CloseConnection(); };
    client.Host = "127.0.0.1";
    client.Port = full.port;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(client.OpenConnection(), ENetNotConnected);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
}

TEST(TcpConnection, PumpDoesNotRunOnAnotherThread) {
    TNetIdlePump pump;
    int pumped = 0;
    pump.OnProcessMessages = [&] { ++pumped; };
    std::thread other([&] { pump.PumpIfDue(true); });
    other.join();
    EXPECT_EQ(pumped, 0);
    pump.PumpIfDue(true);
    EXPECT_EQ(pumped, 1);
    pump.PumpIfDue(false);  // not idle, and only idle calls pump by default
    EXPECT_EQ(pumped, 1);
}

TEST(TcpConnection, ResetByPeerDropsTheSocket) {
    Connected c({ServerStep::ReadBytes(1), ServerStep::Send("x"), ServerStep::Reset()});
    c.client.WriteText("?");
    EXPECT_EQ(c.client.ReadExact(1), "x");
    try {
        c.client.ReadLine();
        FAIL() << "no failure";
    } catch (const ENetSocketError& e) {
        EXPECT_EQ(e.SocketCode, 10054);
        EXPECT_STREQ(e.what(), "Socket Error # 10054\r\nConnection reset by peer.");
    } catch (const ENetConnClosedGracefully&) {
        // The reset may also be seen as a plain close, depending on when it lands.
    }
    EXPECT_FALSE(c.client.IsConnected());
}

TEST(TcpClient, ClosedPortWithoutPumpIsASocketError) {
    ClosedPort closed;
    TNetTCPClient client;
    client.Host = "127.0.0.1";
    client.Port = closed.port;
    try {
        client.OpenConnection();
        FAIL() << "no failure";
    } catch (const ENetSocketError& e) {
        EXPECT_EQ(e.SocketCode, 10061);
        EXPECT_STREQ(e.what(), "Socket Error # 10061\r\nConnection refused.");
    }
    EXPECT_FALSE(client.IsConnected());
}

TEST(TcpClient, ClosedPortWithPumpFailsInTheConnectThread) {
    ClosedPort closed;
    TNetIdlePump pump;
    TNetTCPClient client;
    client.Host = "localhost";
    client.Port = closed.port;
    try {
        client.OpenConnection();
        FAIL() << "no failure";
    } catch (const ENetSocketError&) {
        FAIL() << "the threaded connect reports its own failure class";
    } catch (const ENetConnectException& e) {
        EXPECT_STREQ(e.what(), "Socket Error # 10061\r\nConnection refused.");
    }
}

TEST(TcpClient, ConnectTimesOutAndPumpsMeanwhile) {
    FullBacklog full;
    TNetIdlePump pump;
    pump.IdleTimeOut = 50;
    int pumped = 0;
    pump.OnProcessMessages = [&] { ++pumped; };
    TNetTCPClient client;
    client.Host = "127.0.0.1";
    client.Port = full.port;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(test::FailureText<ENetConnectTimeout>([&] { client.OpenConnection(400); }), "Connect timed out.");
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(380));
    EXPECT_LT(took, std::chrono::milliseconds(2000));
    EXPECT_GE(pumped, 5);
    EXPECT_FALSE(client.IsConnected());
}

TEST(TcpClient, QuickConnectCostsNoStep) {
    ScriptedServer server;
    server.AddConnection({ServerStep::WaitClose()});
    server.Start();
    TNetTCPClient client;
    client.Host = "127.0.0.1";
    client.Port = server.Port();
    const auto start = std::chrono::steady_clock::now();
    client.OpenConnection(5000);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    EXPECT_TRUE(client.IsConnected());
    EXPECT_THROW(client.OpenConnection(), ENetAlreadyConnected);
}

TEST(TcpClient, NameThatDoesNotResolve) {
    TNetTCPClient client;
    // A space makes the name invalid, so the system refuses it without asking any name server.
    client.Host = "no such host.invalid";
    client.Port = 80;
    std::vector<std::string> statuses;
    client.OnStatus = [&](TNetComponent&, TNetStatus, const std::string& text) { statuses.push_back(text); };
    try {
        client.OpenConnection();
        FAIL() << "no failure";
    } catch (const ENetSocketError& e) {
        EXPECT_EQ(e.SocketCode, 11001);
        EXPECT_STREQ(e.what(), "Socket Error # 11001\r\nHost not found.");
    }
    ASSERT_EQ(statuses.size(), 1u);
    EXPECT_EQ(statuses[0], "Resolving hostname no such host.invalid.");
}

TEST(TcpClient, CloseTwiceAndBeforeConnectReportsEachTime) {
    ScriptedServer server;
    server.AddConnection({ServerStep::WaitClose()});
    server.Start();
    TNetTCPClient client;
    std::vector<std::string> statuses;
    int disconnected = 0;
    client.OnStatus = [&](TNetComponent&, TNetStatus, const std::string& text) { statuses.push_back(text); };
    client.OnDisconnected = [&](TNetTCPConnection&) { ++disconnected; };
    client.CloseConnection();
    client.Host = "127.0.0.1";
    client.Port = server.Port();
    client.OpenConnection();
    client.CloseConnection();
    client.CloseConnection();
    EXPECT_EQ(disconnected, 3);
    const std::vector<std::string> expected = {"Disconnecting.", "Disconnected.",  "Connecting to 127.0.0.1.",
                                               "Connected.",     "Disconnecting.", "Disconnected.",
                                               "Disconnecting.", "Disconnected."};
    EXPECT_EQ(statuses, expected);
    EXPECT_THROW(client.ReadLine(), ENetNotConnected);
}

TEST(TcpClient, DottedAddressesAreFourFieldsUpTo255) {
    EXPECT_TRUE(IsDottedIP("127.0.0.1"));
    EXPECT_TRUE(IsDottedIP("255.255.255.255"));
    EXPECT_TRUE(IsDottedIP("010.0.0.1"));
    EXPECT_FALSE(IsDottedIP("256.0.0.1"));
    EXPECT_FALSE(IsDottedIP("1.2.3"));
    EXPECT_FALSE(IsDottedIP("1.2.3.4."));
    EXPECT_FALSE(IsDottedIP("1..3.4"));
    EXPECT_FALSE(IsDottedIP("1.2.3.4.5"));
    EXPECT_FALSE(IsDottedIP("a.b.c.d"));
    EXPECT_FALSE(IsDottedIP(""));
}

}  // namespace
}  // namespace dorvanel::http
