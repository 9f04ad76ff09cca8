// Checks the Win32 side of the desktop integration against a real (Wine) registry,
// SystemParametersInfo and kernel objects. Run in a throw-away prefix:
//   windowsshelltest.exe               all checks; creates the running mutex
//   windowsshelltest.exe --probe NAME  exit code 0 when a mutex NAME exists, 1 when not
#include "WindowsShell.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const wchar_t runKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t desktopKey[] = L"Control Panel\\Desktop";
const wchar_t mutexName[] = L"de.morvaleen.zintello.innoMutex";

int passed = 0;
int failed = 0;

std::string narrow(const std::wstring &text)
{
    if (text.empty())
        return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string utf8(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), &utf8[0], size, nullptr,
                        nullptr);
    return utf8;
}

void check(bool ok, const char *what, const std::string &detail = std::string())
{
    ok ? ++passed : ++failed;
    std::printf("%s: %s%s%s\n", ok ? "PASS" : "FAIL", what, detail.empty() ? "" : " -- ",
                detail.c_str());
}

void checkEqual(const std::wstring &actual, const std::wstring &expected, const char *what)
{
    check(actual == expected, what,
          actual == expected ? std::string()
                             : "got \"" + narrow(actual) + "\", expected \"" + narrow(expected) + "\"");
}

void checkEqual(const std::string &actual, const std::string &expected, const char *what)
{
    check(actual == expected, what,
          actual == expected ? std::string() : "got \"" + actual + "\", expected \"" + expected + "\"");
}

// The registry as the test sees it, independent of the code under test.
struct RegistryValue
{
    bool exists = false;
    DWORD type = REG_NONE;
    std::wstring text;
};

RegistryValue readValue(const wchar_t *keyName, const wchar_t *valueName)
{
    RegistryValue value;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyName, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return value;
    std::vector<wchar_t> buffer(32768, L'\0');
    DWORD size = DWORD(buffer.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key, valueName, nullptr, &value.type,
                         reinterpret_cast<BYTE *>(buffer.data()), &size) == ERROR_SUCCESS) {
        value.exists = true;
        value.text.assign(buffer.data());
    }
    RegCloseKey(key);
    return value;
}

void writeRaw(const wchar_t *keyName, const wchar_t *valueName, DWORD type, const std::wstring &text,
              bool withTerminator = true)
{
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, keyName, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    RegSetValueExW(key, valueName, 0, type, reinterpret_cast<const BYTE *>(text.c_str()),
                   DWORD((text.size() + (withTerminator ? 1 : 0)) * sizeof(wchar_t)));
    RegCloseKey(key);
}

void deleteValue(const wchar_t *keyName, const wchar_t *valueName)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyName, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueW(key, valueName);
        RegCloseKey(key);
    }
}

std::wstring appliedWallpaper()
{
    wchar_t buffer[MAX_PATH + 1] = {};
    SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, buffer, 0);
    return buffer;
}

bool mutexExists(const wchar_t *name)
{
    HANDLE handle = OpenMutexW(SYNCHRONIZE, FALSE, name);
    if (!handle)
        return false;
    CloseHandle(handle);
    return true;
}

// Another process of this program answers whether the mutex exists.
int probeInChildProcess()
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --probe " + mutexName;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    WaitForSingleObject(process.hProcess, 60000);
    DWORD exitCode = 99;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return int(exitCode);
}

void testAutostartEntry()
{
    writeRaw(runKey, L"SomeoneElse", REG_SZ, L"C:\\Other\\other.exe");

    WindowsShell::writeAutostartEntry(L"C:/Program Files (x86)/Zintello/zintello.exe");
    RegistryValue value = readValue(runKey, L"Zintello");
    check(value.exists && value.type == REG_SZ, "autostart entry written as a string value");
    checkEqual(value.text, L"C:\\Program Files (x86)\\Zintello\\zintello.exe",
               "autostart entry has backslashes only, no quotes");

    // Every start rewrites the entry, so a moved program is found again.
    WindowsShell::writeAutostartEntry(L"D:/Neu/Zintello \u00c4rger \u4e2d\u6587/zintello.exe");
    checkEqual(readValue(runKey, L"Zintello").text, L"D:\\Neu\\Zintello \u00c4rger \u4e2d\u6587\\zintello.exe",
               "autostart entry rewritten with the new path, any characters kept");

    WindowsShell::removeAutostartEntry();
    check(!readValue(runKey, L"Zintello").exists, "autostart entry removed");
    checkEqual(readValue(runKey, L"SomeoneElse").text, L"C:\\Other\\other.exe",
               "other autostart entries stay");
    WindowsShell::removeAutostartEntry();
    check(!readValue(runKey, L"Zintello").exists, "removing an absent entry changes nothing");
    deleteValue(runKey, L"SomeoneElse");
}

