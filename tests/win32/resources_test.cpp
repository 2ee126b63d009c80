#include "resources/resource_ids.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

template <typename T> const T* Resource(int id, int type, DWORD& size)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(type));
    size = resource ? SizeofResource(module, resource) : 0;
    return resource ? static_cast<const T*>(LockResource(LoadResource(module, resource))) : nullptr;
}

// The test program links the same resource script as kelvaro.exe, so it carries the same manifest.
std::string EmbeddedManifest()
{
    DWORD size = 0;
    const char* bytes = Resource<char>(1, 24, size);
    return bytes ? std::string(bytes, size) : std::string();
}

TEST(ResourcesTest, ManifestAsksForCommonControlsSixAndPerMonitorDpi)
{
    const std::string manifest = EmbeddedManifest();
    ASSERT_FALSE(manifest.empty());
    const char* const declarations[] = {
        R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")",
        R"(<dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">PerMonitorV2, PerMonitor</dpiAwareness>)",
        R"(<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true/pm</dpiAware>)",
        // The last of the supported systems, Windows 10 and 11.
        R"(<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>)",
    };
    for (const char* declaration : declarations)
        EXPECT_NE(manifest.find(declaration), std::string::npos) << declaration;
}

// Each icon carries a picture for every small and large icon size from 100 % to 200 % scaling, so
// Windows never stretches one and the tray's picture is exact at any small-icon size; the
// program's own icon also for 256, for Explorer's largest views.
TEST(ResourcesTest, EveryIconHoldsEverySize)
{
    const int icons[] = {IDI_APP,         IDI_STOPWATCH,   IDI_RED_CROSS,   IDI_SLEEPING_FACE, IDI_LOUDSPEAKER,
                         IDI_INFO_SYMBOL, IDI_TRAY_0,      IDI_TRAY_1,      IDI_TRAY_2,        IDI_TRAY_3,
                         IDI_TRAY_4,      IDI_TRAY_5,      IDI_TRAY_6,      IDI_TRAY_7,        IDI_TRAY_8,
                         IDI_TRAY_DARK_0, IDI_TRAY_DARK_1, IDI_TRAY_DARK_2, IDI_TRAY_DARK_3,   IDI_TRAY_DARK_4,
                         IDI_TRAY_DARK_5, IDI_TRAY_DARK_6, IDI_TRAY_DARK_7, IDI_TRAY_DARK_8};
    const std::set<int> smallSizes{16, 20, 24, 32, 40, 48, 64};
    // The icon group directory: three words of header, then 14-byte entries whose first byte is the
    // width, 0 standing for 256.
    constexpr DWORD kHeader = 6;
    constexpr DWORD kEntry = 14;
    for (int id : icons) {
        DWORD size = 0;
        const BYTE* group = Resource<BYTE>(id, 14, size);
        ASSERT_NE(group, nullptr) << id;
        std::set<int> expected = smallSizes;
        if (id == IDI_APP)
            expected.insert(256);
        const WORD count = static_cast<WORD>(group[4] | group[5] << 8);
        ASSERT_GE(size, kHeader + count * kEntry) << id;
        std::set<int> widths;
        for (WORD entry = 0; entry < count; ++entry) {
            const BYTE* fields = group + kHeader + entry * kEntry;
            EXPECT_EQ(fields[0], fields[1]) << id << " entry " << entry << " is not square";
            widths.insert(fields[0] == 0 ? 256 : fields[0]);
        }
        EXPECT_EQ(widths, expected) << id;

        // The large pictures are stored as PNG, the small ones as bitmaps: the icon loader must
        // read each at its own size.
        for (int width : expected) {
            HICON icon = static_cast<HICON>(
                LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, width, width, 0));
            ASSERT_NE(icon, nullptr) << id << " at " << width;
            ICONINFO info{};
            ASSERT_TRUE(GetIconInfo(icon, &info)) << id << " at " << width;
            BITMAP picture{};
            GetObjectW(info.hbmColor, sizeof picture, &picture);
            EXPECT_EQ(picture.bmWidth, width) << id;
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(icon);
        }
    }
}

} // namespace
