#ifndef WINDOWSSHELL_H
#define WINDOWSSHELL_H

#include <string>

// The Win32 calls behind the desktop integration on Windows, kept free of Qt so
// that they can be built with a plain cross compiler and tested under Wine.
// Paths come as UTF-16 text. Like the rest of the desktop integration nothing here
// reports a failure: results of registry writes and system calls are not examined.
class WindowsShell
{
public:
    // The value "Zintello" under HKCU\Software\Microsoft\Windows\CurrentVersion\Run:
    // the program path with every '/' turned into '\', without quotes or arguments.
    static void writeAutostartEntry(const std::wstring &programFilePath);
    static void removeAutostartEntry();

    // The value "Wallpaper" under HKCU\Control Panel\Desktop; empty when absent.
    static std::wstring currentWallpaper();

    // Writes the registry value first, then applies the wallpaper with
    // SystemParametersInfoA, whatever that call makes of the path.
    static void setWallpaper(const std::wstring &path);

    // Creates the named mutex and leaves its handle open, so that it exists
    // exactly as long as the process.
    static void createRunningMutex(const std::wstring &name);

    // The ANSI text that SystemParametersInfoA gets: every character outside
    // Latin-1 becomes a question mark.
    static std::string toLatin1(const std::wstring &text);

private:
    WindowsShell() = delete;
};

#endif