void testCurrentWallpaper()
{
    deleteValue(desktopKey, L"Wallpaper");
    checkEqual(WindowsShell::currentWallpaper(), L"", "absent wallpaper value reads as empty");

    writeRaw(desktopKey, L"Wallpaper", REG_SZ, L"C:\\Users\\me\\Pictures\\Strand \u00e9t\u00e9.jpg");
    checkEqual(WindowsShell::currentWallpaper(), L"C:\\Users\\me\\Pictures\\Strand \u00e9t\u00e9.jpg",
               "wallpaper value read");

    writeRaw(desktopKey, L"Wallpaper", REG_EXPAND_SZ, L"%USERPROFILE%\\bild.bmp");
    checkEqual(WindowsShell::currentWallpaper(), L"%USERPROFILE%\\bild.bmp",
               "expandable wallpaper value read as stored");

    writeRaw(desktopKey, L"Wallpaper", REG_SZ, L"C:\\ohne-ende.bmp", false);
    checkEqual(WindowsShell::currentWallpaper(), L"C:\\ohne-ende.bmp",
               "wallpaper value stored without terminating null");

    std::wstring longPath = L"C:\\";
    for (int i = 0; i < 100; ++i)
        longPath += L"verzeichnis\\";
    longPath += L"bild.bmp";
    writeRaw(desktopKey, L"Wallpaper", REG_SZ, longPath);
    checkEqual(WindowsShell::currentWallpaper(), longPath, "long wallpaper value read whole");

    writeRaw(desktopKey, L"Wallpaper", REG_DWORD, L"xx");
    checkEqual(WindowsShell::currentWallpaper(), L"", "a non-text wallpaper value reads as empty");
}

void testSetWallpaper()
{
    const std::wstring design = L"C:\\Program Files\\Zintello\\Wallpapers\\A_design_3.bmp";
    WindowsShell::setWallpaper(design);
    RegistryValue value = readValue(desktopKey, L"Wallpaper");
    check(value.exists && value.type == REG_SZ, "wallpaper value written as a string value");
    checkEqual(value.text, design, "wallpaper value names the design bitmap");
    checkEqual(appliedWallpaper(), design, "the system applied the design bitmap");
    checkEqual(WindowsShell::currentWallpaper(), design, "current wallpaper reads the new value");

    // A path that the ANSI call cannot carry: the system gets question marks; the
    // value holds the real path as far as the system leaves it alone.
    const std::wstring foreign = L"C:\\\u0411\u0438\u043b\u0434\\B_design_9.bmp";
    WindowsShell::setWallpaper(foreign);
    checkEqual(appliedWallpaper(), L"C:\\????\\B_design_9.bmp",
               "the system got the Latin-1 path with question marks");
    std::printf("INFO: wallpaper value after the system call: \"%s\"\n",
                narrow(readValue(desktopKey, L"Wallpaper").text).c_str());

    WindowsShell::setWallpaper(L"");
    checkEqual(readValue(desktopKey, L"Wallpaper").text, L"", "empty wallpaper written as empty");
    checkEqual(appliedWallpaper(), L"", "empty wallpaper applied: no wallpaper");
}

void testLatin1()
{
    checkEqual(WindowsShell::toLatin1(L"C:\\plain\\A_design_1.bmp"), "C:\\plain\\A_design_1.bmp",
               "ASCII unchanged");
    checkEqual(WindowsShell::toLatin1(L"caf\u00e9\u00ff"), "caf\xe9\xff", "Latin-1 kept as single bytes");
    checkEqual(WindowsShell::toLatin1(L"\u20ac\u0100x"), "??x", "outside Latin-1 becomes '?'");
    checkEqual(WindowsShell::toLatin1(L"a\U0001F600b"), "a?b", "a character beyond 16 bits is one '?'");
    checkEqual(WindowsShell::toLatin1(L""), "", "empty stays empty");
}

void testRunningMutex()
{
    check(probeInChildProcess() == 1, "no mutex before it is created");
    WindowsShell::createRunningMutex(mutexName);
    check(probeInChildProcess() == 0, "a second process sees the mutex");

    HANDLE again = CreateMutexW(nullptr, FALSE, mutexName);
    check(again && GetLastError() == ERROR_ALREADY_EXISTS, "creating it again finds it existing");
    CloseHandle(again);
    check(probeInChildProcess() == 0, "the mutex stays while the process runs");
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc == 3 && std::wstring(argv[1]) == L"--probe")
        return mutexExists(argv[2]) ? 0 : 1;

    testLatin1();
    testAutostartEntry();
    testCurrentWallpaper();
    testSetWallpaper();
    testRunningMutex();
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
