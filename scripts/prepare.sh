# Shared by ./run and ./test: installs the Debian packages that are missing and
# builds the project into build/. Sourced, not run.

zintello_build_packages=(
  cmake make g++ pkg-config python3
  qtbase5-dev libqt5webkit5-dev libqt5x11extras5-dev libx11-dev libx11-xcb-dev libxext-dev libxss-dev zlib1g-dev
  qttools5-dev qttools5-dev-tools qttranslations5-l10n
  libglib2.0-bin dconf-gsettings-backend gsettings-desktop-schemas librsvg2-bin
  qtbase5-private-dev qtwayland5-private-dev libqt5waylandclient5-dev libwayland-dev libxkbcommon-dev
  liblayershellqtinterface-dev qtwayland5 layer-shell-qt
  plasma-wayland-protocols
)
zintello_session_packages=(xvfb x11-utils xdotool imagemagick openbox tint2)

install_missing_packages() {
  local missing=()
  local package
  for package in "$@"; do
    dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}"
}

build_zintello() {
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build -j"$(nproc)"
}
