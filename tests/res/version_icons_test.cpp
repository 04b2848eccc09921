// The version resource and the icons of the program, read from the test program itself,
// which links the same resources.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "res/resource.h"
#include "resource_reader.h"

namespace {

const char* const kKeys[] = {
    "Comments", "CompanyName", "FileDescription", "FileVersion", "InternalName",
    "LegalCopyright", "LegalTrademarks", "OriginalFilename", "ProductName", "ProductVersion",
};

class OwnVersionResource : public ::testing::Test {
protected:
    void SetUp() override
    {
        char path[MAX_PATH];
        ASSERT_NE(GetModuleFileNameA(nullptr, path, sizeof path), 0u);
        DWORD ignored = 0;
        DWORD size = GetFileVersionInfoSizeA(path, &ignored);
        ASSERT_NE(size, 0u);
        block_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, block_.data()));
    }

    // The value under a sub-block, or nullptr when it is absent.
    const char* Value(const std::string& table, const char* key)
    {
        std::string subBlock = "\\StringFileInfo\\" + table + "\\" + key;
        void* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueA(block_.data(), subBlock.c_str(), &value, &length) || value == nullptr)
            return nullptr;
        return static_cast<const char*>(value);
    }

    std::vector<BYTE> block_;
};

TEST_F(OwnVersionResource, FixedPartNamesAnApplicationForWindowsNt)
{
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block_.data(), "\\", &value, &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    const VS_FIXEDFILEINFO* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(1, 0));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 1));
    EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(1, 0));
}

TEST_F(OwnVersionResource, TranslationListsOnlyJapaneseUnicode)
{
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block_.data(), "\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 4u);
    const WORD* pair = static_cast<const WORD*>(value);
    EXPECT_EQ(pair[0], 0x0411);
    EXPECT_EQ(pair[1], 0x04B0);
}

TEST_F(OwnVersionResource, BothTablesHoldTheTenKeysAndNoSpecialBuild)
{
    for (const char* table : {"040904b0", "041104b0"}) {
        for (const char* key : kKeys) {
            const char* value = Value(table, key);
            ASSERT_NE(value, nullptr) << table << " lacks " << key;
            EXPECT_NE(value[0], '\0') << table << " has an empty " << key;
        }
        EXPECT_EQ(Value(table, "SpecialBuild"), nullptr) << table;
    }
    EXPECT_STREQ(Value("041104b0", "ProductName"), "Pondway Setup");
    EXPECT_STREQ(Value("041104b0", "CompanyName"), "Tamberlyn");
    EXPECT_STREQ(Value("041104b0", "FileVersion"), "1.0.0.1");
    EXPECT_STREQ(Value("041104b0", "ProductVersion"), "1.0");
    EXPECT_STREQ(Value("041104b0", "OriginalFilename"), "setup.exe");
}

TEST_F(OwnVersionResource, AboutBoxTableIsLegibleInEveryCodePage)
{
    // Every user's about box ends up reading the Japanese table (the only one listed), so
    // its values must survive conversion into code pages 1252, 932 and 950 alike.
    for (const char* key : kKeys) {
        const char* value = Value("041104b0", key);
        ASSERT_NE(value, nullptr) << key;
        for (const char* c = value; *c != '\0'; ++c)
            EXPECT_TRUE(*c >= 0x20 && *c < 0x7F) << key << ": " << value;
    }
}

TEST_F(OwnVersionResource, IsStoredUnderTheJapaneseLanguage)
{
    HMODULE module = GetModuleHandleA(nullptr);
    EXPECT_NE(FindResourceExA(module, RT_VERSION, MAKEINTRESOURCEA(VS_VERSION_INFO),
                              MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)), nullptr);
}

TEST_F(OwnVersionResource, AboutBoxTemplatesCarryTheCopyrightLine)
{
    const char* copyright = Value("041104b0", "LegalCopyright");
    ASSERT_NE(copyright, nullptr);
    for (LANGID language : {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT),
                            MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL)}) {
        DialogTemplate about = ReadDialogTemplate(IDD_ABOUT, language);
        ASSERT_TRUE(about.found) << language;
        bool seen = false;
        for (const TemplateControl& control : about.controls) {
            if (control.id == IDC_COPYRIGHT) {
                seen = true;
                EXPECT_EQ(control.text, copyright) << "language " << language;
            }
        }
        EXPECT_TRUE(seen) << "language " << language;
    }
}

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR names)
{
    reinterpret_cast<std::vector<int>*>(names)->push_back(
        IS_INTRESOURCE(name) ? static_cast<int>(reinterpret_cast<ULONG_PTR>(name)) : -1);
    return TRUE;
}

TEST(Icons, ProgramIconIsTheFirstGroup)
{
    std::vector<int> groups;
    EnumResourceNamesA(GetModuleHandleA(nullptr), RT_GROUP_ICON, CollectName, reinterpret_cast<LONG_PTR>(&groups));
    EXPECT_EQ(groups, (std::vector<int>{IDI_PROGRAM, IDI_UNINSTALL, IDI_PAGE}));
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colorCount, reserved;
    WORD planes, bitCount;
    DWORD bytesInRes;
    WORD iconId;
};
struct GroupIconHeader {
    WORD reserved, type, count;
    GroupIconEntry entries[1];
};
#pragma pack(pop)

TEST(Icons, EachGroupIsOne32By32ImageOf16Colours)
{
    HMODULE module = GetModuleHandleA(nullptr);
    for (int id : {IDI_PROGRAM, IDI_UNINSTALL, IDI_PAGE}) {
        SCOPED_TRACE("icon " + std::to_string(id));
        HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(id), RT_GROUP_ICON);
        ASSERT_NE(group, nullptr);
        const GroupIconHeader* header = static_cast<const GroupIconHeader*>(LockResource(LoadResource(module, group)));
        ASSERT_EQ(header->count, 1);
        const GroupIconEntry& entry = header->entries[0];
        EXPECT_EQ(entry.width, 32);
        EXPECT_EQ(entry.height, 32);
        EXPECT_EQ(entry.colorCount, 16);
        EXPECT_EQ(entry.bitCount, 4);

        HRSRC image = FindResourceA(module, MAKEINTRESOURCEA(entry.iconId), RT_ICON);
        ASSERT_NE(image, nullptr);
        ASSERT_EQ(SizeofResource(module, image), entry.bytesInRes);
        const BITMAPINFOHEADER* bitmap = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, image)));
        EXPECT_EQ(bitmap->biWidth, 32);
        EXPECT_EQ(bitmap->biHeight, 64);  // colour rows and mask rows
        EXPECT_EQ(bitmap->biBitCount, 4);

        HICON icon = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_ICON, 32, 32, 0));
        ASSERT_NE(icon, nullptr);
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP mask = {};
        GetObjectA(info.hbmMask, sizeof mask, &mask);
        EXPECT_EQ(mask.bmWidth, 32);
        DeleteObject(info.hbmMask);
        DeleteObject(info.hbmColor);
        DestroyIcon(icon);
    }
}

}  // namespace
