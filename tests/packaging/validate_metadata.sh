#!/usr/bin/env bash
# Installs the desktop entry, the AppStream metadata and the icons into a scratch prefix and
# runs on them the validators that desktops and software centres use. Then checks that the
# searches a user would type find the entry. Usage: validate_metadata.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
for component in metadata icons; do
    cmake --install "$build" --prefix "$prefix" --component "$component" >/dev/null
done
desktop=("$prefix"/share/applications/*.desktop)
metainfo=("$prefix"/share/metainfo/*.metainfo.xml)
desktop-file-validate "${desktop[@]}"
appstreamcli validate --no-net "${metainfo[@]}"
appstreamcli validate-tree --no-net "$prefix"

# The id is one name for all three files.
id=$(basename "${desktop[0]}" .desktop)
test "$(basename "${metainfo[0]}" .metainfo.xml)" = "$id"
for side in 48 128 256; do
    png="$prefix/share/icons/hicolor/${side}x${side}/apps/$id.png"
    file "$png" | grep -q "PNG image data, $side x $side" || { echo "bad icon $png"; exit 1; }
done
test -s "$prefix/share/icons/hicolor/scalable/apps/$id.svg"

# Desktop searches match the name, generic name and keywords (case-insensitively).
keys=$(grep -E '^(Name|GenericName|Keywords)=' "${desktop[0]}" | tr '[:upper:]' '[:lower:]')
for query in "equation of state" "density" "peng-robinson"; do
    grep -qF "$query" <<<"$keys" || { echo "a search for '$query' misses the entry"; exit 1; }
done
grep -qx 'Categories=Education;Science;Chemistry;' "${desktop[0]}"
echo "desktop entry, metadata and icons of $id pass"
