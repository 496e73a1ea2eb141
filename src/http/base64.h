#pragma once
// The Base64 coder of MIME (RFC 2045) that Basic authentication uses. Encoding never breaks lines.
#include <cstdint>
#include <istream>
#include <limits>
#include <ostream>
#include <string>

namespace dorvanel::http {

// Turns each group of three bytes into four characters of a 64-character table.
class TNetEncoder3to4 {
public:
    virtual ~TNetEncoder3to4() = default;

    std::string CodingTable;
    char FillChar = '=';

    // Encodes the bytes from the stream's position, at most `limit` of them. A limit other than the largest
    // 32-bit integer (which means "to the end") must be a multiple of 3, else ENetException
    // "Uneven size in Encode.".
    std::string EncodeStream(std::istream& stream, int32_t limit = std::numeric_limits<int32_t>::max()) const;
    std::string Encode(const std::string& bytes) const;
};

class TNetEncoderMIME : public TNetEncoder3to4 {
public:
    TNetEncoderMIME();
};

// Turns each group of four characters back into three bytes.
class TNetDecoder4to3 {
public:
    TNetDecoder4to3() { buildDecodeTable({}); }
    virtual ~TNetDecoder4to3() = default;

    char FillChar = '=';

    // The text's length must be a multiple of 4 (ENetException "Uneven size in DecodeToStream."); a
    // character outside the table fails with ENetException "Invalid character in Base64 data.".
    void DecodeToStream(const std::string& text, std::ostream& stream) const;
    std::string Decode(const std::string& text) const;

protected:
    void buildDecodeTable(const std::string& codingTable);
    // -1 for a character outside the table; indexed by byte value.
    int decodeTable_[256];
};

class TNetDecoderMIME : public TNetDecoder4to3 {
public:
    TNetDecoderMIME();
};

// A whole text encoded with a fresh MIME encoder.
std::string EncodeText(const std::string& text);
// A whole text decoded with a fresh MIME decoder into `stream`.
void DecodeText(const std::string& text, std::ostream& stream);
std::string DecodeText(const std::string& text);

}  // namespace dorvanel::http
