// MultiByteToWideChar and WideCharToMultiByte with CP_UTF8: conversions as
// tables of input and result, then the size query, the short buffer and the
// arguments the functions refuse. Malformed input with flags 0 becomes
// U+FFFD, one for each malformed piece.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "tests/platform/support/known_deviation.h"

namespace velmora_test {
namespace {

typedef std::vector<WCHAR> Units;
typedef std::vector<unsigned char> Bytes;

std::string Hex(const Units& units) {
  std::string text;
  char unit[8];
  for (WCHAR c : units) {
    std::snprintf(unit, sizeof unit, " %04X", static_cast<unsigned>(c));
    text += unit;
  }
  return text;
}

std::string Hex(const Bytes& bytes) {
  std::string text;
  char byte[4];
  for (unsigned char b : bytes) {
    std::snprintf(byte, sizeof byte, " %02X", static_cast<unsigned>(b));
    text += byte;
  }
  return text;
}

struct ToWideCase {
  const char* name;
  const char* bytes;
  int length;  // -1: zero-terminated
  Units expected;
  // Set where Wine is known to answer otherwise: why, and its answer.
  const char* wine_deviation = nullptr;
  Units wine_answer = {};
};

// The Unicode standard's practice: the start of a sequence that a byte cuts
// short is one malformed piece, and the byte is read again on its own.
constexpr const char* kWineSwallows =
    "Wine 8 takes bytes that cannot continue a sequence into its malformed piece";

void PrintTo(const ToWideCase& c, std::ostream* os) { *os << c.name; }

class MultiByteToWideCharTest : public testing::TestWithParam<ToWideCase> {};

TEST_P(MultiByteToWideCharTest, Converts) {
  const ToWideCase& c = GetParam();
  SetLastError(ERROR_SUCCESS);
  const int needed = MultiByteToWideChar(CP_UTF8, 0, c.bytes, c.length, nullptr, 0);
  WCHAR buffer[32];
  for (WCHAR& unit : buffer) unit = OLESTR('#');
  const int written = MultiByteToWideChar(CP_UTF8, 0, c.bytes, c.length, buffer, 32);
  ASSERT_GT(written, 0) << "error " << GetLastError();
  const Units result(buffer, buffer + written);
  EXPECT_EQ(written, needed);
  EXPECT_EQ(OLESTR('#'), buffer[written]) << "wrote past its result";
  if (c.wine_deviation) {
    EXPECT_TRUE(AsDocumented(Hex(result), Hex(c.expected), Hex(c.wine_answer), c.wine_deviation));
  } else {
    EXPECT_EQ(Hex(c.expected), Hex(result));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Utf8, MultiByteToWideCharTest,
    testing::Values(ToWideCase{"Ascii", "abc", 3, {0x61, 0x62, 0x63}},
                    // A zero-terminated text brings its terminator along.
                    ToWideCase{"Terminated", "ab", -1, {0x61, 0x62, 0}},
                    // A counted text converts its zeros like any character.
                    ToWideCase{"EmbeddedZero", "a\0b", 3, {0x61, 0, 0x62}},
                    ToWideCase{"TwoBytes", "\xC3\xA9", 2, {0x00E9}},
                    ToWideCase{"ThreeBytes", "\xE2\x82\xAC", 3, {0x20AC}},
                    ToWideCase{"FourBytesToASurrogatePair", "\xF0\x9F\x98\x80", 4, {0xD83D, 0xDE00}},
                    ToWideCase{"ByteThatStartsNothing", "\xC0\x41\x42", 3, {0xFFFD, 0x41, 0x42}},
                    ToWideCase{"LoneContinuationBytes", "\x80\xBF", 2, {0xFFFD, 0xFFFD}},
                    ToWideCase{"BytesNoSequenceUses", "\xF5\xFF", 2, {0xFFFD, 0xFFFD}},
                    // A sequence cut short is one malformed piece, and the
                    // byte that cut it is read again.
                    ToWideCase{"SequenceCutByAnAsciiByte", "\xE2\x82\x41", 3, {0xFFFD, 0x41}},
                    ToWideCase{"FourByteSequenceCut", "\xF0\x9F\x98\x41", 4, {0xFFFD, 0x41}},
                    ToWideCase{"SequenceCutByTheEnd", "a\xE2\x82", 3, {0x61, 0xFFFD}},
                    // A second byte that would make an encoded surrogate, a
                    // code point beyond U+10FFFF or an overlong form cannot
                    // continue the sequence.
                    ToWideCase{"EncodedSurrogate", "\xED\xA0\x80", 3, {0xFFFD, 0xFFFD, 0xFFFD}, kWineSwallows,
                               {0xFFFD, 0xFFFD}},
                    ToWideCase{"BeyondTheLastCodePoint", "\xF4\x90\x80\x80", 4, {0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD},
                               kWineSwallows, {0xFFFD, 0xFFFD, 0xFFFD}},
                    ToWideCase{"Overlong", "\xE0\x80\xAF", 3, {0xFFFD, 0xFFFD, 0xFFFD}, kWineSwallows, {0xFFFD, 0xFFFD}},
                    // A character after a lead byte is not lost.
                    ToWideCase{"FourByteLeadBeforeAscii", "\xF0\x41", 2, {0xFFFD, 0x41}, kWineSwallows, {0xFFFD}},
                    ToWideCase{"LeadBeforeLead", "\xEE\xF1", 2, {0xFFFD, 0xFFFD}, kWineSwallows, {0xFFFD}}));

struct ToMultiCase {
  const char* name;
  Units text;
  int length;  // -1: zero-terminated, text ends with 0
  Bytes expected;
};

void PrintTo(const ToMultiCase& c, std::ostream* os) { *os << c.name; }

class WideCharToMultiByteTest : public testing::TestWithParam<ToMultiCase> {};

TEST_P(WideCharToMultiByteTest, Converts) {
  const ToMultiCase& c = GetParam();
  SetLastError(ERROR_SUCCESS);
  const int needed = WideCharToMultiByte(CP_UTF8, 0, c.text.data(), c.length, nullptr, 0, nullptr, nullptr);
  EXPECT_EQ(static_cast<int>(c.expected.size()), needed);
  char buffer[32];
  for (char& byte : buffer) byte = '#';
  const int written = WideCharToMultiByte(CP_UTF8, 0, c.text.data(), c.length, buffer, 32, nullptr, nullptr);
  ASSERT_GT(written, 0) << "error " << GetLastError();
  const Bytes result(buffer, buffer + written);
  EXPECT_EQ(Hex(c.expected), Hex(result));
  EXPECT_EQ('#', buffer[written]) << "wrote past its result";
}

INSTANTIATE_TEST_SUITE_P(
    Utf8, WideCharToMultiByteTest,
    testing::Values(ToMultiCase{"Ascii", {0x61, 0x62}, 2, {0x61, 0x62}},
                    ToMultiCase{"Terminated", {0x61, 0}, -1, {0x61, 0}},
                    ToMultiCase{"EmbeddedZero", {0x61, 0, 0x62}, 3, {0x61, 0, 0x62}},
                    ToMultiCase{"TwoBytes", {0x00E9}, 1, {0xC3, 0xA9}},
                    ToMultiCase{"ThreeBytes", {0x20AC}, 1, {0xE2, 0x82, 0xAC}},
                    ToMultiCase{"SurrogatePair", {0xD83D, 0xDE00}, 2, {0xF0, 0x9F, 0x98, 0x80}},
                    ToMultiCase{"LoneHighSurrogate", {0x41, 0xD800, 0x42}, 3, {0x41, 0xEF, 0xBF, 0xBD, 0x42}},
                    ToMultiCase{"HighSurrogateAtTheEnd", {0x41, 0xD83D}, 2, {0x41, 0xEF, 0xBF, 0xBD}},
                    ToMultiCase{"PairInTheWrongOrder", {0xDC00, 0xD800}, 2, {0xEF, 0xBF, 0xBD, 0xEF, 0xBF, 0xBD}}));

TEST(TextConversion, EveryCharacterSurvivesTheRoundTrip) {
  const WCHAR text[] = {0x41, 0x7F, 0x80, 0x7FF, 0x800, 0xD7FF, 0xE000, 0xFFFD, 0xFFFF, 0xD800, 0xDC00, 0xDBFF, 0xDFFF, 0};
  char bytes[64];
  const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, 64, nullptr, nullptr);
  ASSERT_GT(length, 0);
  WCHAR back[32];
  ASSERT_EQ(14, MultiByteToWideChar(CP_UTF8, 0, bytes, length, back, 32));
  EXPECT_EQ(Hex(Units(text, text + 14)), Hex(Units(back, back + 14)));
}

TEST(TextConversion, AResultThatDoesNotFitIsRefused) {
  WCHAR wide[2] = {OLESTR('#'), OLESTR('#')};
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(0, MultiByteToWideChar(CP_UTF8, 0, "abc", 3, wide, 2));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
  // The terminator counts: "ab" and its zero need three.
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(0, MultiByteToWideChar(CP_UTF8, 0, "ab", -1, wide, 2));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());

