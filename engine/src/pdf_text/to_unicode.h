#pragma once
// A font's ToUnicode CMap: character code -> text (UTF-8).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace bw {

class ToUnicodeMap {
public:
    // Reads the bfchar and bfrange sections of a CMap program; everything else is skipped.
    // Never fails: what cannot be read is left out of the map.
    static ToUnicodeMap parse(std::string_view cmap);

    // The text for a code, or nullptr when the map does not know the code.
    const std::string *find(uint32_t code) const;

    bool empty() const { return entries_.empty(); }
    size_t size() const { return entries_.size(); }

    void set(uint32_t code, std::string text) { entries_[code] = std::move(text); }

private:
    std::unordered_map<uint32_t, std::string> entries_;
};

// The text of a string shown with a font whose map is `map` (null: the font has none).
// Without a map every byte is the character with that code. With a map the bytes are read as
// big-endian two-byte codes (a trailing odd byte is dropped); when that yields no text at all,
// they are read again as one-byte codes. Codes the map does not know are skipped.
std::string decode_shown_string(std::string_view bytes, const ToUnicodeMap *map);

// UTF-16BE bytes (a CMap destination) as UTF-8; unpaired surrogates become U+FFFD.
std::string utf16be_to_utf8(std::string_view bytes);

// One code point as UTF-8.
void append_utf8(std::string &out, uint32_t cp);

}  // namespace bw
