#include "skin/skin_description.h"

#include "common/text.h"
#include "skin/skin_errors.h"
#include "skin/skin_picture.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace dorvanel::skin {

namespace {

using common::LowerCase;
using common::LowerChar;
constexpr auto Trim = common::TrimView;

std::string KeyId(std::string_view section, std::string_view key) {
    std::string id = LowerCase(section);
    id += '\x01';
    for (char c : key) id += LowerChar(c);
    return id;
}

constexpr std::array<const char*, 7> kMorphKindNames = {
    "mkdefault", "mkgradient", "mkleftgradient", "mkrightgradient", "mkleftslide", "mkrightslide", "mkpush"};
static_assert(kMorphKindNames.size() == std::size_t(TMorphKind::mkPush) + 1);
constexpr std::array<const char*, 6> kFrameEffectNames = {"iebrightness", "iedarkness",  "iegrayscale",
                                                          "ienoise",      "iesplitblur", "ieinvert"};
static_assert(kFrameEffectNames.size() == std::size_t(TFrameEffect::ieInvert) + 1);
constexpr std::array<const char*, 7> kCommandNames = {"cmclose",   "cmmaximize", "cmminimize",      "cmsysmenu",
                                                      "cmdefault", "cmrollup",   "cmminimizetotray"};
static_assert(kCommandNames.size() == std::size_t(TStdCommand::cmMinimizeToTray) + 1);

// The numbers of a point or rectangle value: "," separates, digits are kept, every other character is
// dropped. The first `needed` numbers are converted; a missing or empty one is a conversion error.
template <std::size_t N>
std::array<int, N> ReadNumbers(std::string_view text) {
    std::array<int, N> out{};
    std::size_t index = 0;
    std::string current;
    auto finish = [&] {
        if (index < N) {
            int v = 0;
            if (current.empty() || !ParseSkinInteger(current, v)) throw EConvertError(current);
            // Coordinates come from a file a user may have downloaded: none lies past the largest picture side.
            out[index] = std::min(v, kMaxSkinCoordinate);
        }
        ++index;
        current.clear();
    };
    for (char c : text) {
        if (c == ',') {
            finish();
            if (index >= N) return out;  // surplus numbers are ignored
        } else if (c >= '0' && c <= '9') {
            current += c;
        }
    }
    finish();
    if (index < N) throw EConvertError("");
    return out;
}

}  // namespace

bool ParseSkinInteger(std::string_view text, int& value) {
    std::string_view s = text;
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (!s.empty() && s.front() == '$') {
        base = 16;
        s.remove_prefix(1);
    } else if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    if (s.empty()) return false;
    std::uint64_t v = 0;
    for (char c : s) {
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return false;
        v = v * std::uint64_t(base) + std::uint64_t(d);
        if (v > 0xFFFFFFFFull) return false;
    }
    if (base == 10) {
        if (v > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return false;
        value = negative ? int(-std::int64_t(v)) : int(v);
    } else {
        // Hexadecimal covers all 32 bits; values above 0x7FFFFFFF wrap to negatives.
        const auto bits = static_cast<std::uint32_t>(v);
        const auto asInt = static_cast<std::int32_t>(bits);
        value = negative ? int(-std::int64_t(asInt)) : int(asInt);
    }
    return true;
}

std::vector<std::string> TSkinDescription::SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

TSkinDescription::TSkinDescription(std::string_view text) {
    bool inSection = false;
    for (const std::string& raw : SplitLines(text)) {
        const std::string_view line = Trim(raw);
        if (line.empty() || line.front() == ';') continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            FSections.push_back({std::string(Trim(line.substr(1, line.size() - 2))), {}});
            FSectionIndex.emplace(LowerCase(FSections.back().Name), FSections.size() - 1);
            inSection = true;
            continue;
        }
        if (!inSection) continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        auto& keys = FSections.back().Keys;
        keys.push_back({std::string(Trim(line.substr(0, eq))), std::string(Trim(line.substr(eq + 1)))});
        IndexKey(FSections.size() - 1, keys.size() - 1);
    }
}

