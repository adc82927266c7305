#!/bin/sh
# Makes a delay-load import library from a MinGW import library: the program links against it
# instead, and the DLL is loaded by the first call into it (__delayLoadHelper2 of libmingwex)
# rather than at start.
#   make_delay_lib.sh <dlltool> <nm> <import library> <output library>
set -e
dlltool=$1 nm=$2 import=$3 output=$4
dll=$("$dlltool" --identify "$import")
def="$output.def"
{
    echo "LIBRARY \"$dll\""
    echo "EXPORTS"
    # Every function the import library names (its __imp_ pointers).
    "$nm" -g --defined-only "$import" | sed -n 's/^[0-9a-f]* I __imp_\(.*\)$/    \1/p' | sort -u
} >"$def"
"$dlltool" --input-def "$def" --dllname "$dll" --output-delaylib "$output"