  // A character whose bytes do not all fit does not fit.
  const WCHAR euro[] = {0x20AC};
  char bytes[2];
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(0, WideCharToMultiByte(CP_UTF8, 0, euro, 1, bytes, 2, nullptr, nullptr));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
}

TEST(TextConversion, TheInvalidCharsFlagsRefuseMalformedInput) {
  WCHAR wide[8];
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(0, MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xC0", 2, wide, 8));
  EXPECT_EQ(static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION), GetLastError());
  EXPECT_EQ(2, MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "\xC3\xA9\xE2\x82\xAC", 5, wide, 8));

  const WCHAR lone[] = {0x41, 0xD800};
  char bytes[8];
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(0, WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, lone, 2, bytes, 8, nullptr, nullptr));
  EXPECT_EQ(static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION), GetLastError());
}

// The refusals: what the call returns and the error it sets.
struct Refusal {
  int result;
  DWORD error;
  bool operator==(const Refusal& other) const { return result == other.result && error == other.error; }
};

void PrintTo(const Refusal& r, std::ostream* os) { *os << "{" << r.result << ", error " << r.error << "}"; }

template <class Call>
Refusal Outcome(Call call) {
  SetLastError(ERROR_SUCCESS);
  const int result = call();
  return Refusal{result, GetLastError()};
}

