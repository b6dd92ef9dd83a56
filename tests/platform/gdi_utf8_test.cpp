#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gdi/utf8.h"

namespace morvex::gdi {
namespace {

std::vector<char32_t> Decode(const std::string& bytes) {
  std::vector<char32_t> out;
  for (const char *pos = bytes.data(), *end = bytes.data() + bytes.size(); pos < end;) {
    out.push_back(NextCodePoint(pos, end));
  }
  return out;
}

TEST(GdiUtf8Test, DecodesOneToFourByteSequences) {
  EXPECT_EQ(Decode("A~"), (std::vector<char32_t>{'A', '~'}));
  EXPECT_EQ(Decode("\xC3\xA9"), (std::vector<char32_t>{0xE9}));
  EXPECT_EQ(Decode("画面"), (std::vector<char32_t>{0x753B, 0x9762}));
  EXPECT_EQ(Decode("\xF0\x9F\x8E\xB5"), (std::vector<char32_t>{0x1F3B5}));
  EXPECT_EQ(Decode("\xF4\x8F\xBF\xBF"), (std::vector<char32_t>{0x10FFFF}));
}

TEST(GdiUtf8Test, MalformedBytesBecomeOneReplacementEachAndDecodingResumes) {
  constexpr char32_t R = kReplacementCharacter;
  EXPECT_EQ(Decode(std::string("\x80") + "a"), (std::vector<char32_t>{R, 'a'}));  // stray continuation
  EXPECT_EQ(Decode("\xC0\xAF"), (std::vector<char32_t>{R, R}));                   // overlong lead
  EXPECT_EQ(Decode("\xE0\x80\xAF"), (std::vector<char32_t>{R, R, R}));            // overlong three bytes
  EXPECT_EQ(Decode("\xED\xA0\x80"), (std::vector<char32_t>{R, R, R}));            // surrogate
  EXPECT_EQ(Decode("\xF4\x90\x80\x80"), (std::vector<char32_t>{R, R, R, R}));     // beyond U+10FFFF
  EXPECT_EQ(Decode(std::string("\xE7\x94") + "b"), (std::vector<char32_t>{R, R, 'b'}));  // cut short
  EXPECT_EQ(Decode("\xE7\x94"), (std::vector<char32_t>{R, R}));                          // cut by the end
  EXPECT_EQ(Decode("\xFF"), (std::vector<char32_t>{R}));
}

}  // namespace
}  // namespace morvex::gdi
