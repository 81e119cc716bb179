# Sourced by the tools: where the build and the project's Wine prefix live,
# and how Wine is to run there (no debug chatter, no Mono/Gecko prompts).
KOLORIT_ROOT=$(cd "$(dirname "$0")/.." && pwd)
KOLORIT_BUILD=${KOLORIT_BUILD:-$KOLORIT_ROOT/build}
WINEPREFIX=$KOLORIT_BUILD/wineprefix
WINEDEBUG=-all
WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
export KOLORIT_ROOT KOLORIT_BUILD WINEPREFIX WINEDEBUG WINEDLLOVERRIDES

# The prefix holds both halves of Windows, and Debian's `wine` starts the
# 32-bit loader once 32-bit Wine is installed: a program named without a
# path (cscript, regsvr32) then comes from syswow64. Every tool therefore
# names the loader of the bitness it means.
WINE64=/usr/lib/wine/wine64
WINE32=/usr/lib/wine/wine

# The loader for a build: x86_64 (the default) or i686.
wine_loader() {
    case "$1" in
        i686) printf '%s\n' "$WINE32" ;;
        x86_64) printf '%s\n' "$WINE64" ;;
        *) echo "unknown architecture: $1 (x86_64 or i686)" >&2; return 1 ;;
    esac
}

# Whether this machine can run Wine's 32-bit half at all: the package may
# be installed while the kernel refuses 32-bit programs.
wine32_runs() {
    [ -x "$WINE32" ] && "$WINE32" --version >/dev/null 2>&1
}

# A Unix path as Windows programs in the prefix see it (drive Z: is /).
windows_path() {
    case "$1" in
        /*) p=$1 ;;
        *) p=$(pwd)/$1 ;;
    esac
    printf 'Z:%s\n' "$p" | tr / '\\'
}
