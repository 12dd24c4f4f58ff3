#!/usr/bin/env bash
# Fails when an external name is defined in more than one object of the
# given static libraries: a program linking them takes one definition
# silently, or does not link when it needs both objects. Weak, inline and
# template names (nm types W, V, u) may repeat.
# Usage: check-one-definition.sh NM LIBRARY...
set -euo pipefail
nm=$1
shift
LC_ALL=C "$nm" -A --defined-only --extern-only "$@" | LC_ALL=C awk '
    # library:object:value type name
    NF >= 2 && $(NF - 1) ~ /^[TDBRGS]$/ {
        where = $1
        sub(/:[0-9a-fA-F]*$/, "", where)
        if (!((name = $NF) in first)) { first[name] = where; next }
        if (index(seen[name], "|" where "|") == 0) {
            seen[name] = seen[name] "|" where "|"
            more[name] = more[name] "\n    " where
        }
    }
    END {
        bad = 0
        for (name in more) {
            print "defined more than once: " name "\n    " first[name] more[name]
            bad = 1
        }
        if (bad) exit 1
    }' | { if command -v c++filt >/dev/null; then c++filt; else cat; fi; }
