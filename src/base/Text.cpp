// Text.cpp — UTF-8 checks and decoding, the Windows-1250 table for old zone titles, escaping.
#include "Text.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace quarn {
namespace {

// Windows-1250, bytes 0x80..0xFF; 0 marks the five bytes the code page leaves undefined.
constexpr std::array<char16_t, 128> Cp1250High = {
    0x20AC, 0,      0x201A, 0,      0x201E, 0x2026, 0x2020, 0x2021, 0,      0x2030, 0x0160,
    0x2039, 0x015A, 0x0164, 0x017D, 0x0179, 0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0,      0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0,
    0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x017B, 0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6,
    0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, 0x0154, 0x00C1,
    0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A,
    0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2,
    0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED,
    0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, 0x0159,
    0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one UTF-8 sequence at text[i]; returns its length, or 0 when it is not valid
// (overlong forms, surrogates and values past U+10FFFF included).
size_t DecodeOne(std::string_view text, size_t i, char32_t& cp) {
  const auto b0 = static_cast<uint8_t>(text[i]);
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  size_t len = 0;
  char32_t min = 0;
  if ((b0 & 0xE0) == 0xC0) {
    len = 2, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, cp = b0 & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (i + len > text.size()) return 0;
  for (size_t k = 1; k < len; ++k) {
    const auto b = static_cast<uint8_t>(text[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  char32_t cp = 0;
  for (size_t i = 0; i < text.size();) {
    const size_t len = DecodeOne(text, i, cp);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

std::string Cp1250ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (const char c : text) {
    const auto b = static_cast<uint8_t>(c);
    if (b < 0x80) {
      out += c;
    } else {
      const char16_t cp = Cp1250High[b - 0x80];
      AppendUtf8(out, cp != 0 ? cp : 0xFFFD);
    }
  }
  return out;
}

std::string ToUtf8(std::string_view text) {
  return IsValidUtf8(text) ? std::string(text) : Cp1250ToUtf8(text);
}

std::vector<char32_t> CodePoints(std::string_view text) {
  std::vector<char32_t> out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    char32_t cp = 0;
    const size_t len = DecodeOne(text, i, cp);
    if (len == 0) {
      out.push_back(static_cast<uint8_t>(text[i]));
      ++i;
    } else {
      out.push_back(cp);
      i += len;
    }
  }
  return out;
}

std::string CutForMessage(std::string_view text, size_t maxChars) {
  // Enough bytes for maxChars characters of four bytes, cut where a character starts.
  size_t cut = std::min(text.size(), 4 * maxChars + 1);
  while (cut > 0 && cut < text.size() && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
    --cut;
  }
  const std::string utf8 = ToUtf8(text.substr(0, cut));
  size_t chars = 0;
  for (size_t i = 0; i < utf8.size(); ++i) {
    if ((static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) continue;
    if (++chars > maxChars) return utf8.substr(0, i) + "…";
  }
  return cut < text.size() ? utf8 + "…" : utf8;
}

std::string ShowControls(std::string_view text, std::string_view keep) {
  std::string out;
  out.reserve(text.size());
  char hex[8];
  for (size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
      if ((b < 0x20 && keep.find(static_cast<char>(b)) == std::string_view::npos) || b == 0x7F) {
        std::snprintf(hex, sizeof hex, "\\x%02X", b);
        out += hex;
      } else {
        out += static_cast<char>(b);
      }
      ++i;
      continue;
    }
    char32_t cp = 0;
    const size_t length = DecodeOne(text, i, cp);
    if (length == 0) {
      std::snprintf(hex, sizeof hex, "\\x%02X", b);
      out += hex;
      ++i;
    } else if (cp <= 0x9F) {
      std::snprintf(hex, sizeof hex, "\\u%04X", static_cast<unsigned>(cp));
      out += hex;
      i += length;
    } else {
      out.append(text.substr(i, length));
      i += length;
    }
  }
  return out;
}

std::string FileErrorInCzech(int errnoValue) {
  switch (errnoValue) {
    case ENOENT:
      return "soubor nebo složka chybí";
    case EACCES:
    case EPERM:
      return "chybí oprávnění";
    case EISDIR:
      return "je to složka, ne soubor";
    case ENOTDIR:
      return "část cesty není složka";
    case ENAMETOOLONG:
      return "jméno nebo cesta je příliš dlouhá";
    case ELOOP:
      return "příliš mnoho symbolických odkazů, nebo odkaz tam, kde být nesmí";
    case EEXIST:
      return "soubor toho jména už existuje";
    case ENOSPC:
    case EDQUOT:
      return "na disku není místo";
    case EROFS:
      return "disk je jen pro čtení";
    case EMFILE:
    case ENFILE:
      return "je otevřeno příliš mnoho souborů";
    case EIO:
      return "chyba čtení nebo zápisu na disku";
    default:
      return "chyba " + std::to_string(errnoValue) + " (" + std::strerror(errnoValue) + ")";
  }
}

}  // namespace quarn
