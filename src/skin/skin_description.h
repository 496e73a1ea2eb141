#pragma once
// The sectioned description text of a skin: sections and keys found without regard to case, the first
// occurrence winning, and the value kinds of every key read (and written back) by the description objects.
#include "skin/skin_types.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace dorvanel::skin {

inline constexpr int kMaxNameListEntries = 4096;

class TSkinDescription {
public:
    struct Key {
        std::string Name;
        std::string Value;
    };
    struct Section {
        std::string Name;
        std::vector<Key> Keys;
    };

    TSkinDescription() = default;
    // Parses description text: lines ended by CR LF, a lone CR or a lone LF.
    explicit TSkinDescription(std::string_view text);
    static std::vector<std::string> SplitLines(std::string_view text);

    bool HasSection(std::string_view section) const;
    // The value of the first matching key of the first matching section, or null when absent.
    const std::string* Value(std::string_view section, std::string_view key) const;
    // Sets the value of a key, adding the section and key when absent.
    void SetValue(std::string_view section, std::string_view key, std::string value);
    const std::vector<Section>& Sections() const { return FSections; }
    // The text as lines, "[name]" then "key=value".
    std::vector<std::string> ToLines() const;

    // Typed reads with the documented defaults. ReadPoint and ReadRect raise EConvertError for a value with
    // too few numbers or an empty number.
    std::string ReadString(std::string_view section, std::string_view key, const std::string& def = {}) const;
    int ReadInteger(std::string_view section, std::string_view key, int def) const;
    bool ReadFlag(std::string_view section, std::string_view key) const;
    TPoint ReadPoint(std::string_view section, std::string_view key) const;
    TRect ReadRect(std::string_view section, std::string_view key) const;
    TFontStyles ReadFontStyle(std::string_view section, std::string_view key) const;
    TAlignment ReadAlignment(std::string_view section, std::string_view key) const;
    TMorphKind ReadMorphKind(std::string_view section, std::string_view key) const;
    TFrameEffect ReadFrameEffect(std::string_view section, std::string_view key) const;
    TStdCommand ReadCommand(std::string_view section, std::string_view key) const;
    // A name list: the "<name>count" key, then "0", "1", ... (a missing entry reads as empty). At most
    // kMaxNameListEntries names are read, whatever the count claims.
    std::vector<std::string> ReadNameList(std::string_view section, std::string_view name) const;
    // The entries "0" to "count-1" that are present in a section, in index order.
    std::vector<std::pair<int, std::string>> ReadEntries(std::string_view section, int count) const;

    void WriteString(std::string_view section, std::string_view key, std::string value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteFlag(std::string_view section, std::string_view key, bool value);
    void WritePoint(std::string_view section, std::string_view key, TPoint value);
    void WriteRect(std::string_view section, std::string_view key, TRect value);
    void WriteFontStyle(std::string_view section, std::string_view key, TFontStyles value);
    void WriteAlignment(std::string_view section, std::string_view key, TAlignment value);
    void WriteMorphKind(std::string_view section, std::string_view key, TMorphKind value);
    void WriteFrameEffect(std::string_view section, std::string_view key, TFrameEffect value);
    void WriteCommand(std::string_view section, std::string_view key, TStdCommand value);
    void WriteNameList(std::string_view section, std::string_view name, const std::vector<std::string>& names);

private:
    void IndexKey(std::size_t section, std::size_t key);
    std::vector<Section> FSections;
    // Lower-case section name, and lower-case "section\x01key", to the first occurrence.
    std::unordered_map<std::string, std::size_t> FSectionIndex;
    std::unordered_map<std::string, std::pair<std::size_t, std::size_t>> FKeyIndex;
};

// Parses an integer as the description writes it: decimal, or hexadecimal after "0x", "0X" or "$".
// False when the text is no integer or does not fit 32 bits.
bool ParseSkinInteger(std::string_view text, int& value);

// One pass over the keys of a description object, reading them from a description (with their defaults)
// or writing them back. Each description class lists its keys once, in one Exchange function.
class TSkinKeys {
public:
    TSkinKeys(const TSkinDescription& source, std::string section);  // reading
    TSkinKeys(TSkinDescription& target, std::string section);        // writing

    bool Reading() const { return FTarget == nullptr; }
    const std::string& SectionName() const { return FSection; }

    void Text(const char* key, std::string& value, const char* def = "");
    void Integer(const char* key, int& value, int def = 0);
    void Color(const char* key, int& value, int def = 0) { Integer(key, value, def); }
    void PictureIndex(const char* key, int& value) { Integer(key, value, -1); }
    void Flag(const char* key, bool& value);
    void Point(const char* key, TPoint& value);
    void Rect(const char* key, TRect& value);
    void FontStyle(const char* key, TFontStyles& value);
    void Alignment(const char* key, TAlignment& value);
    void MorphKind(const char* key, TMorphKind& value);
    void FrameEffect(const char* key, TFrameEffect& value);
    void Command(const char* key, TStdCommand& value);
    // "<prefix>fontname" ("Arial"), "<prefix>fontheight" (14), "<prefix>fontstyle", "<prefix>fontcolor" (0).
    void Font(const char* prefix, std::string& name, int& height, TFontStyles& style, int& color);

private:
    template <class T, class R, class W>
    void Pass(const char* key, T& value, R read, W write);

    const TSkinDescription* FSource;
    TSkinDescription* FTarget;
    std::string FSection;
};

// A description object: it names its keys once (Exchange) and reads them from, or writes them back to, the
// section called IDName.
class TSkinDescribed {
public:
    explicit TSkinDescribed(std::string idName) : IDName(std::move(idName)) {}
    virtual ~TSkinDescribed() = default;
    TSkinDescribed(const TSkinDescribed&) = default;
    TSkinDescribed& operator=(const TSkinDescribed&) = default;

    virtual void ReadDescription(const TSkinDescription& description) {
        TSkinKeys keys(description, IDName);
        Exchange(keys);
    }
    virtual void WriteDescription(TSkinDescription& description) {
        TSkinKeys keys(description, IDName);
        Exchange(keys);
    }

    std::string IDName;

protected:
    virtual void Exchange(TSkinKeys& keys) = 0;
};

}  // namespace dorvanel::skin
