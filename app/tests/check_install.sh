#!/usr/bin/env bash
# Checks an installation: every file the program needs in its place and nothing else, the
# defaults as shipped, icons of the sizes their folders name, and the desktop's own validators
# accept the desktop entry and the AppStream metadata, whose newest release is this version.
#   check_install.sh PREFIX VERSION APP_ID SOURCE_DEFAULTS LIBDIR
set -euo pipefail
prefix=$1 version=$2 id=$3 source_defaults=$4 libdir=$5
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

expected=(
  bin/orvane
  "$libdir/orvane/orvane-extra-windows.so"
  "share/applications/$id.desktop"
  "share/metainfo/$id.metainfo.xml"
  "share/icons/hicolor/scalable/apps/$id.svg"
  "share/icons/hicolor/48x48/apps/$id.png"
  "share/icons/hicolor/256x256/apps/$id.png"
  share/orvane/defaults/Error.doc
  share/orvane/defaults/Help/Orvane.html
)
for name in pref cdat fdat rdat archive notes; do
  expected+=("share/orvane/defaults/csystem/$name.ovd")
done

actual=$(cd "$prefix" && find . -type f -printf '%P\n' | LC_ALL=C sort)
wanted=$(printf '%s\n' "${expected[@]}" | LC_ALL=C sort)
if [ "$actual" != "$wanted" ]; then
  fail "installed files differ from the expected ones:"
  diff <(echo "$wanted") <(echo "$actual") >&2 || true
fi
[ -x "$prefix/bin/orvane" ] || fail "bin/orvane is not executable"
diff -r "$source_defaults" "$prefix/share/orvane/defaults" >&2 || fail "the defaults differ from $source_defaults"

# A PNG's width and height are the big-endian words at bytes 16 and 20.
for size in 48 256; do
  png="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
  read -r -a bytes < <(od -An -tu1 -j16 -N8 "$png")
  width=$(((bytes[0] << 24) | (bytes[1] << 16) | (bytes[2] << 8) | bytes[3]))
  height=$(((bytes[4] << 24) | (bytes[5] << 16) | (bytes[6] << 8) | bytes[7]))
  [ "$width" = "$size" ] && [ "$height" = "$size" ] || fail "$png is ${width}x${height}, not ${size}x${size}"
done
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/$id.svg" || fail "the scalable icon is no SVG"

desktop="$prefix/share/applications/$id.desktop"
metainfo="$prefix/share/metainfo/$id.metainfo.xml"
desktop-file-validate "$desktop" || fail "desktop-file-validate refuses $desktop"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli refuses $metainfo"

# The entry starts the installed program by name, with the installed icon; the metadata names
# the entry and the program, and its newest (first) release is the one being installed.
[ "$(sed -n 's/^Exec=//p' "$desktop")" = orvane ] || fail "Exec is not the installed program"
[ "$(sed -n 's/^Icon=//p' "$desktop")" = "$id" ] || fail "Icon is not $id"
grep -q '^Categories=Office;Calendar;$' "$desktop" || fail "Categories is not Office;Calendar;"
grep -q "<id>$id</id>" "$metainfo" || fail "the metadata's id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" \
  || fail "the metadata does not launch $id.desktop"
grep -q '<binary>orvane</binary>' "$metainfo" || fail "the metadata does not provide orvane"
grep -q '<screenshot type="default">' "$metainfo" || fail "the metadata has no screenshot"
newest=$(grep -o '<release version="[^"]*"' "$metainfo" | head -n 1 | cut -d'"' -f2)
[ "$newest" = "$version" ] || fail "the newest release is '$newest', the project is $version"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "installation in $prefix: all checks passed"
