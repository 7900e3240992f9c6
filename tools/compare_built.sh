#!/bin/bash
# compare_built.sh BUILT_FOLDER DATA_FOLDER PATTERN MAKER: fails, naming each file, when a file
# that MAKER built into BUILT_FOLDER differs from the checked-in one in DATA_FOLDER.
set -uo pipefail
built_folder=$1 data_folder=$2 pattern=$3 maker=$4
status=0
for built in "$built_folder"/$pattern; do
    name=$(basename "$built")
    if ! cmp -s "$built" "$data_folder/$name"; then
        echo "$data_folder/$name differs from what $maker builds; run it again"
        status=1
    fi
done
exit $status
