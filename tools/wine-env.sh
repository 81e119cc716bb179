# Sourced by the tools: where the build and the project's Wine prefix live,
# and how Wine is to run there (no debug chatter, no Mono/Gecko prompts).
KOLORIT_ROOT=$(cd "$(dirname "$0")/.." && pwd)
KOLORIT_BUILD=${KOLORIT_BUILD:-$KOLORIT_ROOT/build}
WINEPREFIX=$KOLORIT_BUILD/wineprefix
WINEDEBUG=-all
WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
export KOLORIT_ROOT KOLORIT_BUILD WINEPREFIX WINEDEBUG WINEDLLOVERRIDES

# A Unix path as Windows programs in the prefix see it (drive Z: is /).
windows_path() {
    case "$1" in
        /*) p=$1 ;;
        *) p=$(pwd)/$1 ;;
    esac
    printf 'Z:%s\n' "$p" | tr / '\\'
}
