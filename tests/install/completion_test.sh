#!/usr/bin/env bash
# usage: completion_test.sh COMPLETION_FILE BIN_DIR: what the user gets on TAB, the
# names coming from the localyx-query and region files in BIN_DIR.
set -uo pipefail
source "$1" || exit 1
export PATH=$2:$PATH
bin=$2 failures=0

# check MODE EXPECTED WORD...: completes the last word of localyx-query WORD...
# MODE exact: the completions, joined by |, are EXPECTED; has: EXPECTED is one.
check() {
    local mode=$1 expected=$2 got
    shift 2
    COMP_WORDS=(localyx-query "$@")
    COMP_CWORD=$#
    _localyx_query localyx-query
    got=$(IFS='|'; echo "${COMPREPLY[*]}")
    if [ "$mode" = exact ] && [ "$got" = "$expected" ]; then return; fi
    if [ "$mode" = has ] && printf '%s\n' "${COMPREPLY[@]}" | grep -qxF -- "$expected"; then return; fi
    echo "FAIL: localyx-query $* <TAB>: expected ($mode) '$expected', got '${got:0:300}'"
    failures=$((failures + 1))
}

check exact 'regions|towns|neighbours|distance|map-url|itinerary-url|around|tour|clients' ''
check exact 'Bretagne' towns bre
check exact '--csv' neighbours --c
check exact '' towns Bretagne ''
# Positions count past options, a region number and a typed quote or escape.
check exact 'SAINT MALO-35400' neighbours --csv 6 '"saint malo-'
check exact "L'HERMITAGE-35590" distance Bretagne RENNES-35200 "L\\'HERM"
check exact 'RENNES-35200' --file "$bin/Bretagne.txt" neighbours RENNES-3
# France-wide commands reach across the region borders.
check has 'RENNES EN GRENOUILLES-53110' around 'rennes '
# Matched as the tool matches names: hyphens and apostrophes as blanks, ST for SAINT.
check exact 'SAINT MALO-35400' around 'st-malo-'
check has 'STRASBOURG-67200' around 'st'
check has "SAINT OUEN L'AUMÔNE-95310" around 'ST OUEN-L’AUM'
check has 'BREST-29200' tour RENNES-35200 --no-return LYON-69001 BREST-2
check exact 'text|csv|xlsx|geojson|kml|gpx|svg|png|pdf' around RENNES-35200 15 --format ''
check exact 'text|csv|xlsx|kml|gpx|svg|png|pdf' tour RENNES-35200 --format ''
# Client files: their name, their reading options, which do not count as arguments.
check has "$bin/localites.csv" clients "$bin/localites"
check exact 'windows-1252' clients --encoding w
check exact '--clients|--column' around RENNES-35200 15 --c
check has 'tab' tour RENNES-35200 --clients f.csv --separator ''

[ "$failures" -eq 0 ] || exit 1
echo "bash completion: all cases pass"
