#!/usr/bin/env bash
# Runs scripts/check-layers.sh on a small source tree that keeps the layers, then on copies of it
# with one include planted, and checks the verdict and the line it prints.
set -uo pipefail
checker="$(cd "$(dirname "$0")/../.." && pwd)/scripts/check-layers.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A tree with one include down each step of the layers (and one within a folder).
base=$work/base/src
put() { mkdir -p "$(dirname "$base/$1")"; printf '%s\n' "${@:2}" >> "$base/$1"; }
put core/Logging.h '#pragma once'
put core/format/Captions.h '#pragma once'
put core/store/Schema.h '#pragma once' '#include "core/format/Captions.h"'
put core/store/Schema.cpp '#include "core/store/Schema.h"' '#include "core/Logging.h"' '#include <QString>'
put core/names/NameStore.cpp '#include "core/store/Schema.h"'
put core/worksheet/FormEdition.h '#pragma once' '  #  include "core/store/Schema.h"'
put core/explain/Explanation.cpp '#include "core/worksheet/FormEdition.h"'
put core/produce/FormFiller.cpp '#include "core/worksheet/FormEdition.h"' '#include "generated_version.h"'
put core/session/WorksheetSession.h '#pragma once' '#include "core/explain/Explanation.h"'
put core/startup/DataStore.cpp '#include "core/worksheet/FormEdition.h"'
put ui/common/Interaction.h '#pragma once' '#include "core/store/Schema.h"'
put ui/produce/PdfPreview.h '#pragma once' '#include "ui/common/Interaction.h"'
put ui/worksheet/FormCS42.cpp '#include "ui/produce/PdfPreview.h"' '#include "core/session/WorksheetSession.h"'
put ui/shell/QtInteraction.cpp '#include "ui/produce/PdfPreview.h"' '#include "ui/worksheet/FormCS42.h"'
put admin/main.cpp '#include "core/startup/DataStore.h"'
put app/main.cpp '#include "ui/shell/QtInteraction.h"' '#include "core/startup/DataStore.h"'

failures=0
# check NAME FILE INCLUDE EXPECTED_STATUS EXPECTED_OUTPUT: plants INCLUDE as line 2 of FILE (made
# when missing) in a copy of the tree; EXPECTED_OUTPUT is the whole output ("" for none).
check() {
    local name=$1 file=$2 include=$3 want_status=$4 want=$5
    local tree=$work/$name
    cp -r "$work/base" "$tree"
    if [ -n "$file" ]; then
        mkdir -p "$(dirname "$tree/src/$file")"
        [ -f "$tree/src/$file" ] || echo '// planted' > "$tree/src/$file"
        sed -i "1a $include" "$tree/src/$file"
    fi
    local got status
    got=$(cd "$tree" && bash "$checker" src 2>&1)
    status=$?
    if [ "$status" != "$want_status" ] || [ "$got" != "$want" ]; then
        echo "FAIL $name: status $status (want $want_status), output:"
        echo "  got:  $got"
        echo "  want: $want"
        failures=$((failures + 1))
    else
        echo "ok   $name"
    fi
}

check clean-tree "" "" 0 ""
check store-includes-worksheet core/store/Planted.cpp '#include "core/worksheet/FormEdition.h"' 1 \
    'src/core/store/Planted.cpp:2: core/store includes core/worksheet (core/worksheet/FormEdition.h), a higher layer'
check worksheet-includes-explain core/worksheet/FormEdition.h '#include "core/explain/Explanation.h"' 1 \
    'src/core/worksheet/FormEdition.h:2: core/worksheet includes core/explain (core/explain/Explanation.h), a higher layer'
check format-includes-logging-only core/format/Captions.h '#include "core/store/Schema.h"' 1 \
    'src/core/format/Captions.h:2: core/format includes core/store (core/store/Schema.h), a higher layer'
check siblings-stay-apart core/names/NameStore.cpp '#include "core/worksheet/FormEdition.h"' 1 \
    'src/core/names/NameStore.cpp:2: core/names includes core/worksheet (core/worksheet/FormEdition.h), which shares its layer'
check core-includes-ui core/session/WorksheetSession.h '#include "ui/common/Interaction.h"' 1 \
    'src/core/session/WorksheetSession.h:2: core/session includes ui/common (ui/common/Interaction.h): the core includes nothing of ui'
check ui-common-includes-feature ui/common/Interaction.h '#include "ui/produce/PdfPreview.h"' 1 \
    'src/ui/common/Interaction.h:2: ui/common includes ui/produce (ui/produce/PdfPreview.h), a higher layer'
check feature-includes-worksheet-window ui/produce/PdfPreview.h '#include "ui/worksheet/FormCS42.h"' 1 \
    'src/ui/produce/PdfPreview.h:2: ui/produce includes ui/worksheet (ui/worksheet/FormCS42.h), a higher layer'
check admin-includes-ui admin/main.cpp '#include "ui/common/Interaction.h"' 1 \
    'src/admin/main.cpp:2: admin includes ui/common (ui/common/Interaction.h): the command-line program uses the core alone'
check folder-without-a-layer core/editions/Cs42Rev2022.cpp '#include "core/worksheet/FormEdition.h"' 1 \
    'src/core/editions/Cs42Rev2022.cpp:2: core/editions has no place in the layers of scripts/check-layers.sh'
check included-folder-without-a-layer core/session/WorksheetSession.h '#include "core/editions/Registry.h"' 1 \
    'src/core/session/WorksheetSession.h:2: includes core/editions/Registry.h: core/editions has no place in the layers of scripts/check-layers.sh'
check relative-include core/store/Schema.cpp '#include "../worksheet/FormEdition.h"' 1 \
    'src/core/store/Schema.cpp:2: includes "../worksheet/FormEdition.h": includes are rooted at src ("core/store/Schema.h")'

# Every upward include is reported, not only the first.
tree=$work/two
cp -r "$work/base" "$tree"
sed -i '1a #include "core/session/WorksheetSession.h"' "$tree/src/core/store/Schema.cpp"
sed -i '1a #include "ui/shell/QtInteraction.h"' "$tree/src/ui/common/Interaction.h"
lines=$(cd "$tree" && bash "$checker" src | wc -l)
if [ "$lines" != 2 ]; then
    echo "FAIL two-upward-includes: $lines lines reported (want 2)"
    failures=$((failures + 1))
else
    echo "ok   two-upward-includes"
fi

if ! bash "$checker" "$work/no-such-folder" > /dev/null 2>&1; then
    echo "ok   missing-folder"
else
    echo "FAIL missing-folder: a folder that does not exist passed"
    failures=$((failures + 1))
fi

[ "$failures" -eq 0 ]
