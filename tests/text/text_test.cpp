// Tests of the text core: joining, comparing, converting numbers, replacing and splitting GBK texts, and the
// run-time error report that ends the program.
//
// This file is compiled with GB18030 narrow literals, so a Chinese literal below is its GBK bytes; where the
// bytes themselves matter they are written as hex escapes.
#include "text/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/escaped.h"
#include "text/fatal.h"

namespace {

constexpr std::optional<int> kAbsent = std::nullopt;
constexpr TextView kAbsentText{};

// The Chinese literals used below must reach the program as GBK bytes.
TEST(TextLiteralTest, ChineseLiteralsAreGbkBytes) {
  struct Case {
    TextView literal;
    TextView bytes;
  };
  const Case cases[] = {
      {"√", "\xA1\xCC"},
      {"◎", "\xA1\xF2"},
      {"：", "\xA3\xBA"},
      {"字段数量", "\xD7\xD6\xB6\xCE\xCA\xFD\xC1\xBF"},
      {"运行时出错!", "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!"},
      {"错误代码：", "\xB4\xED\xCE\xF3\xB4\xFA\xC2\xEB\xA3\xBA"},
      {"错误信息：", "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA"},
      {"数组成员引用下标超出定义范围",
       "\xCA\xFD\xD7\xE9\xB3\xC9\xD4\xB1\xD2\xFD\xD3\xC3\xCF\xC2\xB1\xEA\xB3\xAC\xB3\xF6\xB6\xA8\xD2\xE5\xB7"
       "\xB6"
       "\xCE\xA7"},
      {"数组成员引用下标必须大于等于1",
       "\xCA\xFD\xD7\xE9\xB3\xC9\xD4\xB1\xD2\xFD\xD3\xC3\xCF\xC2\xB1\xEA\xB1\xD8\xD0\xEB\xB4\xF3\xD3\xDA\xB5"
       "\xC8"
       "\xD3\xDA"
       "1"},
      {"分配 12 字节内存失败!", "\xB7\xD6\xC5\xE4 12 \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!"},
  };
  for (const Case& c : cases) EXPECT_EQ(Text(c.literal), Text(c.bytes));
}

// ---------------------------------------------------------------------------------------------------------
// joinText

TEST(JoinTextTest, PutsThePartsOneAfterTheOther) {
  const Text id = "id";
  struct Case {
    Text joined;
    Text expected;
  };
  const Case cases[] = {
      // An absent part adds nothing, not even a separator.
      {joinText("DELETE FROM ", kAbsentText, " WHERE "), "DELETE FROM  WHERE "},
      {joinText(kAbsentText, kAbsentText), ""},
      {joinText("", ""), ""},
      {joinText(kAbsentText), ""},
      {joinText("x"), "x"},
      {joinText({"a", kAbsentText, "b"}), "ab"},
      // Nine parts, the most the program passes; blanks are kept as they are.
      {joinText("SELECT ", " a", ",", "b ", " FROM ", "t", " WHERE ", "a=", "1"),
       "SELECT  a,b  FROM t WHERE a=1"},
      // Mixed argument types.
      {joinText(id, TextView(" INTEGER"), "\xA1\xCC", Text("\xA1\xF2")), "id INTEGER\xA1\xCC\xA1\xF2"},
      // Plain bytes: a lead byte at the end of one part simply meets the first byte of the next.
      {joinText("\xA1", "\xCC"), "\xA1\xCC"},
      {joinText("\x80", "\xFF", "\x81"), "\x80\xFF\x81"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.joined, c.expected);
}

// A loose check that large parts are joined in full; no timing is asserted.
TEST(JoinTextTest, JoinsLargeParts) {
  const Text a(1'000'000, 'a');
  const Text b(1'000'000, '\xA1');
  const Text joined = joinText(a, kAbsentText, b, "@@", a);
  ASSERT_EQ(joined.size(), 3'000'002u);
  EXPECT_EQ(joined.substr(0, 1'000'000), a);
  EXPECT_EQ(joined.substr(1'000'000, 1'000'000), b);
  EXPECT_EQ(joined.substr(2'000'000, 2), "@@");
  EXPECT_EQ(joined.substr(2'000'002), a);
}

// ---------------------------------------------------------------------------------------------------------
// textEquals

TEST(TextEqualsTest, ComparesBytes) {
  struct Case {
    TextView a;
    TextView b;
    bool equal;
  };
  const Case cases[] = {
      {kAbsentText, "", true},
      {kAbsentText, kAbsentText, true},
      {"INTEGER", "INTEGER", true},
      {"integer", "INTEGER", false},
      {"INTEGER ", "INTEGER", false},
      {" INTEGER", "INTEGER", false},
      {"INTEGE", "INTEGER", false},
      {"", "INTEGER", false},
      {"\xA1\xCC", "\xA1\xCC", true},
      // The mark and a text that differs from it in its second byte only.
      {"\xA1\xCC", "\xA1\xEC", false},
      {"\xA1\xCC", "\xA1", false},
      {"\x81\x41", "\x81\x61", false},
      {"abc", "abd", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "a=" << escaped(c.a) << " b=" << escaped(c.b));
    EXPECT_EQ(textEquals(c.a, c.b), c.equal);
    EXPECT_EQ(textEquals(c.b, c.a), c.equal);
  }
}

// ---------------------------------------------------------------------------------------------------------
// textToInt

TEST(TextToIntTest, ReadsLeadingDecimalNumber) {
  struct Case {
    TextView text;
    std::int32_t expected;
  };
  const Case cases[] = {
      {"3", 3},
      {"00012", 12},
      {"123", 123},
      {"0", 0},
      // No number.
      {"", 0},
      {kAbsentText, 0},
      {"\xD7\xD6\xB6\xCE\xCA\xFD\xC1\xBF", 0},  // 字段数量
      {"abc", 0},
      {"-", 0},
      {"+", 0},
      // Leading blanks are tab to carriage return and the blank; nothing else.
      {" 3", 3},
      {"\t3", 3},
      {"\r\n3", 3},
      {"\v\f 3", 3},
      {" \t\r\n\v\f-42", -42},
      {"\b3", 0},
      {"\x0E"
       "3",
       0},
      {"\x1F"
       "3",
       0},
      // Sign.
      {"-2", -2},
      {"+7", 7},
      {"-0", 0},
      {"- 2", 0},
      {"+ 2", 0},
      {"--2", 0},
      {"+-2", 0},
      {" -2", -2},
      // Digits up to the first non-digit.
      {"3abc", 3},
      {"2.9", 2},
      {"0x10", 0},
      {"1 2", 1},
      {"12 ", 12},
      {"12\xB0\xA1"
       "3",
       12},
      // Full-width forms count as their one-byte counterparts.
      {"\xA3\xB3", 3},
      {"\xA3\xB1\xA3\xB2\xA3\xB3", 123},
      {"1\xA3\xB2"
       "3",
       123},
      {"\xA3\xAD\xA3\xB2", -2},
      {"\xA3\xAB\xA3\xB7", 7},
      {"\xA3\xAD"
       "5",
       -5},
      {"-\xA3\xB5", -5},
      {"\xA1\xA1"
       "12",
       12},
      {"\xA1\xA1\t\xA1\xA1\xA3\xB9", 9},
      {"1\xA1\xA1"
       "2",
       1},
      {"\xA3\xAD\xA1\xA1"
       "2",
       0},
      // Other two-byte characters stop the parse.
      {"\x81\x33"
       "4",
       0},
      {"\xA0"
       "3",
       0},
      {"\xA3\xA0"
       "3",
       0},
      {"1\xA1\xAB"
       "2",
       1},
      // A cut-off last character is dropped.
      {"12\x81", 12},
      {"12\xA3", 12},
      {"\x81", 0},
      // The value wraps modulo 2^32.
      {"2147483647", 2147483647},
      {"2147483648", INT32_MIN},
      {"-2147483648", INT32_MIN},
      {"-2147483647", -2147483647},
      {"4294967295", -1},
      {"-4294967295", 1},
      {"4294967296", 0},
      {"4294967298", 2},
      {"99999999999", 1215752191},
      {"-99999999999", -1215752191},
      {"12345678901234567890", -350287150},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "text=" << escaped(c.text));
    EXPECT_EQ(textToInt(c.text), c.expected);
  }
}

// ---------------------------------------------------------------------------------------------------------
// intToText

TEST(IntToTextTest, WritesDecimal) {
  struct Case {
    std::int32_t value;
    TextView expected;
  };
  const Case cases[] = {
      {1, "1"},
      {23, "23"},
      {0, "0"},
      {-5, "-5"},
      {10, "10"},
      {-10, "-10"},
      {1000000, "1000000"},
      {-1, "-1"},
      {INT32_MAX, "2147483647"},
      {INT32_MIN, "-2147483648"},
      {INT32_MIN + 1, "-2147483647"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "value=" << c.value);
    EXPECT_EQ(intToText(c.value), c.expected);
    EXPECT_EQ(textToInt(intToText(c.value)), c.value);
  }
}

// ---------------------------------------------------------------------------------------------------------
// replaceText

TEST(ReplaceTextTest, ReplacesByCharacters) {
  struct Case {
    TextView source;
    TextView find;
    TextView replacement;
    std::optional<int> start;
    std::optional<int> maxCount;
    bool matchCase;
    TextView expected;
  };
  const Case cases[] = {
      // Leftmost first, no overlap; inserted text is not scanned again.
      {"aaa", "aa", "b", kAbsent, kAbsent, true, "ba"},
      {"aaaa", "aa", "b", kAbsent, kAbsent, true, "bb"},
      {"ab", "a", "aa", kAbsent, kAbsent, true, "aab"},
      {"aXa", "a", "A", kAbsent, kAbsent, false, "AXA"},
      {"abc", "abc", "xyz", kAbsent, kAbsent, true, "xyz"},
      {"abc", "cd", "z", kAbsent, kAbsent, true, "abc"},
      {"ab", "abc", "z", kAbsent, kAbsent, true, "ab"},
      // Letter case: only the 26 ASCII capitals fold, in the source and in the find text.
      {"aXa", "x", "-", kAbsent, kAbsent, false, "a-a"},
      {"aXa", "x", "-", kAbsent, kAbsent, true, "aXa"},
      {"axa", "X", "-", kAbsent, kAbsent, false, "a-a"},
      {"axa", "X", "-", kAbsent, kAbsent, true, "axa"},
      {"SELECT Select select", "sElEcT", "X", kAbsent, kAbsent, false, "X X X"},
      {"@[", "`{", "-", kAbsent, kAbsent, false, "@["},
      {"`{", "@[", "-", kAbsent, kAbsent, false, "`{"},
      {"\xC1\xC9", "\xE1\xE9", "-", kAbsent, kAbsent, false, "\xC1\xC9"},
      // Empty find text, empty replacement, empty source and empty results.
      {"abc", "", "z", kAbsent, kAbsent, true, "abc"},
      {"abc", kAbsentText, "z", kAbsent, kAbsent, false, "abc"},
      {"a-b-c", "-", "", kAbsent, kAbsent, true, "abc"},
      {"a-b-c", "-", kAbsentText, kAbsent, kAbsent, true, "abc"},
      {"xXx", "x", "", kAbsent, kAbsent, false, ""},
      {"\xA1\xCC\xA1\xCC", "\xA1\xCC", "", kAbsent, kAbsent, true, ""},
      {"", "x", "y", kAbsent, kAbsent, true, ""},
      {kAbsentText, "x", "y", kAbsent, kAbsent, true, ""},
      // Start position: bytes counted from 1; below 1 means 1; after the last byte copies.
      {"abab", "a", "x", 1, kAbsent, true, "xbxb"},
      {"abab", "a", "x", 2, kAbsent, true, "abxb"},
      {"abab", "a", "x", 3, kAbsent, true, "abxb"},
      {"abab", "a", "x", 4, kAbsent, true, "abab"},
      {"abab", "a", "x", 5, kAbsent, true, "abab"},
      {"abab", "a", "x", INT_MAX, kAbsent, true, "abab"},
      {"abab", "a", "x", 0, kAbsent, true, "xbxb"},
      {"abab", "a", "x", -4, kAbsent, true, "xbxb"},
      {"abab", "a", "x", INT_MIN, kAbsent, true, "xbxb"},
      {"aXaXa", "x", "-", 3, kAbsent, false, "aXa-a"},
      // Character boundaries are taken from the start position on, even inside a two-byte character.
      {"\xA1\xCC\xA1\xCC", "\xCC\xA1", "-", 2, kAbsent, true, "\xA1-\xCC"},
      {"\xA1\xCC\xA1\xCC", "\xCC\xA1", "-", 1, kAbsent, true, "\xA1\xCC\xA1\xCC"},
      // Maximum count: the leftmost ones; 0 none; negative every one.
      {"aaaa", "a", "b", kAbsent, 1, true, "baaa"},
      {"aaaa", "a", "b", kAbsent, 2, true, "bbaa"},
      {"aaaa", "a", "b", kAbsent, 4, true, "bbbb"},
      {"aaaa", "a", "b", kAbsent, 9, true, "bbbb"},
      {"aaaa", "a", "b", kAbsent, 0, true, "aaaa"},
      {"aaaa", "a", "b", kAbsent, -1, true, "bbbb"},
      {"aaaa", "a", "b", kAbsent, -3, true, "bbbb"},
      {"aaaa", "a", "b", kAbsent, INT_MIN, true, "bbbb"},
      {"aaaa", "a", "b", 2, 2, true, "abba"},
      {"xaXa", "x", "", kAbsent, 2, false, "aa"},
      {"aaaa", "a", "", kAbsent, 4, true, ""},
      // A match begins only where a character begins: not at a second byte.
      {"\xA1\xCC", "\xCC", "x", kAbsent, kAbsent, true, "\xA1\xCC"},
      {"a\xA1\xCC"
       "b",
       "\xCC", "x", kAbsent, kAbsent, false,
       "a\xA1\xCC"
       "b"},
      {"\xB0\xA1\xCCx", "\xA1\xCC", "-", kAbsent, kAbsent, true, "\xB0\xA1\xCCx"},
      {"id\xA1\xCC", "\xA1\xCC", " PRIMARY KEY", kAbsent, kAbsent, false, "id PRIMARY KEY"},
      {"\x81\x41", "a", "-", kAbsent, kAbsent, false, "\x81\x41"},
      {"\x81\x61"
       "a",
       "A", "-", kAbsent, kAbsent, false, "\x81\x61-"},
      // A one-byte find text equal to a lead byte matches it; the scan goes on right after the match.
      {"\xA1\xCC\xCC"
       "A",
       "\xCC", "x", kAbsent, kAbsent, true, "\xA1\xCCxA"},
      // Without matchCase, second bytes fold too.
      {"\x81\x61", "\x81\x41", "Z", kAbsent, kAbsent, false, "Z"},
      {"\x81\x41", "\x81\x61", "Z", kAbsent, kAbsent, false, "Z"},
      {"\x81\x61", "\x81\x41", "Z", kAbsent, kAbsent, true, "\x81\x61"},
      // 0x80 and 0xFF open two-byte characters; 0x7F does not.
      {"\x80x", "x", "y", kAbsent, kAbsent, true, "\x80x"},
      {"\xFFx", "x", "y", kAbsent, kAbsent, true, "\xFFx"},
      {"\x80\x80x", "x", "y", kAbsent, kAbsent, true, "\x80\x80y"},
      {"\x7Fx", "x", "y", kAbsent, kAbsent, true, "\x7Fy"},
      // A cut-off last character: a one-byte find text drops it, a longer one leaves it.
      {"ab\x81", "x", "y", kAbsent, kAbsent, true, "ab"},
      {"ab\x81", "a", "y", kAbsent, kAbsent, true, "yb"},
      {"\x81", "x", "y", kAbsent, kAbsent, true, ""},
      {"ab\x81", "\x81", "Z", kAbsent, kAbsent, true, "abZ"},
      {"ab\x81", "xy", "z", kAbsent, kAbsent, true, "ab\x81"},
      {"ab\x81", "b\x81", "Z", kAbsent, kAbsent, true, "aZ"},
      {"ab\x81", "x", "y", 3, kAbsent, true, "ab"},
      {"ab\x81", "x", "y", 4, kAbsent, true, "ab\x81"},
      // Once the count is used up the rest is copied as it is, cut-off character included.
      {"aa\x81", "a", "b", kAbsent, 1, true, "ba\x81"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "source=" << escaped(c.source) << " find=" << escaped(c.find)
                                      << " replacement=" << escaped(c.replacement)
                                      << " start=" << (c.start ? std::to_string(*c.start) : "absent")
                                      << " maxCount=" << (c.maxCount ? std::to_string(*c.maxCount) : "absent")
                                      << " matchCase=" << c.matchCase);
    EXPECT_EQ(replaceText(c.source, c.find, c.replacement, c.start, c.maxCount, c.matchCase), c.expected);
  }
}

// A loose check that many occurrences are replaced in full; no timing is asserted.
TEST(ReplaceTextTest, ReplacesManyOccurrences) {
  const Text source(1'000'000, 'a');
  const Text replaced = replaceText(source, "A", "\xA1\xCC", kAbsent, kAbsent, false);
  ASSERT_EQ(replaced.size(), 2'000'000u);
  std::size_t wrong = 0;
  for (std::size_t i = 0; i < replaced.size(); i += 2) {
    if (replaced.compare(i, 2, "\xA1\xCC") != 0) ++wrong;
  }
  EXPECT_EQ(wrong, 0u);
}

// ---------------------------------------------------------------------------------------------------------
// replacePairs

TEST(ReplacePairsTest, RunsThePairsInOrder) {
  const std::optional<bool> noCase = std::nullopt;
  struct Case {
    const char* what;
    Text replaced;
    TextView expected;
  };
  const Case cases[] = {
      {"column list of CREATE TABLE",
       replacePairs("id INTEGER\xA1\xCC\xA1\xF2,name TEXT", kAbsent, kAbsent, noCase,
                    {{"\xA1\xCC", " PRIMARY KEY"}, {"\xA1\xF2", " AUTOINCREMENT"}}),
       "id INTEGER PRIMARY KEY AUTOINCREMENT,name TEXT"},
      {"several columns",
       replacePairs("a INTEGER\xA1\xCC\xA1\xF2,b TEXT\xA1\xCC,c REAL", kAbsent, kAbsent, noCase,
                    {{"\xA1\xCC", " PRIMARY KEY"}, {"\xA1\xF2", " AUTOINCREMENT"}}),
       "a INTEGER PRIMARY KEY AUTOINCREMENT,b TEXT PRIMARY KEY,c REAL"},
      {"no marks",
       replacePairs("id INTEGER,name TEXT", kAbsent, kAbsent, noCase,
                    {{"\xA1\xCC", " PRIMARY KEY"}, {"\xA1\xF2", " AUTOINCREMENT"}}),
       "id INTEGER,name TEXT"},
      {"marks inside a field name",
       replacePairs("\xA1\xCCid\xA1\xF2 TEXT", kAbsent, kAbsent, noCase,
                    {{"\xA1\xCC", " PRIMARY KEY"}, {"\xA1\xF2", " AUTOINCREMENT"}}),
       " PRIMARY KEYid AUTOINCREMENT TEXT"},
      {"mark bytes straddling two characters",
       replacePairs("\xB0\xA1\xCC\xA1", kAbsent, kAbsent, noCase,
                    {{"\xA1\xCC", " PRIMARY KEY"}, {"\xA1\xF2", " AUTOINCREMENT"}}),
       "\xB0\xA1\xCC\xA1"},
      {"empty text",
       replacePairs("", kAbsent, kAbsent, noCase,
                    {{"\xA1\xCC", " PRIMARY KEY"}, {"\xA1\xF2", " AUTOINCREMENT"}}),
       ""},
      // A later pair sees what an earlier one inserted.
      {"pair 2 sees replacement 1", replacePairs("ab", kAbsent, kAbsent, noCase, {{"a", "b"}, {"b", "c"}}),
       "cc"},
      {"pair order reversed", replacePairs("ab", kAbsent, kAbsent, noCase, {{"b", "c"}, {"a", "b"}}), "bc"},
      {"five pairs in a chain",
       replacePairs("a", kAbsent, kAbsent, noCase,
                    {{"a", "b"}, {"b", "c"}, {"c", "d"}, {"d", "e"}, {"e", "f"}}),
       "f"},
      {"only pair 1", replacePairs("a\xA1\xCC\xA1\xF2", kAbsent, kAbsent, noCase, {{"\xA1\xCC", "!"}}),
       "a!\xA1\xF2"},
      {"empty find copies", replacePairs("a", kAbsent, kAbsent, noCase, {{"", "z"}, {"a", "b"}}), "b"},
      {"empty replacement deletes",
       replacePairs("a\xA1\xCC"
                    "b\xA1\xCC",
                    kAbsent, kAbsent, noCase, {{"\xA1\xCC", ""}}),
       "ab"},
      // The case flag: absent means letter case is ignored.
      {"case flag absent", replacePairs("ABC", kAbsent, kAbsent, noCase, {{"b", "x"}}), "AxC"},
      {"case flag false", replacePairs("ABC", kAbsent, kAbsent, false, {{"b", "x"}}), "AxC"},
      {"case flag true", replacePairs("ABC", kAbsent, kAbsent, true, {{"b", "x"}}), "ABC"},
      // The count applies afresh to each pair.
      {"count 1 per pair", replacePairs("aabb", 1, kAbsent, noCase, {{"a", "x"}, {"b", "y"}}), "xayb"},
      {"count 1, pair 2 on the result of pair 1",
       replacePairs("aa", 1, kAbsent, noCase, {{"a", "b"}, {"b", "c"}}), "ca"},
      {"count 0", replacePairs("aabb", 0, kAbsent, noCase, {{"a", "x"}, {"b", "y"}}), "aabb"},
      {"count -1", replacePairs("aabb", -1, kAbsent, noCase, {{"a", "x"}, {"b", "y"}}), "xxyy"},
      // The start position applies afresh to each pair; 0 means 1.
      {"start 3 per pair", replacePairs("abab", kAbsent, 3, noCase, {{"a", "x"}, {"b", "y"}}), "abxy"},
      {"start 2 on the result of pair 1", replacePairs("aab", kAbsent, 2, noCase, {{"a", "xx"}, {"x", "y"}}),
       "ayyb"},
      {"start 0", replacePairs("abab", kAbsent, 0, noCase, {{"a", "x"}}), "xbxb"},
      {"start -2", replacePairs("abab", kAbsent, -2, noCase, {{"a", "x"}}), "xbxb"},
      {"start 2", replacePairs("abab", kAbsent, 2, noCase, {{"a", "x"}}), "abxb"},
      {"count and start", replacePairs("aaaa", 2, 2, noCase, {{"a", "b"}, {"b", "c"}}), "acca"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.replaced, c.expected) << c.what;
}

// ---------------------------------------------------------------------------------------------------------
// splitText and PieceList

TEST(SplitTextTest, CutsAtTheDelimiter) {
  struct Case {
    TextView text;
    TextView delimiter;
    std::vector<Text> pieces;
  };
  const Case cases[] = {
      {"a,b", ",", {"a", "b"}},
      {"a,", ",", {"a"}},
      {",a", ",", {"", "a"}},
      {"a,,b", ",", {"a", "", "b"}},
      {",", ",", {""}},
      {",,", ",", {"", ""}},
      {"abc", ",", {"abc"}},
      // Empty text, empty delimiter.
      {"", ",", {}},
      {kAbsentText, ",", {}},
      {"", "", {}},
      {"abc", "", {"abc"}},
      {"abc", kAbsentText, {"abc"}},
      // Letter case matters.
      {"aXb", "x", {"aXb"}},
      // A longer delimiter behaves the same way.
      {"a@@b", "@@", {"a", "b"}},
      {"a@@", "@@", {"a"}},
      {"@@a", "@@", {"", "a"}},
      {"a@@@@b", "@@", {"a", "", "b"}},
      {"@@", "@@", {""}},
      {"a@@@b", "@@", {"a", "@b"}},
      {"a@b", "@@", {"a@b"}},
      {"@", "@@", {"@"}},
      {"a@@b\r\nc@@d\r\n", "\r\n", {"a@@b", "c@@d"}},
      // A delimiter never starts at a second byte.
      {"\x81\x40@b", "@@", {"\x81\x40@b"}},
      {"\x81\x40@b", "@", {"\x81\x40", "b"}},
      {"\x81@", "@", {"\x81@"}},
      {"a\x81,b", ",", {"a\x81,b"}},
      {"\x80,a", ",", {"\x80,a"}},
      {"\xFF,a,b", ",", {"\xFF,a", "b"}},
      {"\x7F,a", ",", {"\x7F", "a"}},
      {"a\xA1\xCC"
       "b",
       "\xA1\xCC",
       {"a", "b"}},
      {"\xB0\xA1\xCC"
       "b",
       "\xA1\xCC",
       {"\xB0\xA1\xCC"
        "b"}},
      // A cut-off last character stays at the end of the last piece.
      {"a,b\x81", ",", {"a", "b\x81"}},
      {"a,\x81", ",", {"a", "\x81"}},
      {"\x81", ",", {"\x81"}},
      {"a@@b\x81", "@@", {"a", "b\x81"}},
      {"a\x81", "\x81", {"a"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "text=" << escaped(c.text) << " delimiter=" << escaped(c.delimiter));
    const PieceList list = splitText(c.text, c.delimiter);
    EXPECT_EQ(list.pieces(), c.pieces);
    EXPECT_EQ(list.count(), static_cast<int>(c.pieces.size()));
  }
}

// A loose check that a text of a million pieces is cut in full; no timing is asserted.
TEST(SplitTextTest, CutsAMillionPieces) {
  constexpr int kPieces = 1'000'000;
  Text text;
  text.reserve(4u * kPieces);
  for (int i = 0; i < kPieces; ++i) text += "\xA1\xCC@@";
  const PieceList list = splitText(text, "@@");
  ASSERT_EQ(list.count(), kPieces);
  int wrong = 0;
  for (const Text& piece : list.pieces()) {
    if (piece != "\xA1\xCC") ++wrong;
  }
  EXPECT_EQ(wrong, 0);
}

TEST(PieceListTest, AtReadsPiecesFromOne) {
  const PieceList list = splitText("a,\xA1\xCC,", ",");
  ASSERT_EQ(list.count(), 2);
  EXPECT_EQ(list.at(1, 0, 0), "a");
  EXPECT_EQ(list.at(2, 0, 0), "\xA1\xCC");
  EXPECT_EQ(&list.at(2, 0, 0), &list.pieces()[1]);
}

// ---------------------------------------------------------------------------------------------------------
// The run-time error report

TEST(FatalReportTextTest, ComposesTheReport) {
  struct Case {
    TextView message;
    int code;
    int routine;
    int position;
    TextView expected;
  };
  const Case cases[] = {
      // Code and message, spelled out in bytes once.
      {"abc", 4, 7, 3,
       "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n"
       "\r\n\xB4\xED\xCE\xF3\xB4\xFA\xC2\xEB\xA3\xBA"
       "4\r\n"
       "\r\n\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA"
       "abc\r\n"
       "\r\n7, 3\r\n"},
      {"数组成员引用下标超出定义范围", 1, 12, 2,
       "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n\r\n12, 2\r\n"},
      // Code 0: no code line.
      {"分配 12 字节内存失败!", 0, 0, 0,
       "运行时出错!\r\n\r\n错误信息：分配 12 字节内存失败!\r\n\r\n0, 0\r\n"},
      // Empty message: no message line.
      {"", 4, 5, 2, "运行时出错!\r\n\r\n错误代码：4\r\n\r\n5, 2\r\n"},
      {kAbsentText, 1, 5, 2, "运行时出错!\r\n\r\n错误代码：1\r\n\r\n5, 2\r\n"},
      {"", 0, 0, 0, "运行时出错!\r\n\r\n0, 0\r\n"},
      // Signed numbers.
      {"", -7, -3, INT_MIN, "运行时出错!\r\n\r\n错误代码：-7\r\n\r\n-3, -2147483648\r\n"},
      {"x", INT_MAX, INT_MAX, -1,
       "运行时出错!\r\n\r\n错误代码：2147483647\r\n\r\n错误信息：x\r\n\r\n2147483647, -1\r\n"},
      // The message is taken as it is.
      {"a\r\nb ", 0, 1, 1, "运行时出错!\r\n\r\n错误信息：a\r\nb \r\n\r\n1, 1\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "message=" << escaped(c.message) << " code=" << c.code
                                      << " routine=" << c.routine << " position=" << c.position);
    EXPECT_EQ(fatalReportText(c.message, c.code, c.routine, c.position), c.expected);
  }
}

// The death tests install a sink that compares the report with the one expected and writes a verdict to
// stderr, and an exit routine that would announce itself: the report must be shown exactly once and no exit
// routine may run.
Text expectedReport;

void compareReport(const Text& report) {
  const std::string verdict =
      report == expectedReport ? "report as expected" : "unexpected report: " + escaped(report);
  std::fputs(verdict.c_str(), stderr);
}

void announceExitRoutine() {
  std::fputs("; an exit routine ran", stderr);
}

void expectEndsWithReport(const std::function<void()>& run, const Text& report) {
  EXPECT_EXIT(
      {
        expectedReport = report;
        std::atexit(&announceExitRoutine);
        setFatalReportSink(&compareReport);
        run();
      },
      ::testing::ExitedWithCode(255), "^report as expected$");
}

TEST(FatalErrorDeathTest, PieceListAtOutsideItsRangeEnds) {
  const PieceList two = splitText("a,b", ",");
  const PieceList none = splitText("", ",");
  struct Case {
    const char* what;
    std::function<void()> run;
    Text report;
  };
  const Case cases[] = {
      {"index 0", [&] { (void)two.at(0, 7, 3); },
       "运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n\r\n7, 3\r\n"},
      {"index -1", [&] { (void)two.at(-1, 12, -5); },
       "运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n\r\n12, -5\r\n"},
      {"index INT_MIN", [&] { (void)two.at(INT_MIN, 1, 2); },
       "运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n\r\n1, 2\r\n"},
      {"index 3 of 2", [&] { (void)two.at(3, 7, 4); },
       "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n\r\n7, 4\r\n"},
      {"index INT_MAX", [&] { (void)two.at(INT_MAX, 0, 0); },
       "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n\r\n0, 0\r\n"},
      {"index 1 of none", [&] { (void)none.at(1, 2, 9); },
       "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n\r\n2, 9\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    expectEndsWithReport(c.run, c.report);
  }
}

TEST(FatalErrorDeathTest, AllocationFailedEnds) {
  expectEndsWithReport([] { allocationFailed(12); },
                       "运行时出错!\r\n\r\n错误信息：分配 12 字节内存失败!\r\n\r\n0, 0\r\n");
  expectEndsWithReport([] { allocationFailed(1048576); },
                       "运行时出错!\r\n\r\n错误信息：分配 1048576 字节内存失败!\r\n\r\n0, 0\r\n");
}

TEST(FatalErrorDeathTest, FatalErrorShowsTheReportAndEnds) {
  expectEndsWithReport([] { fatalError("载入启动窗口失败", 0, 0, 0); },
                       "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n\r\n0, 0\r\n");
  expectEndsWithReport([] { fatalError("", 1, 3, 2); }, "运行时出错!\r\n\r\n错误代码：1\r\n\r\n3, 2\r\n");
}

TEST(FatalErrorDeathTest, DefaultSinkWritesTheReportToStderr) {
  // Installing nullptr restores the default sink.
  EXPECT_EXIT(
      {
        setFatalReportSink(&compareReport);
        setFatalReportSink(nullptr);
        fatalError("disk gone", 3, -9, 12345);
      },
      ::testing::ExitedWithCode(255), "disk gone\r\n\r\n-9, 12345\r\n");
}

}  // namespace
