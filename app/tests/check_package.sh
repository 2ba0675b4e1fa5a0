#!/usr/bin/env bash
# Makes the Debian package of a build tree with its CPack set-up (what `make package` runs) and
# checks it: the control fields, the library dependencies dpkg-shlibdeps found, and every
# installed file under /usr. On a throwaway system (root in a container) it also installs the
# package, starts the program the way its menu entry does, and removes the package again,
# checking that nothing is left; elsewhere the contents are all it checks.
#   check_package.sh BUILD_DIR VERSION APP_ID LIBDIR
set -euo pipefail
build=$1 version=$2 id=$3 libdir=$4
work=$(mktemp -d)
installed=no
cleanup() {
  if [ "$installed" = yes ]; then
    dpkg --purge orvane >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

if ! cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  exit 1
fi
deb=$(find "$work/out" -maxdepth 1 -name "orvane_${version}_*.deb")
[ -n "$deb" ] || { cat "$work/cpack.log" >&2; echo "FAIL: no orvane_${version}_*.deb" >&2; exit 1; }

info=$(dpkg-deb --info "$deb")
echo "$info"
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = orvane ] || fail "Package is not orvane"
[ "$(field Version)" = "$version" ] || fail "Version is not $version"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is not this machine's"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
depends=$(field Depends)
# dpkg-shlibdeps writes each library with the lowest version the binary needs:
# "libqt6core6 (>= 6.4.0), libqt6gui6 (>= 6.3.0), ...".
depended=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libical3; do
  grep -qxF "$library" <<<"$depended" || fail "Depends lacks $library: $depends"
done

contents=$(dpkg-deb --contents "$deb" | awk '{ print $NF }')
echo "$contents"
for path in ./usr/bin/orvane "./usr/$libdir/orvane/orvane-extra-windows.so" \
  "./usr/share/applications/$id.desktop" \
  "./usr/share/metainfo/$id.metainfo.xml" "./usr/share/icons/hicolor/scalable/apps/$id.svg" \
  "./usr/share/icons/hicolor/48x48/apps/$id.png" "./usr/share/icons/hicolor/256x256/apps/$id.png" \
  ./usr/share/orvane/defaults/Error.doc ./usr/share/orvane/defaults/Help/Orvane.html \
  ./usr/share/orvane/defaults/csystem/{pref,cdat,fdat,rdat,archive,notes}.ovd; do
  grep -qxF "$path" <<<"$contents" || fail "the package lacks $path"
done
outside=$(grep -v -e '^\./$' -e '^\./usr/' <<<"$contents" || true)
[ -z "$outside" ] || fail "the package installs outside /usr: $outside"

throwaway=no
if [ -f /.dockerenv ] || [ -f /run/.containerenv ] \
  || { command -v systemd-detect-virt >/dev/null && systemd-detect-virt --container --quiet; }; then
  throwaway=yes
fi
if [ "$(id -u)" -eq 0 ] && [ "$throwaway" = yes ] && ! dpkg-query -W orvane >/dev/null 2>&1; then
  installed=yes
  # Another package manager run may hold the lock for a moment.
  for attempt in 1 2 3 4 5 6; do
    if dpkg -i "$deb" >"$work/dpkg.log" 2>&1; then
      break
    fi
    grep -q 'lock' "$work/dpkg.log" && [ "$attempt" -lt 6 ] || { cat "$work/dpkg.log" >&2; exit 1; }
    sleep 5
  done
  files=$(dpkg -L orvane)
  desktop=/usr/share/applications/$id.desktop
  command=$(sed -n 's/^Exec=//p' "$desktop")
  home=$work/home
  mkdir -p "$home" "$work/run"
  chmod 700 "$work/run"
  # Started as the menu starts it: the entry's command, found on the PATH.
  # A sanitizer build keeps the test run's sanitizer settings.
  if ! (cd "$home" && env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$work/run" \
    ${ASAN_OPTIONS+ASAN_OPTIONS="$ASAN_OPTIONS"} QT_QPA_PLATFORM=offscreen \
    ORVANE_QUIT_AFTER_START=1 timeout 60 sh -c "$command"); then
    fail "the menu entry's command '$command' did not run"
  fi
  calendar=$home/.local/share/Marrowby/Orvane/csystem/cdat.ovd
  [ -s "$calendar" ] || fail "the installed program wrote no calendar into $calendar"

  dpkg --purge orvane >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg --purge failed"; }
  installed=no
  dpkg-query -W orvane >/dev/null 2>&1 && fail "orvane is still known to dpkg"
  while IFS= read -r path; do
    if [ -f "$path" ] || [ -L "$path" ]; then
      fail "$path is left after removing the package"
    fi
  done <<<"$files"
  [ -e /usr/share/orvane ] && fail "/usr/share/orvane is left after removing the package"
  echo "installed, started from the menu entry's command and removed again"
else
  echo "contents checked only: installing needs root on a throwaway system"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "package $deb: all checks passed"
