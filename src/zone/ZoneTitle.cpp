// ZoneTitle.cpp — reads the first field of a zone file without reading the rest of it.
#include "ZoneTitle.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "base/Text.h"

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

bool LooksBinary(std::string_view start) {
  return std::any_of(start.begin(), start.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return (b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != 0x1A) || b == 0x7F;
  });
}

std::optional<std::string> ReadZoneTitle(const std::filesystem::path& file, struct stat* status) {
  // Mended: a file swapped for a named pipe after the folder was read would block the open, and
  // the list with it, for good; the open does not wait, and only a regular file is read.
  const int fd = open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return std::nullopt;
  }
  if (status) *status = st;
  // One byte past the limit tells whether the title may have been cut.
  std::string start(ZoneTitleReadLimit + 1, '\0');
  size_t got = 0;
  while (got < start.size()) {
    const ssize_t n = read(fd, start.data() + got, start.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  close(fd);
  const bool cut = got > ZoneTitleReadLimit;
  start.resize(std::min(got, ZoneTitleReadLimit));
  if (LooksBinary(start)) return std::nullopt;
  return ZoneTitleOfText(start, cut);
}

}  // namespace quarn
