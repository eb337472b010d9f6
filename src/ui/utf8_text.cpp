#include "ui/utf8_text.h"

#include <optional>

namespace kelvarine {
namespace {

// The UTF-8 character starting at `pos`, or nothing when the bytes there do not form a well-formed one.
std::optional<LineChar> utf8CharAt(std::string_view bytes, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(bytes[pos]);
  if (lead < 0x80) return LineChar{lead, 1};
  LineChar found;
  char32_t smallest = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    found = {static_cast<char32_t>(lead & 0x1F), 2};
    smallest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    found = {static_cast<char32_t>(lead & 0x0F), 3};
    smallest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    found = {static_cast<char32_t>(lead & 0x07), 4};
    smallest = 0x10000;
  } else {
    return std::nullopt;
  }
  if (bytes.size() - pos < found.size) return std::nullopt;
  for (std::size_t i = 1; i < found.size; ++i) {
    const auto next = static_cast<unsigned char>(bytes[pos + i]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    found.code = (found.code << 6) | (next & 0x3F);
  }
  if (found.code < smallest || found.code > 0x10FFFF || (found.code >= 0xD800 && found.code <= 0xDFFF))
    return std::nullopt;
  return found;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::optional<LineChar> found = utf8CharAt(bytes, pos);
    if (!found) return false;
    pos += found->size;
  }
  return true;
}

std::vector<LineChar> DecodeLine(std::string_view bytes) {
  std::vector<LineChar> chars;
  chars.reserve(bytes.size());
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::optional<LineChar> found = utf8CharAt(bytes, pos);
    if (!found) break;
    chars.push_back(*found);
    pos += found->size;
  }
  if (pos == bytes.size()) return chars;
  chars.clear();
  for (const char byte : bytes)
    chars.push_back({static_cast<unsigned char>(byte), 1});
  return chars;
}

}  // namespace kelvarine
