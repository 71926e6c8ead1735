// ZoneTitle.cpp — reads the first field of a zone file without reading the rest of it.
#include "ZoneTitle.h"

#include <fstream>

#include "Text.h"

namespace quarn {

std::string ZoneTitleOfText(std::string_view text, bool cut) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  std::string_view field;
  bool reachesEnd = false;
  if (i < text.size() && text[i] == '"') {
    const size_t close = text.find('"', i + 1);
    reachesEnd = close == std::string_view::npos;
    field = text.substr(i + 1, reachesEnd ? std::string_view::npos : close - i - 1);
  } else {
    const size_t end = text.find_first_of(",\r\n", i);
    reachesEnd = end == std::string_view::npos;
    field = text.substr(i, reachesEnd ? std::string_view::npos : end - i);
  }
  if (cut && reachesEnd) {
    // Mended: a title cut by the read limit may end inside a UTF-8 character; without dropping
    // that broken tail the whole valid UTF-8 title would be taken for Windows-1250 and garbled.
    size_t lead = field.size();
    for (size_t back = 1; back <= 3 && back <= field.size(); ++back) {
      const auto b = static_cast<unsigned char>(field[field.size() - back]);
      if ((b & 0xC0) != 0x80) {
        if (b >= 0xC0) lead = field.size() - back;
        break;
      }
    }
    if (lead < field.size() && !IsValidUtf8(field.substr(lead))) field = field.substr(0, lead);
  }
  return ToUtf8(field);
}

std::string ReadZoneTitle(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return "";
  std::string start(ZoneTitleReadLimit, '\0');
  in.read(start.data(), static_cast<std::streamsize>(start.size()));
  if (in.bad()) return "";
  start.resize(static_cast<size_t>(in.gcount()));
  const bool cut = start.size() == ZoneTitleReadLimit && in.peek() != std::char_traits<char>::eof();
  return ZoneTitleOfText(start, cut);
}

}  // namespace quarn