void TSkinDescription::IndexKey(std::size_t section, std::size_t key) {
    const Section& s = FSections[section];
    // Only the first section of a name is ever read; keys of a repeated section are kept but never found.
    const auto first = FSectionIndex.find(LowerCase(s.Name));
    if (first == FSectionIndex.end() || first->second != section) return;
    FKeyIndex.emplace(KeyId(s.Name, s.Keys[key].Name), std::pair(section, key));
}

bool TSkinDescription::HasSection(std::string_view section) const { return FSectionIndex.contains(LowerCase(section)); }

const std::string* TSkinDescription::Value(std::string_view section, std::string_view key) const {
    const auto it = FKeyIndex.find(KeyId(section, key));
    if (it == FKeyIndex.end()) return nullptr;
    return &FSections[it->second.first].Keys[it->second.second].Value;
}

void TSkinDescription::SetValue(std::string_view section, std::string_view key, std::string value) {
    const auto it = FKeyIndex.find(KeyId(section, key));
    if (it != FKeyIndex.end()) {
        FSections[it->second.first].Keys[it->second.second].Value = std::move(value);
        return;
    }
    auto sec = FSectionIndex.find(LowerCase(section));
    if (sec == FSectionIndex.end()) {
        FSections.push_back({std::string(section), {}});
        sec = FSectionIndex.emplace(LowerCase(section), FSections.size() - 1).first;
    }
    auto& keys = FSections[sec->second].Keys;
    keys.push_back({std::string(key), std::move(value)});
    IndexKey(sec->second, keys.size() - 1);
}

std::vector<std::string> TSkinDescription::ToLines() const {
    std::vector<std::string> lines;
    for (const Section& s : FSections) {
        lines.push_back("[" + s.Name + "]");
        for (const Key& k : s.Keys) lines.push_back(k.Name + "=" + k.Value);
    }
    return lines;
}

std::string TSkinDescription::ReadString(std::string_view section, std::string_view key, const std::string& def) const {
    const std::string* v = Value(section, key);
    return v ? *v : def;
}

int TSkinDescription::ReadInteger(std::string_view section, std::string_view key, int def) const {
    const std::string* v = Value(section, key);
    int out = def;
    if (!v || !ParseSkinInteger(*v, out)) return def;
    return out;
}

bool TSkinDescription::ReadFlag(std::string_view section, std::string_view key) const {
    return ReadInteger(section, key, 0) == 1;
}

TPoint TSkinDescription::ReadPoint(std::string_view section, std::string_view key) const {
    const std::string* v = Value(section, key);
    if (!v) return {};
    const auto n = ReadNumbers<2>(*v);
    return {n[0], n[1]};
}

TRect TSkinDescription::ReadRect(std::string_view section, std::string_view key) const {
    const std::string* v = Value(section, key);
    if (!v) return {};
    const auto n = ReadNumbers<4>(*v);
    return {n[0], n[1], n[2], n[3]};
}

TFontStyles TSkinDescription::ReadFontStyle(std::string_view section, std::string_view key) const {
    const std::string* v = Value(section, key);
    if (!v) return {};
    return {v->find("fsbold") != std::string::npos, v->find("fsitalic") != std::string::npos,
            v->find("fsunderline") != std::string::npos, v->find("fsstrikeout") != std::string::npos};
}

TAlignment TSkinDescription::ReadAlignment(std::string_view section, std::string_view key) const {
    const std::string* v = Value(section, key);
    if (!v || *v == "tacenter") return TAlignment::taCenter;
    if (*v == "taleftjustify") return TAlignment::taLeftJustify;
    return TAlignment::taRightJustify;
}

