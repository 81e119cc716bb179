#!/bin/sh
# Builds a type library as its clients read it back.
#
#   typelib.sh OUT.tlb FILE.idl WIDL [FLAGS...]
#
# Strings in a type library are read in the ANSI code page, so the IDL (UTF-8,
# like every source) is converted to Windows-1252 first: a help string with
# "é" must not come out as "Ã©". And widl knows no `predeclid`: every
# application object of the library is marked predeclared afterwards, as
# hosts expect an application object to be.
set -eu
out=$1
idl=$2
shift 2

"$@" -E "$idl" | iconv -f UTF-8 -t WINDOWS-1252 >"$out.idl"
"$@" -t -o "$out" "$out.idl"

int() { od -An --endian=little -t d4 -j "$1" -N 4 "$out" | tr -d ' \n'; }

# The MSFT layout: a header of 0x54 bytes (0x58 with a help DLL), one offset
# per type, the segment directory, whose first entry locates the table of
# type descriptions (0x64 bytes each: the kind at 0, the type flags at 0x30).
[ "$(int 0)" = 1413894989 ] || { echo "$out: not an MSFT type library" >&2; exit 1; }
types=$(int 32)
header=84
[ $(($(int 20) & 256)) -eq 0 ] || header=88
table=$(int $((header + 4 * types)))
i=0
while [ $i -lt "$types" ]; do
    at=$((table + 100 * i))
    flags=$(int $((at + 48)))
    # TKIND_COCLASS with TYPEFLAG_FAPPOBJECT gets TYPEFLAG_FPREDECLID.
    if [ $(($(int $at) & 15)) -eq 5 ] && [ $((flags & 1)) -ne 0 ]; then
        printf "\\$(printf %03o $(((flags | 8) & 255)))" | dd of="$out" bs=1 seek=$((at + 48)) conv=notrunc status=none
    fi
    i=$((i + 1))
done
