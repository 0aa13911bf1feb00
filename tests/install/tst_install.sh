#!/usr/bin/env bash
# Installs the build into a temporary prefix and starts the installed program as the desktop menu does: the
# desktop entry's Exec line, in a clean home, by a user who may not write the prefix (as after a system-wide
# install). Clicks "End", which saves and quits, and checks that the settings file went into the user's
# configuration folder and nothing was written beside the program.
#
# Usage: tst_install.sh BUILD_DIR
set -euo pipefail
build=$1
end_x=204 end_y=512 # middle of the start window's "End" button, relative to its client area

work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    chmod -R u+w "$work" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

desktop=$prefix/share/applications/org.rm425t.configtool.desktop
metainfo=$prefix/share/metainfo/org.rm425t.configtool.metainfo.xml
for file in bin/rm425t bin/rm425t-sim share/applications/org.rm425t.configtool.desktop \
    share/metainfo/org.rm425t.configtool.metainfo.xml share/icons/hicolor/48x48/apps/rm425t.png \
    share/icons/hicolor/256x256/apps/rm425t.png; do
    [ -e "$prefix/$file" ] || fail "$file is not installed"
done
[ ! -e "$prefix/bin/rm425t-build-tree.txt" ] || fail "the build tree's marker is installed"
desktop-file-validate "$desktop" || fail "desktop entry"
appstreamcli validate --no-net "$metainfo" >/dev/null || fail "metainfo"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -e "$prefix/share/icons/hicolor/64x64/apps/$icon.png" ] || fail "no icon named $icon"

# The user: as root, a user without rights (root may write anywhere); otherwise ourselves, with the
# program's folder closed to us as a system-wide install would be.
home=$work/home
mkdir -p "$home"
runner=()
if [ "$(id -u)" -eq 0 ]; then
    chmod 755 "$work"
    chown 65534:65534 "$home"
    runner=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
else
    chmod a-w "$prefix/bin"
fi

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
display=:$(head -n 1 "$work/display")
[ "$display" != ":" ] || fail "Xvfb did not start"

exec_line=$(sed -n 's/^Exec=//p' "$desktop")
# A sanitizer build's options (its leak suppressions among them) go along; nothing else of ours does.
sanitizer_env=()
for name in ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS; do
    [ -n "${!name:-}" ] && sanitizer_env+=("$name=${!name}")
done
(cd "$home" && exec env -i HOME="$home" PATH="$prefix/bin:/usr/bin:/bin" DISPLAY="$display" LANG=C.UTF-8 \
    "${sanitizer_env[@]}" "${runner[@]}" sh -c "exec $exec_line") >"$work/app.log" 2>&1 &
app_pid=$!

window=$(DISPLAY=$display timeout 30 xdotool search --sync --name '^GSM$' | head -n 1) \
    || { cat "$work/app.log" >&2; fail "the installed program shows no window"; }
DISPLAY=$display xdotool mousemove --window "$window" $end_x $end_y click 1
for _ in $(seq 200); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app_pid" 2>/dev/null; then
    cat "$work/app.log" >&2
    fail "the program did not end after End was clicked"
fi
wait "$app_pid" || { status=$?; cat "$work/app.log" >&2; fail "the program ended with status $status"; }
app_pid=

settings=$home/.config/RM425T/ZERiruze.ini
[ -f "$settings" ] || { find "$work" -name 'ZERiruze.ini' >&2; fail "no settings file in $settings"; }
grep -q '^\[frm1\]' "$settings" || fail "the settings file holds no pages"
[ -z "$(find "$prefix" -name 'ZERiruze.ini')" ] || fail "settings were written into the installed tree"
echo "PASS: settings saved to ~/.config/RM425T/ZERiruze.ini by the installed program"
