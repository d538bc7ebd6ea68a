// Property lists that no tool writes but a corrupt file or capture may hold: those that would
// make the library assert, recurse off the stack or expand without end are refused (or, for a
// string holding U+0000, read whole), quickly and without a crash.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "service/Values.h"

namespace orvane {
namespace {

using namespace std::string_literals;

std::string be(std::uint64_t v, int width) {
    std::string out;
    for (int k = width - 1; k >= 0; --k)
        out += static_cast<char>((v >> (8 * k)) & 0xFF);
    return out;
}

// An object's marker: its type and how many elements, units or pairs follow.
std::string marker(int type, std::size_t count) {
    if (count < 15) return std::string(1, static_cast<char>(type << 4 | static_cast<int>(count)));
    return std::string(1, static_cast<char>(type << 4 | 0xF)) + "\x13" + be(count, 8);
}

std::string ascii(const std::string& s) {
    return marker(0x5, s.size()) + s;
}
std::string utf16(const std::u16string& s) {
    std::string out = marker(0x6, s.size());
    for (char16_t c : s)
        out += be(c, 2);
    return out;
}
// An array (0xA) of references, or a dictionary (0xD) of key references, then value ones.
std::string container(int type, const std::vector<std::uint32_t>& refs) {
    std::string out = marker(type, type == 0xD ? refs.size() / 2 : refs.size());
    for (std::uint32_t r : refs)
        out += be(r, 4);
    return out;
}

// A binary property list of these objects, the first one its root.
std::vector<std::uint8_t> binaryPlist(const std::vector<std::string>& objects) {
    std::string out = "bplist00";
    std::string table;
    for (const std::string& o : objects) {
        table += be(out.size(), 4);
        out += o;
    }
    const std::size_t tableAt = out.size();
    out += table + std::string(6, '\0') + "\x04\x04" + be(objects.size(), 8) + be(0, 8) +
           be(tableAt, 8);
    return {out.begin(), out.end()};
}

std::vector<std::uint8_t> bytes(const std::string& s) {
    return {s.begin(), s.end()};
}

TEST(HostilePlist, StringsAndKeysHoldingNul) {
    // A value holding U+0000 is read whole, by its length.
    const auto value =
        decodePlist(binaryPlist({container(0xD, {1, 2}), ascii("Serial"), utf16(u"a\0b"s)}));
    ASSERT_TRUE(value);
    ASSERT_TRUE(value->getString("Serial"));
    EXPECT_EQ(*value->getString("Serial"), "a\0b"s);

    // A key holding it, and XML holding a NUL character (which XML does not allow), are not
    // property lists a tool writes.
    EXPECT_FALSE(
        decodePlist(binaryPlist({container(0xD, {1, 2}), utf16(u"Se\0rial"s), ascii("x")})));
    for (const char* xml : {"<plist><dict><key>a&#0;</key><string>x</string></dict></plist>",
                            "<plist><string>a&#x000;b</string></plist>"})
        EXPECT_FALSE(decodePlist(bytes(xml))) << xml;
    EXPECT_FALSE(decodePlist(bytes("<plist><string>a\0b</string></plist>"s)));
}

TEST(HostilePlist, DeepSharedAndCyclicDocumentsAreRefused) {
    std::string xml = "<plist>";
    for (int k = 0; k < 300000; ++k)
        xml += "<array>";
    for (int k = 0; k < 300000; ++k)
        xml += "</array>";
    EXPECT_FALSE(decodePlist(bytes(xml + "</plist>")));

    // 100,000 arrays, each inside the one before.
    std::vector<std::string> deep;
    for (std::uint32_t k = 1; k < 100000; ++k)
        deep.push_back(container(0xA, {k}));
    deep.push_back(container(0xA, {}));
    EXPECT_FALSE(decodePlist(binaryPlist(deep)));

    // 40 arrays, each holding the next one twice: 2^40 values once expanded.
    std::vector<std::string> shared;
    for (std::uint32_t k = 1; k < 40; ++k)
        shared.push_back(container(0xA, {k, k}));
    shared.push_back(container(0xA, {}));
    EXPECT_FALSE(decodePlist(binaryPlist(shared)));

    // An array holding itself.
    EXPECT_FALSE(decodePlist(binaryPlist({container(0xA, {0})})));

    // Nesting a tool may well write still reads.
    std::vector<std::string> nested;
    for (std::uint32_t k = 1; k < 10; ++k)
        nested.push_back(container(0xA, {k, k}));
    nested.push_back(ascii("leaf"));
    EXPECT_TRUE(decodePlist(binaryPlist(nested)));
}

}  // namespace
}  // namespace orvane
