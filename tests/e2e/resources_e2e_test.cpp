// The resources inside the built vimra.scr: exactly icon group 102 with its
// one 32x32 16-colour image, and the About box template 103 byte for byte,
// all in language 1041 (Japanese), and nothing else.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "harness/harness.h"

using namespace e2e;

namespace {

constexpr WORD kJapanese = 1041;

// Builds a classic dialog template as the resource compiler lays it out:
// little-endian words, strings in UTF-16, every item on a 4-byte boundary
// from the start of the template.
class TemplateBytes {
public:
    void Word(std::uint16_t value)
    {
        bytes.push_back(static_cast<unsigned char>(value & 0xFF));
        bytes.push_back(static_cast<unsigned char>(value >> 8));
    }
    void Dword(std::uint32_t value)
    {
        Word(static_cast<std::uint16_t>(value & 0xFFFF));
        Word(static_cast<std::uint16_t>(value >> 16));
    }
    void Text(const std::u16string& text)
    {
        for (char16_t unit : text) Word(unit);
        Word(0);
    }
    void Ordinal(std::uint16_t value)
    {
        Word(0xFFFF);
        Word(value);
    }
    void Align()
    {
        while (bytes.size() % 4 != 0) bytes.push_back(0);
    }
    void Item(std::uint32_t style, std::int16_t x, std::int16_t y, std::int16_t cx, std::int16_t cy, std::uint16_t id,
              std::uint16_t classAtom)
    {
        Align();
        Dword(style);
        Dword(0);  // no extended style
        Word(static_cast<std::uint16_t>(x));
        Word(static_cast<std::uint16_t>(y));
        Word(static_cast<std::uint16_t>(cx));
        Word(static_cast<std::uint16_t>(cy));
        Word(id);
        Ordinal(classAtom);
    }
    std::vector<unsigned char> bytes;
};

std::vector<unsigned char> ExpectedAboutTemplate()
{
    constexpr std::uint16_t kButton = 0x0080;
    constexpr std::uint16_t kStatic = 0x0082;
    constexpr std::uint16_t kNoId = 0xFFFF;  // identifier -1
    constexpr std::uint32_t kText = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_CENTERIMAGE | SS_CENTER;
    TemplateBytes t;
    t.Dword(0x80C800C0);
    t.Dword(0);          // no extended style
    t.Word(6);           // controls
    t.Word(0);           // x
    t.Word(0);           // y
    t.Word(106);         // width
    t.Word(81);          // height
    t.Word(0);           // no menu
    t.Word(0);           // the standard dialog class
    t.Text(u"Vimra 1.0");
    t.Word(9);           // point size
    t.Text(u"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF");  // "ＭＳ Ｐゴシック"

    t.Item(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 42, 59, 50, 14, IDOK, kButton);
    t.Text(u"OK");
    t.Word(0);
    t.Item(WS_CHILD | WS_VISIBLE | WS_BORDER | SS_ICON, 7, 19, 19, 23, kNoId, kStatic);
    t.Ordinal(102);
    t.Word(0);
    t.Item(WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 33, 7, 66, 46, kNoId, kButton);
    t.Text(u"");
    t.Word(0);
    t.Item(kText, 38, 16, 55, 9, kNoId, kStatic);
    t.Text(u"Vimra 1.0");
    t.Word(0);
    t.Item(kText, 37, 27, 58, 10, kNoId, kStatic);
    t.Text(u"Rainbow discs");
    t.Word(0);
    t.Item(kText, 37, 39, 56, 9, kNoId, kStatic);
    t.Text(u"(C) 2026 Vimra");
    t.Word(0);
    return t.bytes;
}

std::string Id(LPCSTR name)
{
    return IS_INTRESOURCE(name) ? std::to_string(reinterpret_cast<ULONG_PTR>(name)) : std::string(name);
}

BOOL CALLBACK NoteLanguage(HMODULE, LPCSTR type, LPCSTR name, WORD language, LONG_PTR found)
{
    reinterpret_cast<std::set<std::string>*>(found)->insert(Id(type) + "/" + Id(name) + "/" +
                                                              std::to_string(language));
    return TRUE;
}

BOOL CALLBACK NoteName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR found)
{
    EnumResourceLanguagesA(module, type, name, NoteLanguage, found);
    return TRUE;
}

BOOL CALLBACK NoteType(HMODULE module, LPSTR type, LONG_PTR found)
{
    EnumResourceNamesA(module, type, NoteName, found);
    return TRUE;
}

