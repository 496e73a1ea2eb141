#pragma once
// The buffered connection: an input buffer from which whole lines, exact byte counts or everything up to the
// peer's close are taken; writes at once or through a collecting buffer; the detection of a close by the peer;
// and the work events of every body transfer. Every wait is cut into slices during which the idle pump
// services the program's windows, so the program's handlers may run inside any call here and may close the
// connection (the abort); the calls below end or fail cleanly when that happens.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "http/net_component.h"
#include "http/socket_handle.h"

namespace dorvanel::http {

class TNetStream;
class TNetTCPConnection;

enum class TNetMaxLineAction { maException, maSplit };

using TNetNotifyEvent = std::function<void(TNetTCPConnection& Sender)>;

// Received bytes not yet taken: appended at the end, consumed from the front by moving an offset, compacted
// only after CompactThreshold consumed bytes. Every removal reports its size as read progress.
class TNetManagedBuffer {
public:
    static constexpr size_t CompactThreshold = 32768;

    explicit TNetManagedBuffer(TNetComponent& owner) : owner_(owner) {}

    size_t Size() const { return end_ - begin_; }
    const char* Data() const { return data_.get() + begin_; }
    // Room for `count` more bytes at the end; Commit makes `count` of them content.
    char* Reserve(size_t count);
    void Commit(size_t count) { end_ += count; }
    void Append(const char* bytes, size_t count);
    // Removes the first `count` bytes (ENetNotEnoughDataInBuffer when there are fewer) and reports them.
    void Remove(size_t count);
    // Empties the buffer without reporting anything.
    void Clear() { begin_ = end_ = 0; }

private:
    TNetComponent& owner_;
    std::unique_ptr<char[]> data_;
    size_t capacity_ = 0;
    size_t begin_ = 0;
    size_t end_ = 0;
};

class TNetTCPConnection : public TNetComponent {
public:
    TNetTCPConnection();
    ~TNetTCPConnection() override;

    // The transport. None by default: connecting then creates one that the connection owns and frees when
    // it disconnects. A handler the program assigns is only referenced.
    std::shared_ptr<TNetIOHandlerSocket> IOHandler;
    void SetIOHandler(std::shared_ptr<TNetIOHandlerSocket> handler);
    TNetNotifyEvent OnDisconnected;

    bool ASCIIFilter = false;
    int32_t MaxLineLength = 16384;
    TNetMaxLineAction MaxLineAction = TNetMaxLineAction::maException;
    int32_t ReadTimeout = 0;  // milliseconds; 0 waits without limit
    int32_t RecvBufferSize = 32768;
    int32_t SendBufferSize = 32768;

    bool PeerClosed() const { return peerClosed_; }
    bool LastLineSplit() const { return lastLineSplit_; }
    const TNetManagedBuffer& PendingInput() const { return pendingInput_; }

    // Status hsDisconnecting, drop the socket, free an owned handler, the disconnect steps (OnDisconnected),
    // status hsDisconnected. Safe when not connected and from inside a work event.
    virtual void CloseConnection();
    // Closes the socket without any event.
    void DropSocket();

    bool IsConnected();
    // True when the connection is gone; with `raise`, fails with ENetConnClosedGracefully when it is gone and
    // nothing buffered is left to read (or `ignoreBuffer`).
    bool CheckPeerClosed(bool raise = true, bool ignoreBuffer = false);
    // Looks whether the peer has closed (or sent something) without waiting: a kept-alive connection that is
    // still open must not cost a wait before every request on it.
    void PollPeerClosed(bool raise);

    static constexpr int32_t kUseReadTimeout = -2;
    static constexpr int32_t kNoWait = -3;
    // One wait-and-receive step: the bytes added, 0 when the connection is gone, -1 on a timeout that does
    // not fail. A timeout of 0 (or a ReadTimeout of 0) waits without limit; kNoWait only looks.
    int64_t FillInputBuffer(bool raise = true, int32_t timeout = kUseReadTimeout, bool failOnTimeout = true);

    // One line without its terminator; with the default LF terminator a CR before it goes too. `max` -1 is
    // MaxLineLength, 0 no limit.
    std::string ReadLine(std::string terminator = "\n", int32_t max = -1);
    void ReadExact(void* buffer, int64_t count);
    std::string ReadExact(int64_t count);
    // Copies `count` bytes, or with `untilClose` everything until the peer closes, into the stream at its
    // position, as one work cycle. When the peer closes before `count` bytes, every byte that did arrive is
    // written and the call fails with ENetConnClosedGracefully.
    void ReadToStream(TNetStream& stream, int64_t count, bool untilClose = false);

    // For readers that parse what arrives themselves: the bytes received and not yet taken, taking the first
    // `count` of them (reported as read progress), and a wait for more (ENetConnClosedGracefully when the
    // peer closes first).
    std::string_view BufferedInput() const { return {pendingInput_.Data(), pendingInput_.Size()}; }
    void TakeInput(size_t count) { pendingInput_.Remove(count); }
    void WaitForMoreInput();
    // The peer's last close came without the transport's own proof of an end (a TLS close_notify).
    bool PeerClosedUncleanly() const { return peerClosedUncleanly_; }

    void WriteText(const std::string& text);
    void WriteLine(const std::string& text);
    void WriteBytes(const void* buffer, int64_t count, bool now = false);
    void WriteFromStream(TNetStream& stream, bool fromStart = true, int64_t size = 0, bool withCount = false);

    void BeginBufferedWrite(int64_t threshold = -1);
    void FlushBufferedWrite(int64_t count = -1);
    void EndBufferedWrite();
    // Drops whatever the collector holds without sending it (a head whose writing failed half-way).
    void CancelBufferedWrite() { writeCollector_.reset(); }

protected:
    // What follows a disconnect, by CloseConnection or a detected peer close: fires OnDisconnected.
    // Descendants add their own steps.
    virtual void DoDisconnected();
    // A fresh connection starts with an empty input buffer and no close seen.
    void ResetInputState();
    // Creates an owned handler (MakeIOHandler) when there is none.
    std::shared_ptr<TNetIOHandlerSocket> EnsureIOHandler();
    // The handler a connection makes for itself: a plain one, unless a descendant needs another.
    virtual std::shared_ptr<TNetIOHandlerSocket> MakeIOHandler();
    bool OwnsIOHandler() const { return ownsHandler_; }

private:
    // Waits until `count` bytes are buffered; ENetConnClosedGracefully when the peer closes first.
    void fillTo(size_t count);
    void sendNow(const char* bytes, size_t count);

    TNetManagedBuffer pendingInput_;
    std::unique_ptr<std::string> writeCollector_;
    int64_t writeThreshold_ = -1;
    bool peerClosed_ = false;
    bool peerClosedUncleanly_ = false;
    bool lastLineSplit_ = false;
    bool ownsHandler_ = false;
    // The program closed the connection itself (the abort), as opposed to a close seen from the peer.
    bool closedLocally_ = false;
};

}  // namespace dorvanel::http
