#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "service/Values.h"

using namespace orvane;

namespace {

std::span<const std::uint8_t> bytesOf(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

}  // namespace

TEST(StrictDecimal, AcceptsOnlyPlainIntegers) {
    const std::pair<const char*, std::int64_t> accepted[] = {{"85", 85},
                                                             {"+85", 85},
                                                             {"-3", -3},
                                                             {"007", 7},
                                                             {"0", 0},
                                                             {"9223372036854775807", INT64_MAX},
                                                             {"-9223372036854775808", INT64_MIN}};
    for (const auto& [text, value] : accepted)
        EXPECT_EQ(parseDecimal(text), value) << text;
    // Out of range, signs alone, spaces, units, other notations, a non-ASCII digit.
    for (const char* text : {"9223372036854775808", "-9223372036854775809", "", "+", "-", "+-1",
                             " 85", "85 ", "85%", "8.5", "1,200", "0x10", "85 mAh", "\xd9\xa3"})
        EXPECT_EQ(parseDecimal(text), std::nullopt) << '"' << text << '"';
}

TEST(IntOf, ConvertsLeniently) {
    struct Case {
        Value value;
        std::int64_t expected;
    };
    const Case cases[] = {{Value("12"), 12},
                          {Value("1,200"), 0},
                          {Value("85%"), 0},
                          {Value(3.9), 3},
                          {Value(-3.9), -3},
                          {Value(1e300), INT64_MAX},
                          {Value(-1e300), INT64_MIN},
                          {Value(std::nan("")), 0},
                          {Value(true), 1},
                          {Value(false), 0},
                          {Value(std::int64_t{-1520}), -1520},
                          {Value(Value::Array{Value(1)}), 0},
                          {Value(Value::Object{{"a", Value(1)}}), 0},
                          {Value(Value::Data{{1, 2}}), 0},
                          {Value(Value::Date{5}), 0},
                          {Value(nullptr), 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(intOf(&c.value), c.expected);
        EXPECT_EQ(int64Of(&c.value), c.expected);
    }
    EXPECT_EQ(intOf(nullptr), 0);
    EXPECT_EQ(int64Of(nullptr), 0);
}

TEST(DecodeJson, OnlyAnObjectIsData) {
    for (const char* bad : {"", "[1,2]", "42", "{\"a\": ", "{\"a\": 1} trailing"})
        EXPECT_FALSE(decodeJsonObject(bytesOf(bad))) << bad;
    // One invalid byte or lone surrogate half spoils only itself; escapes stay as they are.
    const auto mended = decodeJsonObject(
        bytesOf("{\"a\": \"\xff\\ud800x\\udc00\\\"\\ud83d\\ude00\", \"\xc3\": \"\\u00e9\"}"));
    ASSERT_TRUE(mended);
    EXPECT_EQ(*mended->getString("a"), "\uFFFD\uFFFDx\uFFFD\"\U0001F600");
    EXPECT_EQ(*mended->getString("\uFFFD"), "\u00e9");
    auto v = decodeJsonObject(bytesOf(R"({"s":"x","i":-2,"u":18446744073709549596,"r":2.5,
        "b":true,"n":null,"a":[{"k":1}],"o":{}})"));
    ASSERT_TRUE(v);
    EXPECT_EQ(*v->getString("s"), "x");
    EXPECT_EQ(intOf(v->get("i")), -2);
    EXPECT_EQ(intOf(v->get("u")), -2020);  // unsigned past the signed range wraps
    EXPECT_EQ(*v->get("r")->asReal(), 2.5);
    EXPECT_TRUE(v->get("b")->isBool());
    EXPECT_TRUE(v->get("n")->isNull());
    EXPECT_TRUE(v->get("a")->isArrayOfObjects());
    EXPECT_TRUE(v->getObject("o"));
    EXPECT_FALSE(v->getObject("a"));
    EXPECT_FALSE(v->getString("i"));
    EXPECT_EQ(v->get("missing"), nullptr);
}

TEST(DecodeJson, RefusesAbsurdNestingWithoutCrashing) {
    std::string deep = "{\"a\":" + std::string(100000, '[') + std::string(100000, ']') + "}";
    EXPECT_FALSE(decodeJsonObject(bytesOf(deep)));
    std::string many = "{\"a\":[";  // a million values and one: not tool output
    for (int i = 0; i < 1'000'000; ++i)
        many += "0,";
    EXPECT_FALSE(decodeJsonObject(bytesOf(many + "0]}")));
}

TEST(DecodePlist, ReadsXmlWithNegativeAndLargeIntegers) {
    const std::string xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<array>
  <dict>
    <key>Amperage</key><integer>-1520</integer>
    <key>Wrapped</key><integer>18446744073709550096</integer>
    <key>BatteryInstalled</key><true/>
    <key>Serial</key><string>F5D1234</string>
    <key>Ratio</key><real>0.5</real>
    <key>Blob</key><data>AQID</data>
    <key>Nested</key><array><integer>1</integer></array>
    <key>When</key><date>2001-01-01T00:01:40Z</date>
  </dict>
</array>
</plist>
)";
    auto v = decodePlist(bytesOf(xml));
    ASSERT_TRUE(v);
    ASSERT_TRUE(v->isArrayOfObjects());
    const Value& d = v->asArray()->front();
    EXPECT_EQ(intOf(d.get("Amperage")), -1520);
    EXPECT_EQ(intOf(d.get("Wrapped")), -1520);
    EXPECT_EQ(*d.get("BatteryInstalled")->asBool(), true);
    EXPECT_EQ(*d.getString("Serial"), "F5D1234");
    EXPECT_EQ(*d.get("Ratio")->asReal(), 0.5);
    EXPECT_EQ(d.get("Blob")->asData()->bytes, (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(d.get("When")->asDate()->seconds, 100);
    // A byte order mark and white space before the document are no fault.
    EXPECT_EQ(decodePlist(bytesOf("\xEF\xBB\xBF \r\n" + xml)), v);
}

TEST(DecodePlist, MalformedInputIsNoData) {
    for (const std::string& bad :
         {std::string(), std::string("garbage"), std::string("<plist><array>"),
          std::string("bplist00\x01\x02", 10), std::string(4096, '\xff'),
          // JSON and OpenStep text, which newer libraries would read too, are no tool's output.
          std::string(R"({"a": 1})"), std::string("{ a = 1; }"), std::string("(1, 2)"),
          std::string(" \xEF\xBB\xBF<plist/>")})
        EXPECT_FALSE(decodePlist(bytesOf(bad)));
}

TEST(FirstItem, NeedsANonEmptyArrayOfObjects) {
    auto root = decodeJsonObject(bytesOf(R"({"A":[{"x":1}],"B":[],"C":[1],"D":{"x":1}})"));
    ASSERT_TRUE(firstItem(root, "A"));
    EXPECT_EQ(intOf(firstItem(root, "A")->get("x")), 1);
    EXPECT_FALSE(firstItem(root, "B"));
    EXPECT_TRUE(arrayOfObjects(root, "B"));
    EXPECT_FALSE(firstItem(root, "C"));
    EXPECT_FALSE(firstItem(root, "D"));
    EXPECT_FALSE(firstItem(root, "E"));
    EXPECT_FALSE(firstItem(std::nullopt, "A"));
}