TMorphKind TSkinDescription::ReadMorphKind(std::string_view section, std::string_view key) const {
    const std::string* v = Value(section, key);
    if (v)
        for (std::size_t i = 0; i < kMorphKindNames.size(); ++i)
            if (*v == kMorphKindNames[i]) return TMorphKind(i);
    return TMorphKind::mkDefault;
}

TFrameEffect TSkinDescription::ReadFrameEffect(std::string_view section, std::string_view key) const {
    const std::string* v = Value(section, key);
    if (!v) return TFrameEffect::ieBrightness;
    for (std::size_t i = 0; i < kFrameEffectNames.size(); ++i)
        if (*v == kFrameEffectNames[i]) return TFrameEffect(i);
    return TFrameEffect::ieGrayscale;
}

TStdCommand TSkinDescription::ReadCommand(std::string_view section, std::string_view key) const {
    const std::string* v = Value(section, key);
    if (!v) return TStdCommand::cmDefault;
    for (std::size_t i = 0; i + 1 < kCommandNames.size(); ++i)
        if (*v == kCommandNames[i]) return TStdCommand(i);
    return TStdCommand::cmMinimizeToTray;
}

std::vector<std::pair<int, std::string>> TSkinDescription::ReadEntries(std::string_view section, int count) const {
    std::vector<std::pair<int, std::string>> entries;
    const auto sec = FSectionIndex.find(LowerCase(section));
    if (sec == FSectionIndex.end() || count <= 0) return entries;
    // Walks the keys present rather than every index below the count, so that a lying count costs nothing.
    for (const Key& k : FSections[sec->second].Keys) {
        int i = 0;
        if (!ParseSkinInteger(k.Name, i) || i < 0 || i >= count || std::to_string(i) != k.Name) continue;
        const std::string* first = Value(section, k.Name);
        if (first == &k.Value) entries.emplace_back(i, k.Value);
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

std::vector<std::string> TSkinDescription::ReadNameList(std::string_view section, std::string_view name) const {
    const int count = std::min(ReadInteger(section, std::string(name) + "count", 0), kMaxNameListEntries);
    std::vector<std::string> names(std::size_t(std::max(count, 0)));
    for (auto& [i, value] : ReadEntries(section, count)) names[std::size_t(i)] = std::move(value);
    return names;
}

void TSkinDescription::WriteString(std::string_view section, std::string_view key, std::string value) {
    SetValue(section, key, std::move(value));
}

void TSkinDescription::WriteInteger(std::string_view section, std::string_view key, int value) {
    SetValue(section, key, std::to_string(value));
}

void TSkinDescription::WriteFlag(std::string_view section, std::string_view key, bool value) {
    SetValue(section, key, value ? "1" : "0");
}

void TSkinDescription::WritePoint(std::string_view section, std::string_view key, TPoint value) {
    SetValue(section, key, std::to_string(value.X) + "," + std::to_string(value.Y));
}

void TSkinDescription::WriteRect(std::string_view section, std::string_view key, TRect value) {
    SetValue(section, key,
             std::to_string(value.Left) + "," + std::to_string(value.Top) + "," + std::to_string(value.Right) + "," +
                 std::to_string(value.Bottom));
}

void TSkinDescription::WriteFontStyle(std::string_view section, std::string_view key, TFontStyles value) {
    std::string text;
    auto add = [&](bool on, const char* word) {
        if (!on) return;
        if (!text.empty()) text += ',';
        text += word;
    };
    add(value.Bold, "fsbold");
    add(value.Italic, "fsitalic");
    add(value.Underline, "fsunderline");
    add(value.StrikeOut, "fsstrikeout");
    SetValue(section, key, text);
}

void TSkinDescription::WriteAlignment(std::string_view section, std::string_view key, TAlignment value) {
    SetValue(section, key,
             value == TAlignment::taCenter        ? "tacenter"
             : value == TAlignment::taLeftJustify ? "taleftjustify"
                                                  : "tarightjustify");
}

void TSkinDescription::WriteMorphKind(std::string_view section, std::string_view key, TMorphKind value) {
    SetValue(section, key, kMorphKindNames[std::size_t(value)]);
}

void TSkinDescription::WriteFrameEffect(std::string_view section, std::string_view key, TFrameEffect value) {
    SetValue(section, key, kFrameEffectNames[std::size_t(value)]);
}

void TSkinDescription::WriteCommand(std::string_view section, std::string_view key, TStdCommand value) {
    SetValue(section, key, kCommandNames[std::size_t(value)]);
}

void TSkinDescription::WriteNameList(std::string_view section, std::string_view name,
                                     const std::vector<std::string>& names) {
    WriteInteger(section, std::string(name) + "count", int(names.size()));
    for (std::size_t i = 0; i < names.size(); ++i) WriteString(section, std::to_string(i), names[i]);
}

// ---- TSkinKeys ----

TSkinKeys::TSkinKeys(const TSkinDescription& source, std::string section)
    : FSource(&source), FTarget(nullptr), FSection(std::move(section)) {}

TSkinKeys::TSkinKeys(TSkinDescription& target, std::string section)
    : FSource(nullptr), FTarget(&target), FSection(std::move(section)) {}

template <class T, class R, class W>
void TSkinKeys::Pass(const char* key, T& value, R read, W write) {
    if (Reading()) value = (FSource->*read)(FSection, key);
    else (FTarget->*write)(FSection, key, value);
}

void TSkinKeys::Text(const char* key, std::string& value, const char* def) {
    if (Reading()) value = FSource->ReadString(FSection, key, def);
    else FTarget->WriteString(FSection, key, value);
}

void TSkinKeys::Integer(const char* key, int& value, int def) {
    if (Reading()) value = FSource->ReadInteger(FSection, key, def);
    else FTarget->WriteInteger(FSection, key, value);
}

void TSkinKeys::Flag(const char* key, bool& value) {
    Pass(key, value, &TSkinDescription::ReadFlag, &TSkinDescription::WriteFlag);
}
void TSkinKeys::Point(const char* key, TPoint& value) {
    Pass(key, value, &TSkinDescription::ReadPoint, &TSkinDescription::WritePoint);
}
void TSkinKeys::Rect(const char* key, TRect& value) {
    Pass(key, value, &TSkinDescription::ReadRect, &TSkinDescription::WriteRect);
}
void TSkinKeys::FontStyle(const char* key, TFontStyles& value) {
    Pass(key, value, &TSkinDescription::ReadFontStyle, &TSkinDescription::WriteFontStyle);
}
void TSkinKeys::Alignment(const char* key, TAlignment& value) {
    Pass(key, value, &TSkinDescription::ReadAlignment, &TSkinDescription::WriteAlignment);
}
void TSkinKeys::MorphKind(const char* key, TMorphKind& value) {
    Pass(key, value, &TSkinDescription::ReadMorphKind, &TSkinDescription::WriteMorphKind);
}
void TSkinKeys::FrameEffect(const char* key, TFrameEffect& value) {
    Pass(key, value, &TSkinDescription::ReadFrameEffect, &TSkinDescription::WriteFrameEffect);
}
void TSkinKeys::Command(const char* key, TStdCommand& value) {
    Pass(key, value, &TSkinDescription::ReadCommand, &TSkinDescription::WriteCommand);
}

void TSkinKeys::Font(const char* prefix, std::string& name, int& height, TFontStyles& style, int& color) {
    const std::string p(prefix);
    Text((p + "fontname").c_str(), name, "Arial");
    Integer((p + "fontheight").c_str(), height, 14);
    height = std::clamp(height, -kMaxFontHeight, kMaxFontHeight);
    FontStyle((p + "fontstyle").c_str(), style);
    Color((p + "fontcolor").c_str(), color, 0);
}

}  // namespace dorvanel::skin
