#pragma once
// Failures of the transport and the engine that the shared exception list does not carry: the body stream,
// and the caps on what a peer may send.
#include <string>

#include "http/exceptions.h"

namespace dorvanel::http {

// The stream a body is written to (or a request body read from) refused the bytes.
class ENetStreamError : public ENetException {
public:
    using ENetException::ENetException;
};

}  // namespace dorvanel::http
