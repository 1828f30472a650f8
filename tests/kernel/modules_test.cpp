// The program's module, the device's libraries, and the compiled-in resources.
#include "emulator.h"
#include "win32.h"

#include <gtest/gtest.h>
#include <string>

namespace {

INT_PTR WINAPI dial() { return 7; }
INT_PTR WINAPI hangUp() { return 8; }

TEST(Module, FileNameIsTheProgramsDevicePath) {
    emu::setModuleFileName(u"\\Program Files\\Dernolo\\Dernolo.exe");
    WCHAR path[MAX_PATH];
    EXPECT_EQ(GetModuleFileNameW(nullptr, path, MAX_PATH), 34u);
    EXPECT_EQ(std::u16string(path), u"\\Program Files\\Dernolo\\Dernolo.exe");
    EXPECT_EQ(GetModuleFileNameW(emu::programInstance(), path, MAX_PATH), 34u);
    EXPECT_EQ(GetModuleHandleW(nullptr), emu::programInstance());
    EXPECT_NE(emu::programInstance(), nullptr);

    // Too small: cut, terminated, nSize returned.
    WCHAR small[8];
    EXPECT_EQ(GetModuleFileNameW(nullptr, small, 8), 8u);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INSUFFICIENT_BUFFER});
    EXPECT_EQ(std::u16string(small), u"\\Progra");

    emu::setModuleFileName(u"Dernolo.exe");
    EXPECT_EQ(GetModuleFileNameW(nullptr, path, MAX_PATH), 11u);
    EXPECT_EQ(std::u16string(path), u"Dernolo.exe");
    emu::setModuleFileName(u"\\Program Files\\Dernolo\\Dernolo.exe");
}

TEST(Libraries, LoadedByNameWithOrWithoutFolderAndExtension) {
    emu::registerLibrary(u"phone.dll", {{u"PhoneMakeCall", reinterpret_cast<FARPROC>(&dial)},
                                        {u"PhoneHangUp", reinterpret_cast<FARPROC>(&hangUp)}});
    HMODULE a = LoadLibraryW(u"phone.dll");
    HMODULE b = LoadLibraryW(u"\\Windows\\PHONE.DLL");
    HMODULE c = LoadLibraryW(u"Phone");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a, c);
    EXPECT_EQ(GetProcAddress(a, u"PhoneMakeCall")(), 7);
    EXPECT_EQ(GetProcAddress(a, "PhoneHangUp")(), 8);
    EXPECT_EQ(GetProcAddressW(a, MAKEINTRESOURCEW(2))(), 8);
    EXPECT_EQ(GetProcAddress(a, u"phonemakecall"), nullptr);  // export names keep their case
    EXPECT_EQ(GetLastError(), DWORD{ERROR_PROC_NOT_FOUND});
    EXPECT_EQ(GetProcAddressW(a, MAKEINTRESOURCEW(3)), nullptr);
    EXPECT_EQ(GetModuleHandleW(u"phone.dll"), a);
    WCHAR path[MAX_PATH];
    EXPECT_GT(GetModuleFileNameW(a, path, MAX_PATH), 0u);
    EXPECT_EQ(std::u16string(path), u"\\Windows\\PHONE.dll");

    EXPECT_TRUE(FreeLibrary(a));
    EXPECT_TRUE(FreeLibrary(b));
    EXPECT_TRUE(FreeLibrary(c));
    EXPECT_FALSE(FreeLibrary(c));  // no load left
    EXPECT_EQ(GetProcAddress(a, u"PhoneMakeCall"), nullptr);
    emu::unregisterLibrary(u"PHONE");
}

TEST(Libraries, MissingOrUnregisteredLibrariesAreNotFound) {
    SetLastError(0);
    EXPECT_EQ(LoadLibraryW(u"phone.dll"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_MOD_NOT_FOUND});

    emu::registerLibrary(u"phone.dll", {{u"PhoneMakeCall", reinterpret_cast<FARPROC>(&dial)}});
    HMODULE loaded = LoadLibraryW(u"phone.dll");
    ASSERT_NE(loaded, nullptr);
    emu::unregisterLibrary(u"phone.dll");
    EXPECT_EQ(GetProcAddress(loaded, u"PhoneMakeCall"), nullptr);  // the handle is stale
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
    EXPECT_FALSE(FreeLibrary(loaded));
    EXPECT_EQ(LoadLibraryW(u"phone.dll"), nullptr);

    emu::registerLibrary(u"phone.dll", {});
    HMODULE again = LoadLibraryW(u"phone.dll");
    ASSERT_NE(again, nullptr);
    EXPECT_NE(again, loaded);
    EXPECT_EQ(GetProcAddress(loaded, u"PhoneMakeCall"), nullptr);
    FreeLibrary(again);
    emu::unregisterLibrary(u"phone.dll");
    int local = 0;
    EXPECT_FALSE(FreeLibrary(reinterpret_cast<HMODULE>(&local)));
}

const char iconBytes[] = "icon";
const char pageBytes[] = "<html></html>";
const char replacementBytes[] = "new";

TEST(Resources, FoundByIdentifierStringOrNumberString) {
    const emu::ResourceEntry table[] = {
        {RT_ICON, MAKEINTRESOURCEW(6), iconBytes, 4},
        {RT_HTML, u"help.htm", pageBytes, 13},
        {u"CUSTOM", MAKEINTRESOURCEW(270), pageBytes, 5},
    };
    emu::registerResources(table, 3);

    HRSRC icon = FindResourceW(nullptr, MAKEINTRESOURCEW(6), RT_ICON);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(SizeofResource(nullptr, icon), 4u);
    EXPECT_EQ(LockResource(LoadResource(nullptr, icon)), static_cast<const void*>(iconBytes));
    EXPECT_EQ(FindResourceW(emu::programInstance(), u"#6", u"#3"), icon);
    EXPECT_NE(FindResourceW(nullptr, u"HELP.HTM", RT_HTML), nullptr);
    EXPECT_NE(FindResourceA(nullptr, "help.htm", MAKEINTRESOURCEA(23)), nullptr);
    EXPECT_NE(FindResourceW(nullptr, MAKEINTRESOURCEW(270), u"custom"), nullptr);

    EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(7), RT_ICON), nullptr);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_RESOURCE_NAME_NOT_FOUND});
    EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(6), RT_BITMAP), nullptr);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_RESOURCE_TYPE_NOT_FOUND});

    // A later entry of the same type and name replaces the earlier one.
    const emu::ResourceEntry later[] = {{RT_ICON, u"#6", replacementBytes, 3}};
    emu::registerResources(later, 1);
    HRSRC replaced = FindResourceW(nullptr, MAKEINTRESOURCEW(6), RT_ICON);
    EXPECT_EQ(SizeofResource(nullptr, replaced), 3u);
    EXPECT_EQ(LockResource(LoadResource(nullptr, replaced)), static_cast<const void*>(replacementBytes));

    emu::clearResources();
    EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(6), RT_ICON), nullptr);
    EXPECT_EQ(LoadResource(nullptr, replaced), nullptr);  // stale
    EXPECT_EQ(SizeofResource(nullptr, replaced), 0u);
}

}  // namespace
