# Installs the Debian packages that are missing. Sourced by start.sh and test.sh.
# usage: ensure_packages PACKAGE...
ensure_packages() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    if [ "$(id -u)" != 0 ]; then
        if command -v sudo >/dev/null; then
            sudo="sudo"
        else
            echo "Please install: apt-get install ${missing[*]}" >&2
            return 1
        fi
    fi
    echo "Installing ${missing[*]}" >&2
    $sudo apt-get update -qq && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
}

BUILD_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-multimedia-dev libgl-dev fonts-wqy-microhei qt6-translations-l10n
                libical-dev libicu-dev qtkeychain-qt6-dev python3 unicode-data)
TEST_PACKAGES=(xvfb xdotool trayer imagemagick python3-xlib pulseaudio pulseaudio-utils sox clang-format dpkg-dev faketime
               desktop-file-utils appstream dbus-daemon dbus-bin python3-dbus python3-gi
               at-spi2-core python3-pyatspi strace weston qt6-wayland radicale xandikos gnome-keyring openbox
               ibus ibus-libpinyin fcitx5 fcitx5-chinese-addons fcitx5-frontend-qt6)
PACKAGE_PACKAGES=(dpkg-dev)
BENCH_PACKAGES=(libbenchmark-dev clang libclang-rt-14-dev alarm-clock-applet osmo valgrind bc python3-xlib)
