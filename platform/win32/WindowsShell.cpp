#include "WindowsShell.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace {

const wchar_t autostartKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t autostartValue[] = L"Zintello";
const wchar_t desktopKey[] = L"Control Panel\\Desktop";
const wchar_t wallpaperValue[] = L"Wallpaper";

void writeString(const wchar_t *keyName, const wchar_t *valueName, const std::wstring &text)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, keyName, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return;
    // REG_SZ data is counted in bytes and includes the terminating null.
    RegSetValueExW(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

std::wstring readString(const wchar_t *keyName, const wchar_t *valueName)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyName, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return std::wstring();
    std::wstring text;
    DWORD type = 0;
    DWORD size = 0;
    // The value may change between the two calls; try again while it grows.
    for (int attempt = 0; attempt < 4; ++attempt) {
        if (RegQueryValueExW(key, valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS
            || (type != REG_SZ && type != REG_EXPAND_SZ))
            break;
        std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
        DWORD got = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        const LONG result = RegQueryValueExW(key, valueName, nullptr, &type,
                                             reinterpret_cast<BYTE *>(buffer.data()), &got);
        if (result == ERROR_MORE_DATA)
            continue;
        if (result == ERROR_SUCCESS) {
            // Stored strings need not end with a null; take what is there up to the first.
            const auto end = buffer.begin() + got / sizeof(wchar_t);
            text.assign(buffer.begin(), std::find(buffer.begin(), end, L'\0'));
        }
        break;
    }
    RegCloseKey(key);
    return text;
}

} // namespace

void WindowsShell::writeAutostartEntry(const std::wstring &programFilePath)
{
    std::wstring nativePath = programFilePath;
    std::replace(nativePath.begin(), nativePath.end(), L'/', L'\\');
    writeString(autostartKey, autostartValue, nativePath);
}

void WindowsShell::removeAutostartEntry()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, autostartKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueW(key, autostartValue);
    RegCloseKey(key);
}

std::wstring WindowsShell::currentWallpaper()
{
    return readString(desktopKey, wallpaperValue);
}

void WindowsShell::setWallpaper(const std::wstring &path)
{
    writeString(desktopKey, wallpaperValue, path);
    std::string ansiPath = toLatin1(path);
    SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, &ansiPath[0],
                          SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
}

void WindowsShell::createRunningMutex(const std::wstring &name)
{
    CreateMutexW(nullptr, FALSE, name.c_str());
}

std::string WindowsShell::toLatin1(const std::wstring &text)
{
    std::string latin1;
    latin1.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        // A surrogate pair is one character and becomes one question mark.
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()
            && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            ++i;
        latin1 += c <= 0xFF ? static_cast<char>(c) : '?';
    }
    return latin1;
}
