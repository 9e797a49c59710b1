// UTF-16 <-> UTF-8.
#include "kernel32/utf_convert.h"

namespace platform_internal {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

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

void AppendUtf16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
    return;
  }
  cp -= 0x10000;
  out += static_cast<char16_t>(0xD800 | (cp >> 10));
  out += static_cast<char16_t>(0xDC00 | (cp & 0x3FF));
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// What a lead byte starts: how many continuation bytes follow, the range
// the first of them must be in (narrower than 80..BF where a wider one
// would make the sequence overlong, a surrogate or too large), and the
// lead's bits. False for a byte that starts no sequence.
struct Lead {
  size_t continuations;
  unsigned char low;
  unsigned char high;
  char32_t bits;
};

bool LeadOf(unsigned char b, Lead* lead) {
  if (b >= 0xC2 && b <= 0xDF) {
    *lead = {1, 0x80, 0xBF, static_cast<char32_t>(b & 0x1F)};
  } else if (b == 0xE0) {
    *lead = {2, 0xA0, 0xBF, 0};
  } else if (b == 0xED) {
    *lead = {2, 0x80, 0x9F, 0xD};
  } else if (b >= 0xE1 && b <= 0xEF) {
    *lead = {2, 0x80, 0xBF, static_cast<char32_t>(b & 0x0F)};
  } else if (b == 0xF0) {
    *lead = {3, 0x90, 0xBF, 0};
  } else if (b == 0xF4) {
    *lead = {3, 0x80, 0x8F, 4};
  } else if (b >= 0xF1 && b <= 0xF3) {
    *lead = {3, 0x80, 0xBF, static_cast<char32_t>(b & 0x07)};
  } else {
    return false;
  }
  return true;
}

}  // namespace

std::string ToUtf8(const char16_t* text, size_t length, bool* replaced) {
  std::string out;
  out.reserve(length);
  bool any = false;
  for (size_t i = 0; i < length; ++i) {
    const char16_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < length && IsLowSurrogate(text[i + 1])) {
      AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      AppendUtf8(out, kReplacement);
      any = true;
    } else {
      AppendUtf8(out, c);
    }
  }
  if (replaced) *replaced = any;
  return out;
}

std::u16string FromUtf8(const char* text, size_t length, bool* replaced) {
  std::u16string out;
  out.reserve(length);
  bool any = false;
  size_t i = 0;
  while (i < length) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
      out += static_cast<char16_t>(b);
      ++i;
      continue;
    }
    Lead lead;
    if (!LeadOf(b, &lead)) {
      AppendUtf16(out, kReplacement);
      any = true;
      ++i;
      continue;
    }
    // The lead and each continuation byte it is owed, until one is missing.
    char32_t cp = lead.bits;
    size_t next = i + 1;
    size_t taken = 0;
    bool complete = true;
    while (taken < lead.continuations) {
      if (next >= length || !IsContinuation(static_cast<unsigned char>(text[next]))) {
        complete = false;
        break;
      }
      const unsigned char c = static_cast<unsigned char>(text[next]);
      if (taken == 0 && (c < lead.low || c > lead.high)) {
        complete = false;
        break;
      }
      ++next;
      cp = (cp << 6) | (c & 0x3F);
      ++taken;
    }
    if (!complete) {
      AppendUtf16(out, kReplacement);
      any = true;
    } else {
      AppendUtf16(out, cp);
    }
    i = next;
  }
  if (replaced) *replaced = any;
  return out;
}

std::string ToUtf8(const std::u16string& text) { return ToUtf8(text.data(), text.size(), nullptr); }

std::u16string FromUtf8(const std::string& text) { return FromUtf8(text.data(), text.size(), nullptr); }

}  // namespace platform_internal
