#pragma once
// The streams the engine puts between an answer's body and where it goes: nowhere (a body nobody reads),
// into a text (an error page), or on to another stream up to a cap; and a scope guard that puts a value
// back when the scope ends.
#include <cstdint>
#include <string>

#include "http/net_stream.h"

namespace dorvanel::http {

// Where a discarded body goes.
class TNullStream : public TNetStream {
public:
    int64_t Read(void*, int64_t) override { return 0; }
    void Write(const void*, int64_t count) override { position_ += count; }
    using TNetStream::Write;
    int64_t Size() const override { return position_; }
    void SetSize(int64_t size) override;
    int64_t Position() const override { return position_; }
    void SetPosition(int64_t position) override { position_ = position; }

private:
    int64_t position_ = 0;
};

// The text of an error body.
class TTextStream : public TNetStream {
public:
    int64_t Read(void*, int64_t) override { return 0; }
    void Write(const void* buffer, int64_t count) override;
    using TNetStream::Write;
    int64_t Size() const override { return static_cast<int64_t>(text_.size()); }
    void SetSize(int64_t size) override;
    int64_t Position() const override { return static_cast<int64_t>(text_.size()); }
    void SetPosition(int64_t) override {}
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

// Thrown by TCappedStream when a body goes past its cap; the caller decides what that means.
struct TBodyCapReached {};

// Passes a body on to another stream up to `cap` bytes; the write that would go past the cap writes what
// still fits and then throws TBodyCapReached, so that a peer cannot make the client read (or keep) more.
class TCappedStream : public TNetStream {
public:
    TCappedStream(TNetStream& inner, int64_t cap) : inner_(inner), cap_(cap) {}
    int64_t Read(void* buffer, int64_t count) override { return inner_.Read(buffer, count); }
    void Write(const void* buffer, int64_t count) override;
    using TNetStream::Write;
    int64_t Size() const override { return inner_.Size(); }
    void SetSize(int64_t size) override { inner_.SetSize(size); }
    int64_t Position() const override { return inner_.Position(); }
    void SetPosition(int64_t position) override { inner_.SetPosition(position); }

private:
    TNetStream& inner_;
    int64_t cap_;
    int64_t written_ = 0;
};

// Restores a value when the scope ends, on failure too.
template <typename T>
class TRestore {
public:
    TRestore(T& place, T value) : place_(place), saved_(place) { place_ = value; }
    ~TRestore() { place_ = saved_; }
    TRestore(const TRestore&) = delete;
    TRestore& operator=(const TRestore&) = delete;

private:
    T& place_;
    T saved_;
};

}  // namespace dorvanel::http
