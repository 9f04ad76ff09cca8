#!/bin/sh
# Builds the Windows side of the desktop integration with mingw-w64 and runs its
# checks under Wine in a throw-away prefix, which is removed again at the end.
# usage: run-wine-tests.sh SOURCE_DIR WORK_DIR [QT_INCLUDE_DIR...]
# Needs: g++-mingw-w64-x86-64-posix wine wine64
set -eu

source_dir=$1
work_dir=$2
shift 2
mutex=de.morvaleen.zintello.innoMutex

compiler=
for candidate in x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-g++; do
    if command -v "$candidate" >/dev/null 2>&1; then
        compiler=$candidate
        break
    fi
done
if [ -z "$compiler" ] || ! command -v wine >/dev/null 2>&1; then
    echo "run-wine-tests: needs the packages g++-mingw-w64-x86-64-posix wine wine64" >&2
    exit 1
fi

mkdir -p "$work_dir"
exe=$work_dir/windowsshelltest.exe
# -static: the mingw runtime DLLs are not in a fresh prefix.
"$compiler" -std=c++17 -O1 -Wall -Wextra -Werror -municode -static \
    -I"$source_dir/platform/win32" -o "$exe" \
    "$source_dir/tests/platform/wine/WindowsShellTest.cpp" \
    "$source_dir/platform/win32/WindowsShell.cpp"

# The Qt adapter is built only on Windows; with Qt's headers from this machine
# it can at least be compiled for Windows, so that it does not rot unseen.
if [ $# -gt 0 ]; then
    qt_includes=
    for dir in "$@"; do
        qt_includes="$qt_includes -I$dir"
    done
    # shellcheck disable=SC2086 # one -I per directory
    "$compiler" -std=c++17 -fsyntax-only -Wall -Wextra -Werror -Wno-attributes -fPIC \
        -I"$source_dir/platform" $qt_includes "$source_dir/platform/DesktopIntegration_windows.cpp"
    echo "PASS: the Windows adapter compiles"
fi

WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/zintello-wine.XXXXXX")
export WINEPREFIX
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# No windows from Wine: the checks need neither a display nor a desktop.
unset DISPLAY WAYLAND_DISPLAY || true

cleanup() {
    timeout 60 wineserver -k >/dev/null 2>&1 || true
    timeout 60 wineserver -w >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Creating the prefix starts Wine's services; later runs crawl until they settle.
timeout 300 wineboot -i >/dev/null 2>&1
timeout 120 wineserver -w

status=0
timeout 300 wine "$exe" || status=$?

# The mutex lives exactly as long as the process that created it.
probe=0
timeout 120 wine "$exe" --probe "$mutex" || probe=$?
if [ "$probe" -eq 1 ]; then
    echo "PASS: the mutex is gone once its process has ended"
else
    echo "FAIL: the mutex after its process ended (probe exit code $probe)"
    [ "$status" -ne 0 ] || status=1
fi
exit "$status"
