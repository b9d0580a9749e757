#!/usr/bin/env bash
# The designer plugin takes nothing from the runtime library but TLumitra's
# meta-object: no other TLumitra symbol may be undefined in it.
set -euo pipefail
plugin=${1:?usage: check-imports.sh PLUGIN}
imports=$(nm -D --undefined-only "$plugin" | c++filt | grep -F 'TLumitra' | awk '{ $1=""; print substr($0, 2) }' || true)
if [[ "$imports" != "TLumitra::staticMetaObject" ]]; then
    echo "check-imports: unexpected TLumitra imports in $plugin:"
    echo "$imports"
    exit 1
fi
echo "check-imports: $plugin imports only TLumitra::staticMetaObject"