TEST(TextConversion, BadArgumentsAreRefused) {
  const Refusal kInvalid = {0, ERROR_INVALID_PARAMETER};
  WCHAR wide[8];
  char bytes[8];
  const WCHAR text[] = {0x61, 0x62, 0};
  // An empty input is an error, not an empty result.
  EXPECT_EQ(kInvalid, Outcome([&] { return MultiByteToWideChar(CP_UTF8, 0, "ab", 0, wide, 8); }));
  EXPECT_EQ(kInvalid, Outcome([&] { return WideCharToMultiByte(CP_UTF8, 0, text, 0, bytes, 8, nullptr, nullptr); }));
  EXPECT_EQ(kInvalid, Outcome([&] { return MultiByteToWideChar(CP_UTF8, 0, nullptr, 2, wide, 8); }));
  EXPECT_EQ(kInvalid, Outcome([&] { return WideCharToMultiByte(CP_UTF8, 0, nullptr, 2, bytes, 8, nullptr, nullptr); }));
  // A size without a buffer, and a negative size.
  EXPECT_EQ(kInvalid, Outcome([&] { return MultiByteToWideChar(CP_UTF8, 0, "ab", 2, nullptr, 8); }));
  EXPECT_EQ(kInvalid, Outcome([&] { return WideCharToMultiByte(CP_UTF8, 0, text, 2, nullptr, 8, nullptr, nullptr); }));
  EXPECT_EQ(kInvalid, Outcome([&] { return MultiByteToWideChar(CP_UTF8, 0, "ab", 2, wide, -1); }));
}

TEST(TextConversion, Utf8TakesNoOtherFlagsAndNoDefaultCharacter) {
  // Documented: for UTF-8 the flags are 0 or the ERR_INVALID flag, else
  // ERROR_INVALID_FLAGS; the default character arguments must be null, else
  // ERROR_INVALID_PARAMETER.
  const char* const kWineTakesAnyFlags = "Wine 8 converts UTF-8 whatever the flags";
  const char* const kWineTakesADefault = "Wine 8 ignores a default character for UTF-8";
  WCHAR wide[8];
  char bytes[8];
  const WCHAR text[] = {0x61, 0x62};
  BOOL used = FALSE;
  const Refusal kBadFlags = {0, ERROR_INVALID_FLAGS};
  const Refusal kInvalid = {0, ERROR_INVALID_PARAMETER};
  const Refusal kConverted = {2, ERROR_SUCCESS};
  EXPECT_TRUE(AsDocumented(Outcome([&] { return MultiByteToWideChar(CP_UTF8, MB_PRECOMPOSED, "ab", 2, wide, 8); }),
                           kBadFlags, kConverted, kWineTakesAnyFlags));
  EXPECT_TRUE(AsDocumented(
      Outcome([&] { return WideCharToMultiByte(CP_UTF8, WC_COMPOSITECHECK, text, 2, bytes, 8, nullptr, nullptr); }),
      kBadFlags, kConverted, kWineTakesAnyFlags));
  EXPECT_TRUE(
      AsDocumented(Outcome([&] { return WideCharToMultiByte(CP_UTF8, 0, text, 2, bytes, 8, "?", nullptr); }),
                   kInvalid, kConverted, kWineTakesADefault));
  EXPECT_TRUE(AsDocumented(Outcome([&] { return WideCharToMultiByte(CP_UTF8, 0, text, 2, bytes, 8, nullptr, &used); }),
                           kInvalid, kConverted, kWineTakesADefault));
}

}  // namespace
}  // namespace velmora_test
