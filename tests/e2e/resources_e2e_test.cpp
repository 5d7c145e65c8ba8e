// The resources inside the built vimra.scr, all in language 1041 (Japanese):
// icon group 102 with its one 32x32 16-colour image, the About box template
// 103 byte for byte, and nothing else.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "harness/harness.h"

using namespace e2e;

namespace {

// A classic dialog template as the resource compiler lays it out: words
// little-endian, strings UTF-16, every item 4-byte aligned.
struct TemplateBytes {
    std::vector<unsigned char> bytes;
    void Word(unsigned value)
    {
        bytes.push_back(value & 0xFF);
        bytes.push_back((value >> 8) & 0xFF);
    }
    void Dword(unsigned value)
    {
        Word(value & 0xFFFF);
        Word(value >> 16);
    }
    void Text(const std::u16string& text)
    {
        for (char16_t unit : text) Word(unit);
        Word(0);
    }
    // One control: class atom, then its text or (iconId != 0) an icon ordinal.
    void Item(unsigned style, int x, int y, int cx, int cy, unsigned id, unsigned atom, const std::u16string& text,
              unsigned iconId = 0)
    {
        while (bytes.size() % 4 != 0) bytes.push_back(0);
        Dword(style);
        Dword(0);
        for (int value : {x, y, cx, cy}) Word(value);
        Word(id);
        Word(0xFFFF);
        Word(atom);
        if (iconId != 0) {
            Word(0xFFFF);
            Word(iconId);
        } else {
            Text(text);
        }
        Word(0);  // no creation data
    }
};

std::vector<unsigned char> ExpectedAboutTemplate()
{
    const unsigned kButton = 0x80, kStatic = 0x82, kNoId = 0xFFFF;
    const unsigned kText = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_CENTERIMAGE | SS_CENTER;
    TemplateBytes t;
    t.Dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT);
    t.Dword(0);
    for (unsigned word : {6, 0, 0, 106, 81, 0, 0}) t.Word(word);  // controls, x, y, cx, cy, menu, class
    t.Text(u"Vimra 1.0");
    t.Word(9);
    t.Text(u"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF");  // "ＭＳ Ｐゴシック"
    t.Item(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 42, 59, 50, 14, IDOK, kButton, u"OK");
    t.Item(WS_CHILD | WS_VISIBLE | WS_BORDER | SS_ICON, 7, 19, 19, 23, kNoId, kStatic, u"", 102);
    t.Item(WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 33, 7, 66, 46, kNoId, kButton, u"");
    t.Item(kText, 38, 16, 55, 9, kNoId, kStatic, u"Vimra 1.0");
    t.Item(kText, 37, 27, 58, 10, kNoId, kStatic, u"Rainbow discs");
    t.Item(kText, 37, 39, 56, 9, kNoId, kStatic, u"(C) 2026 Vimra");
    return t.bytes;
}

BOOL CALLBACK NoteLanguage(HMODULE, LPCSTR type, LPCSTR name, WORD language, LONG_PTR found)
{
    reinterpret_cast<std::set<std::string>*>(found)->insert(
        std::to_string(reinterpret_cast<ULONG_PTR>(type)) + "/" + std::to_string(reinterpret_cast<ULONG_PTR>(name)) +
        "/" + std::to_string(language));
    return TRUE;
}

BOOL CALLBACK NoteName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR found)
{
    return EnumResourceLanguagesA(module, type, name, NoteLanguage, found);
}

BOOL CALLBACK NoteType(HMODULE module, LPSTR type, LONG_PTR found)
{
    return EnumResourceNamesA(module, type, NoteName, found);
}

std::vector<unsigned char> Data(HMODULE module, LPCSTR type, WORD name)
{
    HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(name), 1041);
    if (found == nullptr) return {};
    const unsigned char* data = static_cast<const unsigned char*>(LockResource(LoadResource(module, found)));
    return std::vector<unsigned char>(data, data + SizeofResource(module, found));
}

TEST(SaverResources, AreTheIconAndTheAboutBoxInJapaneseAndNothingElse)
{
    HMODULE module = LoadLibraryExA(SaverPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << SaverPath();

    std::set<std::string> found;
    EnumResourceTypesA(module, NoteType, reinterpret_cast<LONG_PTR>(&found));
    // RT_ICON 1, RT_DIALOG 103, RT_GROUP_ICON 102; names are all numbers.
    EXPECT_EQ(found, (std::set<std::string>{"3/1/1041", "5/103/1041", "14/102/1041"}));

    // The template; its size may be padded to a 4-byte boundary with zeros.
    std::vector<unsigned char> about = Data(module, RT_DIALOG, 103);
    const std::vector<unsigned char> expected = ExpectedAboutTemplate();
    ASSERT_GE(about.size(), expected.size());
    EXPECT_LT(about.size(), expected.size() + 4);
    EXPECT_EQ(std::vector<unsigned char>(about.begin() + expected.size(), about.end()),
              std::vector<unsigned char>(about.size() - expected.size(), 0));
    about.resize(expected.size());
    EXPECT_EQ(about, expected);

    // One image: header, 16 palette entries, 4-bit colour rows, 1-bit mask.
    const std::vector<unsigned char> image = Data(module, RT_ICON, 1);
    const unsigned size = 40 + 16 * 4 + 32 * 16 + 32 * 4;
    ASSERT_EQ(image.size(), size);
    // Directory header (icons, one image), then 32x32, 16 colours, 1 plane,
    // 4 bits per pixel, its size, stored as image 1.
    EXPECT_EQ(Data(module, RT_GROUP_ICON, 102),
              (std::vector<unsigned char>{0, 0, 1, 0, 1, 0, 32, 32, 16, 0, 1, 0, 4, 0, size & 0xFF, size >> 8, 0, 0,
                                          1, 0}));
    // A BITMAPINFOHEADER of 32 x (32 + 32 mask rows), 1 plane, 4 bits.
    EXPECT_EQ(std::vector<unsigned char>(image.begin(), image.begin() + 16),
              (std::vector<unsigned char>{40, 0, 0, 0, 32, 0, 0, 0, 64, 0, 0, 0, 1, 0, 4, 0}));
    HICON icon = CreateIconFromResourceEx(const_cast<PBYTE>(image.data()), size, TRUE, 0x00030000, 0, 0, 0);
    EXPECT_NE(icon, nullptr) << "the system takes the image for an icon";
    DestroyIcon(icon);
    FreeLibrary(module);
}

}  // namespace
