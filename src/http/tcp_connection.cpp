#include "http/tcp_connection.h"

#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#include "http/exceptions.h"
#include "http/idle_pump.h"
#include "http/net_stack.h"
#include "http/net_stream.h"

namespace dorvanel::http {

char* TNetManagedBuffer::Reserve(size_t count) {
    if (end_ + count > capacity_) {
        const size_t content = Size();
        if (content + count <= capacity_) {
            std::memmove(data_.get(), data_.get() + begin_, content);
        } else {
            const size_t capacity = std::max(capacity_ * 2, content + count);
            auto grown = std::make_unique<char[]>(capacity);
            if (content) std::memcpy(grown.get(), data_.get() + begin_, content);
            data_ = std::move(grown);
            capacity_ = capacity;
        }
        begin_ = 0;
        end_ = content;
    }
    return data_.get() + end_;
}

void TNetManagedBuffer::Append(const char* bytes, size_t count) {
    if (count == 0) return;
    std::memcpy(Reserve(count), bytes, count);
    Commit(count);
}

void TNetManagedBuffer::Remove(size_t count) {
    if (count > Size()) throw ENetNotEnoughDataInBuffer();
    if (count == Size()) {
        begin_ = end_ = 0;
    } else {
        begin_ += count;
        if (begin_ >= CompactThreshold) {
            std::memmove(data_.get(), data_.get() + begin_, Size());
            end_ -= begin_;
            begin_ = 0;
        }
    }
    owner_.ReportWork(TWorkMode::wmRead, static_cast<int64_t>(count));
}

TNetTCPConnection::TNetTCPConnection() : pendingInput_(*this) {}

TNetTCPConnection::~TNetTCPConnection() {
    if (IOHandler && ownsHandler_) IOHandler->Close();
}

void TNetTCPConnection::SetIOHandler(std::shared_ptr<TNetIOHandlerSocket> handler) {
    if (IOHandler && ownsHandler_) IOHandler->Close();
    IOHandler = std::move(handler);
    ownsHandler_ = false;
}

std::shared_ptr<TNetIOHandlerSocket> TNetTCPConnection::EnsureIOHandler() {
    if (!IOHandler) {
        IOHandler = MakeIOHandler();
        ownsHandler_ = true;
    }
    return IOHandler;
}

std::shared_ptr<TNetIOHandlerSocket> TNetTCPConnection::MakeIOHandler() {
    return std::make_shared<TNetIOHandlerSocket>();
}

void TNetTCPConnection::ResetInputState() {
    pendingInput_.Clear();
    peerClosed_ = false;
    peerClosedUncleanly_ = false;
    closedLocally_ = false;
}

void TNetTCPConnection::DropSocket() {
    if (!IOHandler) return;
    peerClosed_ = true;
    IOHandler->Close();
}

void TNetTCPConnection::CloseConnection() {
    ReportStatus(TNetStatus::hsDisconnecting);
    closedLocally_ = true;
    DropSocket();
    if (ownsHandler_) {
        IOHandler.reset();
        ownsHandler_ = false;
    }
    DoDisconnected();
    ReportStatus(TNetStatus::hsDisconnected);
}

void TNetTCPConnection::DoDisconnected() {
    if (OnDisconnected) OnDisconnected(*this);
}

bool TNetTCPConnection::CheckPeerClosed(bool raise, bool ignoreBuffer) {
    bool gone;
    if (peerClosed_ || !IOHandler) {
        if (IOHandler && IOHandler->Connected()) {
            DropSocket();
            ReportStatus(TNetStatus::hsDisconnected);
            DoDisconnected();
        }
        gone = IOHandler != nullptr;
    } else {
        gone = !IOHandler->Connected();
    }
    if (gone && raise && (pendingInput_.Size() == 0 || ignoreBuffer)) throw ENetConnClosedGracefully();
    return gone;
}

bool TNetTCPConnection::IsConnected() {
    CheckPeerClosed(false);
    return IOHandler && IOHandler->Connected();
}

void TNetTCPConnection::PollPeerClosed(bool raise) { FillInputBuffer(raise, kNoWait, false); }

int64_t TNetTCPConnection::FillInputBuffer(bool raise, int32_t timeout, bool failOnTimeout) {
    if (timeout == kUseReadTimeout) timeout = ReadTimeout;
    const int waitMs = timeout == kNoWait ? 0 : timeout <= 0 ? -1 : timeout;
    CheckPeerClosed(raise);
    if (!IOHandler || !IOHandler->Connected()) {
        if (raise) throw ENetNotConnected();
        return 0;
    }
    int64_t received = 0;
    do {
        // Held here so that a handler closed by the program inside the pump stays valid until we look at it.
        std::shared_ptr<TNetIOHandlerSocket> handler = IOHandler;
        if (!handler->HasPendingInput() && !handler->Binding.WaitReadable(waitMs)) {
            if (failOnTimeout) throw ENetReadTimeout();
            return -1;
        }
        if (IOHandler != handler || !handler->Connected()) {
            // The program closed the connection while the pump ran.
            if (raise) throw ENetNotConnected();
            return 0;
        }
        const size_t want = static_cast<size_t>(std::max(1, RecvBufferSize));
        char* tail = pendingInput_.Reserve(want);
        int err = 0;
        const ssize_t n = handler->Receive(tail, want, err);
        // A transport that has only part of what it needs (a TLS record) waits for the rest.
        if (n < 0 && (err == EAGAIN || err == EWOULDBLOCK)) continue;
        if (n < 0) {
            const int32_t code = SocketCodeFromErrno(err);
            // A socket that failed once is of no further use: it is dropped whatever the error, so that the
            // next request opens a new connection instead of reusing a broken one.
            DropSocket();
            if ((code == 10053 || code == 10058) && pendingInput_.Size() > 0) return 0;
            throw ENetSocketError(code);
        }
        peerClosed_ = n == 0;
        if (peerClosed_) peerClosedUncleanly_ = handler->ClosedUncleanly();
        if (n > 0) {
            if (ASCIIFilter) {
                for (ssize_t i = 0; i < n; ++i) tail[i] = static_cast<char>(tail[i] & 0x7F);
            }
            pendingInput_.Commit(static_cast<size_t>(n));
            received = n;
        }
        CheckPeerClosed(raise);
    } while (received == 0 && IOHandler && IOHandler->Connected());
    return received;
}

std::string TNetTCPConnection::ReadLine(std::string terminator, int32_t max) {
    if (terminator.empty()) terminator.push_back('\n');
    if (max == -1) max = MaxLineLength;
    lastLineSplit_ = false;
    const size_t limit = max > 0 ? static_cast<size_t>(max) : std::numeric_limits<size_t>::max();
    size_t searched = 0;  // bytes already looked at; only new ones are searched again
    while (true) {
        const std::string_view content(pendingInput_.Data(), pendingInput_.Size());
        const size_t from = searched >= terminator.size() ? searched - (terminator.size() - 1) : 0;
        const size_t found = content.find(terminator, from);
        const bool tooLong = found != std::string_view::npos ? found > limit : content.size() > limit;
        if (tooLong) {
            if (MaxLineAction == TNetMaxLineAction::maException) throw ENetReadLnMaxLineLengthExceeded();
            std::string line(content.substr(0, limit));
            pendingInput_.Remove(limit);
            lastLineSplit_ = true;
            return line;
        }
        if (found != std::string_view::npos) {
            std::string line(content.substr(0, found));
            pendingInput_.Remove(found + terminator.size());
            if (terminator == "\n" && !line.empty() && line.back() == '\r') line.pop_back();
            return line;
        }
        searched = content.size();
        // A closed connection fails here even with a partial line buffered: a line cut off by the close is
        // not a line. The partial line stays buffered.
        CheckPeerClosed(true, true);
        FillInputBuffer(true);
    }
}

void TNetTCPConnection::WaitForMoreInput() {
    FillInputBuffer(true);
    CheckPeerClosed(true, true);
}

void TNetTCPConnection::fillTo(size_t count) {
    while (pendingInput_.Size() < count) {
        FillInputBuffer(true);
        CheckPeerClosed(true, true);
    }
}

void TNetTCPConnection::ReadExact(void* buffer, int64_t count) {
    if (count <= 0) return;
    fillTo(static_cast<size_t>(count));
    std::memcpy(buffer, pendingInput_.Data(), static_cast<size_t>(count));
    pendingInput_.Remove(static_cast<size_t>(count));
}

std::string TNetTCPConnection::ReadExact(int64_t count) {
    std::string bytes(static_cast<size_t>(std::max<int64_t>(0, count)), '\0');
    ReadExact(bytes.data(), count);
    return bytes;
}

void TNetTCPConnection::ReadToStream(TNetStream& stream, int64_t count, bool untilClose) {
    // The stream is never grown ahead of the bytes actually received: a hostile length costs nothing.
    StartWork(TWorkMode::wmRead, untilClose ? 0 : count);
    try {
        int64_t remaining = untilClose ? std::numeric_limits<int64_t>::max() : std::max<int64_t>(0, count);
        auto moveBuffered = [&](int64_t most, bool report) {
            const auto n = static_cast<size_t>(std::min<int64_t>(most, static_cast<int64_t>(pendingInput_.Size())));
            if (n == 0) return;
            stream.Write(pendingInput_.Data(), static_cast<int64_t>(n));
            remaining -= static_cast<int64_t>(n);
            if (report) {
                pendingInput_.Remove(n);
            } else {
                pendingInput_.Clear();
            }
        };
        moveBuffered(remaining, true);
        const int64_t block = std::min<int64_t>(remaining, std::max(1, RecvBufferSize));
        while (remaining > 0 && IsConnected()) {
            const int64_t want = std::min(remaining, block);
            try {
                fillTo(static_cast<size_t>(want));
            } catch (const ENetConnClosedGracefully&) {
                // The close ends such a body only when the transport can prove it was meant: over TLS that
                // is the peer's close_notify, without which a body cut by an attacker would pass for whole.
                if (untilClose && !peerClosedUncleanly_) {
                    moveBuffered(remaining, false);
                    break;
                }
                // Nothing received is thrown away: the bytes of the cut-off block are written before failing.
                moveBuffered(remaining, true);
                throw;
            }
            stream.Write(pendingInput_.Data(), want);
            remaining -= want;
            pendingInput_.Remove(static_cast<size_t>(want));
        }
        // A connection that went away under a counted read without the program closing it is a cut-off
        // body, not a finished one.
        if (!untilClose && remaining > 0 && !closedLocally_) throw ENetConnClosedGracefully();
    } catch (...) {
        FinishWork(TWorkMode::wmRead);
        if (stream.Size() > stream.Position()) stream.SetSize(stream.Position());
        throw;
    }
    FinishWork(TWorkMode::wmRead);
    if (stream.Size() > stream.Position()) stream.SetSize(stream.Position());
}

void TNetTCPConnection::WriteText(const std::string& text) {
    WriteBytes(text.data(), static_cast<int64_t>(text.size()));
}

void TNetTCPConnection::WriteLine(const std::string& text) {
    std::string line;
    line.reserve(text.size() + 2);
    line.append(text).append("\r\n");
    WriteText(line);
}

void TNetTCPConnection::WriteBytes(const void* buffer, int64_t count, bool now) {
    if (count <= 0) return;
    CheckPeerClosed(true, true);
    if (!IOHandler || !IOHandler->Connected()) throw ENetNotConnected();
    if (writeCollector_ && !now) {
        writeCollector_->append(static_cast<const char*>(buffer), static_cast<size_t>(count));
        if (writeThreshold_ > 0 && static_cast<int64_t>(writeCollector_->size()) >= writeThreshold_) {
            FlushBufferedWrite(writeThreshold_);
        }
        return;
    }
    // A private copy: the caller's buffer may belong to something a handler run by the pump changes.
    const std::string copy(static_cast<const char*>(buffer), static_cast<size_t>(count));
    sendNow(copy.data(), copy.size());
}

// Sends without blocking and waits for room with the pump, so that a peer that stops reading can neither
// freeze the windows nor keep Stop from working. With a ReadTimeout, a peer that takes nothing for that
// long fails the send as a timed-out connection.
void TNetTCPConnection::sendNow(const char* bytes, size_t count) {
    size_t sent = 0;
    while (sent < count) {
        std::shared_ptr<TNetIOHandlerSocket> handler = IOHandler;
        if (!handler || !handler->Connected()) throw ENetNotConnected();
        int err = 0;
        const ssize_t n = handler->SendSome(bytes + sent, count - sent, err);
        if (n < 0 && (err == EAGAIN || err == EWOULDBLOCK)) {
            if (!handler->Binding.WaitWritable(ReadTimeout > 0 ? ReadTimeout : -1)) throw ENetSocketError(10060);
            continue;
        }
        if (TNetIdlePumpBase* pump = TNetIdlePumpBase::ActivePump()) pump->PumpIfDue(false);
        if (n < 0) {
            const int32_t code = SocketCodeFromErrno(err);
            if (code == 10053 || code == 10054 || code == 10058) DropSocket();
            throw ENetSocketError(code);
        }
        peerClosed_ = n == 0;
        CheckPeerClosed(true);
        sent += static_cast<size_t>(n);
        ReportWork(TWorkMode::wmWrite, n);
    }
}

void TNetTCPConnection::BeginBufferedWrite(int64_t threshold) {
    writeCollector_ = std::make_unique<std::string>();
    writeThreshold_ = threshold;
}

void TNetTCPConnection::FlushBufferedWrite(int64_t count) {
    if (!writeCollector_ || writeCollector_->empty()) return;
    if (count != -1 && static_cast<int64_t>(writeCollector_->size()) >= count) {
        const std::string head = writeCollector_->substr(0, static_cast<size_t>(count));
        writeCollector_->erase(0, static_cast<size_t>(count));
        WriteBytes(head.data(), count, true);
    } else {
        const std::string all = std::move(*writeCollector_);
        writeCollector_->clear();
        WriteBytes(all.data(), static_cast<int64_t>(all.size()), true);
    }
}

void TNetTCPConnection::EndBufferedWrite() {
    try {
        FlushBufferedWrite(-1);
    } catch (...) {
        writeCollector_.reset();
        throw;
    }
    writeCollector_.reset();
}

void TNetTCPConnection::WriteFromStream(TNetStream& stream, bool fromStart, int64_t size, bool withCount) {
    if (fromStart) stream.SetPosition(0);
    const int64_t end = size == 0 ? stream.Size() : stream.Position() + size;
    const int64_t total = std::max<int64_t>(0, end - stream.Position());
    if (withCount) {
        const auto n = static_cast<uint32_t>(total);
        const unsigned char be[4] = {static_cast<unsigned char>(n >> 24), static_cast<unsigned char>(n >> 16),
                                     static_cast<unsigned char>(n >> 8), static_cast<unsigned char>(n)};
        WriteBytes(be, 4);
    }
    StartWork(TWorkMode::wmWrite, total);
    try {
        std::string block(static_cast<size_t>(std::max(1, SendBufferSize)), '\0');
        int64_t left = total;
        while (left > 0) {
            const int64_t want = std::min<int64_t>(left, static_cast<int64_t>(block.size()));
            const int64_t got = stream.Read(block.data(), want);
            if (got <= 0) throw ENetNoDataToRead();
            WriteBytes(block.data(), got);
            left -= got;
        }
    } catch (...) {
        FinishWork(TWorkMode::wmWrite);
        throw;
    }
    FinishWork(TWorkMode::wmWrite);
}

}  // namespace dorvanel::http