class SaverResources : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FileExists(SaverPath())) << "vimra.scr not found at '" << SaverPath() << "'";
        module = LoadLibraryExA(SaverPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr) << GetLastError();
    }
    void TearDown() override
    {
        if (module != nullptr) FreeLibrary(module);
    }

    std::vector<unsigned char> Data(LPCSTR type, WORD name)
    {
        HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(name), kJapanese);
        if (found == nullptr) return {};
        const unsigned char* data = static_cast<const unsigned char*>(LockResource(LoadResource(module, found)));
        return std::vector<unsigned char>(data, data + SizeofResource(module, found));
    }

    HMODULE module = nullptr;
};

TEST_F(SaverResources, HoldTheIconAndTheAboutBoxInJapaneseAndNothingElse)
{
    std::set<std::string> found;
    EnumResourceTypesA(module, NoteType, reinterpret_cast<LONG_PTR>(&found));
    const std::set<std::string> expected = {
        "3/1/1041",     // RT_ICON 1: the one image
        "5/103/1041",   // RT_DIALOG 103: the About box
        "14/102/1041",  // RT_GROUP_ICON 102
    };
    EXPECT_EQ(found, expected);
}

TEST_F(SaverResources, AboutBoxTemplateMatchesByteForByte)
{
    const std::vector<unsigned char> actual = Data(RT_DIALOG, 103);
    const std::vector<unsigned char> expected = ExpectedAboutTemplate();
    ASSERT_FALSE(actual.empty());
    // The resource's size may be padded to a 4-byte boundary.
    ASSERT_GE(actual.size(), expected.size());
    ASSERT_LT(actual.size(), expected.size() + 4);
    for (size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(actual[i], expected[i]) << "byte " << i;
    }
    for (size_t i = expected.size(); i < actual.size(); ++i) EXPECT_EQ(actual[i], 0) << "padding byte " << i;
}

std::uint16_t Word(const std::vector<unsigned char>& bytes, size_t at)
{
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

std::uint32_t Dword(const std::vector<unsigned char>& bytes, size_t at)
{
    return Word(bytes, at) | (static_cast<std::uint32_t>(Word(bytes, at + 2)) << 16);
}

TEST_F(SaverResources, IconGroupHoldsOne32By32SixteenColourImageNumberedOne)
{
    const std::vector<unsigned char> group = Data(RT_GROUP_ICON, 102);
    ASSERT_EQ(group.size(), 6u + 14u) << "directory header and one entry";
    EXPECT_EQ(Word(group, 0), 0);   // reserved
    EXPECT_EQ(Word(group, 2), 1);   // icons
    EXPECT_EQ(Word(group, 4), 1);   // one image
    EXPECT_EQ(group[6], 32);        // width
    EXPECT_EQ(group[7], 32);        // height
    EXPECT_EQ(group[8], 16);        // colours
    EXPECT_EQ(Word(group, 10), 1);  // planes
    EXPECT_EQ(Word(group, 12), 4);  // bits per pixel
    EXPECT_EQ(Word(group, 18), 1);  // stored as icon image 1

    const std::vector<unsigned char> image = Data(RT_ICON, 1);
    // Header, 16 palette entries, 4-bit colour rows and the 1-bit mask.
    ASSERT_EQ(image.size(), 40u + 16u * 4u + 32u * 16u + 32u * 4u);
    EXPECT_EQ(Dword(group, 14), image.size()) << "the entry's byte count";
    EXPECT_EQ(Dword(image, 0), 40u);  // BITMAPINFOHEADER
    EXPECT_EQ(Dword(image, 4), 32u);  // width
    EXPECT_EQ(Dword(image, 8), 64u);  // height: colour and mask
    EXPECT_EQ(Word(image, 12), 1);    // planes
    EXPECT_EQ(Word(image, 14), 4);    // bits per pixel

    HICON icon = CreateIconFromResourceEx(const_cast<PBYTE>(image.data()), static_cast<DWORD>(image.size()), TRUE,
                                          0x00030000, 0, 0, LR_DEFAULTCOLOR);
    ASSERT_NE(icon, nullptr) << "the system accepts the image as an icon";
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour{};
    ASSERT_NE(info.hbmColor, nullptr);
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, 32);
    EXPECT_EQ(colour.bmHeight, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
}

}  // namespace
