#pragma once
// Every failure the HTTP client raises. Each class carries the fixed text the program shows; the classes
// mirror the layers (transport, socket handle, stack, protocol) so callers can catch as narrowly as they need.
#include <cstdint>
#include <string>

#include "common/exception.h"

namespace dorvanel::http {

class ENetException : public dorvanel::Exception {
public:
    explicit ENetException(const std::string& message) : dorvanel::Exception(message) {}
};

// A failure that ends a read quietly: the peer simply went away.
class ENetSilentException : public ENetException {
public:
    using ENetException::ENetException;
};

class ENetConnClosedGracefully : public ENetSilentException {
public:
    ENetConnClosedGracefully() : ENetSilentException("Connection Closed Gracefully.") {}
};

class ENetTCPConnectionError : public ENetException {
public:
    using ENetException::ENetException;
};

class ENetNotConnected : public ENetTCPConnectionError {
public:
    ENetNotConnected() : ENetTCPConnectionError("Not Connected") {}
};

class ENetNotEnoughDataInBuffer : public ENetTCPConnectionError {
public:
    ENetNotEnoughDataInBuffer() : ENetTCPConnectionError("Not enough data in buffer.") {}
};

class ENetNoDataToRead : public ENetTCPConnectionError {
public:
    ENetNoDataToRead() : ENetTCPConnectionError("No data to read.") {}
};

class ENetReadTimeout : public ENetException {
public:
    ENetReadTimeout() : ENetException("Read Timeout") {}
};

class ENetReadLnMaxLineLengthExceeded : public ENetException {
public:
    ENetReadLnMaxLineLengthExceeded() : ENetException("Max line length exceeded.") {}
};

class ENetAlreadyConnected : public ENetException {
public:
    ENetAlreadyConnected() : ENetException("Already connected.") {}
};

// A handler asked to receive or send while its socket is not allocated.
class ENetClosedSocket : public ENetException {
public:
    ENetClosedSocket() : ENetException("Disconnected.") {}
};

class ENetConnectTimeout : public ENetException {
public:
    ENetConnectTimeout() : ENetException("Connect timed out.") {}
};

// Carries the connect thread's own failure text.
class ENetConnectException : public ENetException {
public:
    using ENetException::ENetException;
};

class ENetInvalidSocket : public ENetException {
public:
    ENetInvalidSocket() : ENetException("Cannot allocate socket.") {}
};

class ENetSocketHandleError : public ENetException {
public:
    using ENetException::ENetException;
};

class ENetCouldNotBindSocket : public ENetSocketHandleError {
public:
    ENetCouldNotBindSocket() : ENetSocketHandleError("Could not bind socket. Address and port are already in use.") {}
};

class ENetCanNotBindPortInRange : public ENetSocketHandleError {
public:
    ENetCanNotBindPortInRange(int32_t min, int32_t max);
};

class ENetInvalidPortRange : public ENetSocketHandleError {
public:
    ENetInvalidPortRange(int32_t min, int32_t max);
};

class ENetStackError : public ENetException {
public:
    using ENetException::ENetException;
};

class ENetStackInitializationFailed : public ENetStackError {
public:
    ENetStackInitializationFailed() : ENetStackError("Winsock Initialization Error.") {}
};

// "Socket Error # <code>", CR LF, and the text that belongs to the code (empty for unknown codes).
class ENetSocketError : public ENetException {
public:
    explicit ENetSocketError(int32_t code);
    int32_t SocketCode;

    // The text shown for a socket error number; empty when the number has none.
    static std::string TextFor(int32_t code);
};

class ENetURIException : public ENetException {
public:
    using ENetException::ENetException;
};

// A scheme the client does not speak. Without a scheme the message stays empty; with one (a redirect to
// "ftp:" or "javascript:") it names it, so the user can see where the server tried to send the client.
class ENetUnknownProtocol : public ENetException {
public:
    ENetUnknownProtocol() : ENetException("") {}
    explicit ENetUnknownProtocol(const std::string& scheme);
};

// A peer that does not speak HTTP/1.x as it must (a status line that is no status line, a length that is no
// length, a chunk-size line that cannot be read, too many interim answers or redirects, a body past the
// cap). The message names what went wrong and quotes, escaped and cut, what the peer sent.
class ENetProtocolError : public ENetException {
public:
    using ENetException::ENetException;
};

// A TLS connection that could not be set up or broke: "TLS handshake failed: " and what went wrong.
class ENetTLSError : public ENetException {
public:
    using ENetException::ENetException;
};

// The server's certificate was not accepted: "Certificate verification failed: " and the reason (not
// trusted, expired, made for another name, ...).
class ENetTLSVerifyError : public ENetTLSError {
public:
    explicit ENetTLSVerifyError(const std::string& reason)
        : ENetTLSError("Certificate verification failed: " + reason) {}
};

// A request the client refuses to send: a target or header value holding control bytes, which would end the
// line early and let the rest be read as a header of its own.
class ENetInvalidRequest : public ENetException {
public:
    using ENetException::ENetException;
};

class ENetIOHandlerPropInvalid : public ENetException {
public:
    ENetIOHandlerPropInvalid() : ENetException("IOHandler value is not valid") {}
};

class ENetFailedToRetreiveTimeZoneInfo : public ENetException {
public:
    ENetFailedToRetreiveTimeZoneInfo() : ENetException("Failed attempting to retrieve time zone information.") {}
};

class ENetAlreadyRegisteredAuthenticationMethod : public ENetException {
public:
    explicit ENetAlreadyRegisteredAuthenticationMethod(const std::string& registeredClassName);
};

// A header or attribute value that had to be a number and was not (a "Content-Range" bound, a cookie port).
class ENetConvertError : public ENetException {
public:
    explicit ENetConvertError(const std::string& text);
};

// A final status the client does not accept. The message is the status line as the server sent it.
class ENetHTTPProtocolException : public ENetException {
public:
    ENetHTTPProtocolException(const std::string& statusLine, int32_t replyCode, std::string replyBody)
        : ENetException(statusLine), ReplyCode(replyCode), ReplyBody(std::move(replyBody)) {}
    int32_t ReplyCode;
    std::string ReplyBody;
};

}  // namespace dorvanel::http
