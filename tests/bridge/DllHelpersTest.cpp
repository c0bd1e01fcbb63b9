// The DLL's reader-name conversions and the PC/SC output-buffer convention.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/pcsc-bridge/dll/CallerBuffers.h"
#include "tools/pcsc-bridge/dll/ReaderText.h"

using namespace caller_buffers;
using namespace reader_text;

TEST(ReaderTextTest, NamesConvertBetweenUtf8AndTheCallersText)
{
    struct Case {
        std::string utf8;
        std::wstring wide;
    };
    const Case cases[] = {
        {"Virtual PCD 00 00", L"Virtual PCD 00 00"},
        {"Lecteur \xc3\xa9t\xc3\xa9", L"Lecteur \u00e9t\u00e9"},
        {"Reader \xe2\x82\xac", L"Reader \u20ac"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8ToWide(c.utf8), c.wide) << c.utf8;
        EXPECT_EQ(WideToUtf8(c.wide.c_str()).value_or("?"), c.utf8) << c.utf8;
    }
    // Code page 1252 under Wine's English locale: e-acute is E9, the euro sign 80.
    EXPECT_EQ(WideToAnsi(L"\u00e9\u20ac"), "\xe9\x80");
    EXPECT_EQ(AnsiToUtf8("\xe9\x80").value_or("?"), "\xc3\xa9\xe2\x82\xac");
    // A lone surrogate is not a name that can cross.
    EXPECT_FALSE(WideToUtf8(L"bad \xd800 name").has_value());
}

TEST(ReaderTextTest, MultiStringEndsWithTwoNuls)
{
    EXPECT_EQ(MultiString(std::vector<std::wstring>{L"A", L"BC"}), std::wstring(L"A\0BC\0\0", 6));
    EXPECT_EQ(MultiString(std::vector<std::wstring>{}), std::wstring(L"\0\0", 2));
    EXPECT_EQ(MultiString(AnsiNames({"R1", "R2"})), std::string("R1\0R2\0\0", 7));
}

TEST(CallerBuffersTest, DeliverFollowsTheBufferConvention)
{
    const std::wstring names(L"A\0BC\0\0", 6);

    // No buffer: the length only.
    DWORD length = 1;
    EXPECT_EQ(DeliverString(names, static_cast<wchar_t*>(nullptr), &length), 0u);
    EXPECT_EQ(length, 6u);

    // Enough room: copied, the length is what was written.
    std::vector<wchar_t> buffer(10, L'x');
    length = 10;
    EXPECT_EQ(DeliverString(names, buffer.data(), &length), 0u);
    EXPECT_EQ(length, 6u);
    EXPECT_EQ(std::wstring(buffer.data(), 6), names);
    EXPECT_EQ(buffer[6], L'x');

    // Too little room: nothing written, the needed length returned.
    std::vector<wchar_t> small(5, L'x');
    length = 5;
    EXPECT_EQ(DeliverString(names, small.data(), &length), 0x80100008u);
    EXPECT_EQ(length, 6u);
    EXPECT_EQ(small[0], L'x');

    // Auto-allocation: a block that FreeBlock takes back exactly once.
    wchar_t* block = nullptr;
    length = kAutoAllocate;
    EXPECT_EQ(DeliverString(names, reinterpret_cast<wchar_t*>(&block), &length), 0u);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(length, 6u);
    EXPECT_EQ(std::wstring(block, 6), names);
    EXPECT_TRUE(FreeBlock(block));
    EXPECT_FALSE(FreeBlock(block));

    // No length pointer at all.
    EXPECT_EQ(DeliverString(names, buffer.data(), nullptr), 0x80100004u);
}

TEST(CallerBuffersTest, EmptyBytesAreDelivered)
{
    BYTE atr[4] = {1, 2, 3, 4};
    DWORD length = sizeof atr;
    EXPECT_EQ(Deliver(nullptr, 0, 1, atr, &length), 0u);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(atr[0], 1);
}

TEST(CallerBuffersTest, ForeignPointersAreNotFreed)
{
    int local = 0;
    EXPECT_FALSE(FreeBlock(&local));
    void* block = AllocateBlock(0);
    ASSERT_NE(block, nullptr);
    EXPECT_TRUE(FreeBlock(block));
}
