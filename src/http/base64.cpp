#include "http/base64.h"

#include <sstream>

#include "http/exceptions.h"

namespace dorvanel::http {

namespace {
constexpr const char* kMimeTable = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
}  // namespace

std::string TNetEncoder3to4::Encode(const std::string& bytes) const {
    if (CodingTable.size() != 64) throw ENetException("The coding table must hold 64 characters.");
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    const auto at = [&bytes](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const uint32_t group = (at(i) << 16) | (at(i + 1) << 8) | at(i + 2);
        out += CodingTable[(group >> 18) & 63];
        out += CodingTable[(group >> 12) & 63];
        out += CodingTable[(group >> 6) & 63];
        out += CodingTable[group & 63];
    }
    const size_t left = bytes.size() - i;
    if (left > 0) {
        const uint32_t group = (at(i) << 16) | (left == 2 ? at(i + 1) << 8 : 0);
        out += CodingTable[(group >> 18) & 63];
        out += CodingTable[(group >> 12) & 63];
        out += left == 2 ? CodingTable[(group >> 6) & 63] : FillChar;
        out += FillChar;
    }
    return out;
}

std::string TNetEncoder3to4::EncodeStream(std::istream& stream, int32_t limit) const {
    const bool toEnd = limit == std::numeric_limits<int32_t>::max();
    if (!toEnd && limit % 3 != 0) throw ENetException("Uneven size in Encode.");
    if (!toEnd && limit <= 0) return {};
    std::string bytes;
    if (toEnd) {
        std::ostringstream all;
        all << stream.rdbuf();
        bytes = all.str();
    } else {
        bytes.resize(static_cast<size_t>(limit));
        stream.read(bytes.data(), limit);
        bytes.resize(static_cast<size_t>(stream.gcount()));
    }
    return Encode(bytes);
}

TNetEncoderMIME::TNetEncoderMIME() {
    CodingTable = kMimeTable;
    FillChar = '=';
}

void TNetDecoder4to3::buildDecodeTable(const std::string& codingTable) {
    for (int& entry : decodeTable_) entry = -1;
    for (size_t i = 0; i < codingTable.size() && i < 64; ++i) {
        decodeTable_[static_cast<unsigned char>(codingTable[i])] = static_cast<int>(i);
    }
}

void TNetDecoder4to3::DecodeToStream(const std::string& text, std::ostream& stream) const {
    if (text.size() % 4 != 0) throw ENetException("Uneven size in DecodeToStream.");
    const auto value = [this](char c) {
        const int v = decodeTable_[static_cast<unsigned char>(c)];
        if (v < 0) throw ENetException("Invalid character in Base64 data.");
        return static_cast<uint32_t>(v);
    };
    for (size_t i = 0; i < text.size(); i += 4) {
        const bool thirdFill = text[i + 2] == FillChar;
        const bool fourthFill = text[i + 3] == FillChar;
        // A fill character stands only at the end of a group; one in third place needs another after it.
        if (thirdFill && !fourthFill) throw ENetException("Invalid character in Base64 data.");
        uint32_t group = (value(text[i]) << 18) | (value(text[i + 1]) << 12);
        if (!thirdFill) group |= value(text[i + 2]) << 6;
        if (!fourthFill) group |= value(text[i + 3]);
        const char bytes[3] = {static_cast<char>(group >> 16), static_cast<char>(group >> 8), static_cast<char>(group)};
        stream.write(bytes, thirdFill ? 1 : fourthFill ? 2 : 3);
    }
}

std::string TNetDecoder4to3::Decode(const std::string& text) const {
    std::ostringstream out;
    DecodeToStream(text, out);
    return out.str();
}

TNetDecoderMIME::TNetDecoderMIME() {
    FillChar = '=';
    buildDecodeTable(kMimeTable);
}

std::string EncodeText(const std::string& text) { return TNetEncoderMIME().Encode(text); }

void DecodeText(const std::string& text, std::ostream& stream) { TNetDecoderMIME().DecodeToStream(text, stream); }

std::string DecodeText(const std::string& text) { return TNetDecoderMIME().Decode(text); }

}  // namespace dorvanel::http
