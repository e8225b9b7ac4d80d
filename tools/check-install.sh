#!/usr/bin/env bash
# The Debian package as a player gets it: builds build/velmora_*.deb, checks it with lintian,
# unpacks it into a fresh root (the same files apt puts under /usr), validates the desktop entry
# and the metainfo, then starts the installed game under Xvfb as a user who is not root, lets it
# reach the main menu and ends it with SIGTERM, as the window's close button does. It passes
# when the game exits with status 0, its log in the user's ~/.local/share/velmora says it shut
# down cleanly, and nothing was written into the installed tree. Needs root (useradd, runuser).
# Usage: tools/check-install.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
user=velmora-check

work=$(mktemp -d "${TMPDIR:-/tmp}/velmora-install-XXXXXX")
chmod 755 "$work"  # the player may run the game from it, never write in it
xvfb=""
cleanup() {
  if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi
  if id "$user" >/dev/null 2>&1; then userdel -r "$user" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "check-install: $*" >&2; exit 1; }

echo "--- package"
cmake --build "$build" --target velmora velmora-ride velmora-export compressed_pages
rm -f "$build"/velmora_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/velmora_*.deb)
dpkg-deb -f "$deb" Depends | grep -q "libsdl2" || fail "the package's dependencies were not taken from the binaries"
lintian --fail-on error,warning "$deb"

echo "--- unpacked into $work/root"
root="$work/root"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/velmora.desktop"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
for program in velmora velmora-ride velmora-export; do
  [ "$("$root/usr/bin/$program" --version)" = "$program $(dpkg-deb -f "$deb" Version)" ] || fail "$program --version"
done
find "$root" -printf '%p %s %T@\n' | sort >"$work/before"

echo "--- the installed game, as $user"
useradd --create-home "$user"
home=$(getent passwd "$user" | cut -d: -f6)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
display=":$(cat "$work/display")"
pidfile="$work/pid"
touch "$pidfile" && chmod 666 "$pidfile"
runuser -u "$user" -- env -i HOME="$home" DISPLAY="$display" PATH=/usr/bin:/bin \
  sh -c 'echo $$ >"$0"; exec "$1"' "$pidfile" "$root/usr/bin/velmora" &
runner=$!
log="$home/.local/share/velmora/System.log"
for _ in $(seq 300); do
  grep -q "Application activated!" "$log" 2>/dev/null && break
  kill -0 "$runner" 2>/dev/null || break
  sleep 0.1
done
grep -q "Application activated!" "$log" 2>/dev/null || fail "the game did not reach its menu; log: $(cat "$log" 2>/dev/null)"
sleep 1  # a few frames of the main menu
kill -TERM "$(cat "$pidfile")"
status=0
wait "$runner" || status=$?
[ "$status" -eq 0 ] || fail "the game ended with status $status"
grep -q -- "------shutdown ok------" "$log" || fail "no clean shutdown in $log"
grep -q "ERROR!" "$log" && fail "errors in $log"
grep -q "Data folder:\\\\usr\\\\share\\\\velmora\|Data folder:.*root\\\\usr\\\\share\\\\velmora" "$log" || fail "the shipped data was not read from the install"
[ -d "$home/.local/share/velmora/riders" ] || fail "no riders folder for the player's own riders"
find "$root" -printf '%p %s %T@\n' | sort >"$work/after"
diff "$work/before" "$work/after" || fail "the game wrote into the installed tree"
echo "check-install: the installed game ran as $user, exited cleanly and wrote only into $home/.local/share/velmora"
