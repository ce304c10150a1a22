#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and uses the installed programs as
# a user of a shared system would: from another folder, with the install root
# read-only and a home of their own. Then checks the desktop files with the
# validators that are installed.
#   install_test.sh BUILD_DIR VERSION
set -uo pipefail

build=$1
version=$2
prefix=/usr
work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
dest=$work/dest
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

DESTDIR=$dest cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; echo "FAIL: cmake --install"; exit 1; }
root=$dest$prefix
inst=$root/lib/tarvane-cps

# Every file the programs need, in the layout they expect.
for f in bin/tarvane-cps bin/tarvane-cli lib/tarvane-cps/Version.ini lib/tarvane-cps/language/mysetup.ini \
         lib/tarvane-cps/V100/tarvane-cps lib/tarvane-cps/V100/tarvane-cli lib/tarvane-cps/V100/Setting.ini \
         lib/tarvane-cps/V100/language/english.ini lib/tarvane-cps/V100/language/chinese.ini \
         lib/tarvane-cps/V100/guide/en.html lib/tarvane-cps/V100/guide/zh_CN.html lib/tarvane-cps/V100/guide/port-dialog.png \
         lib/tarvane-cps/V100/Init/Tarvane_0_NEW.dat lib/tarvane-cps/V100/Init/Tarvane_0.dat \
         lib/tarvane-cps/V100/Init/Tarvane_1_NEW.dat lib/tarvane-cps/V100/Init/Tarvane_2_NEW.dat \
         share/applications/org.tarvane.cps.desktop share/metainfo/org.tarvane.cps.metainfo.xml \
         share/mime/packages/tarvane-cps.xml share/icons/hicolor/scalable/apps/org.tarvane.cps.svg \
         share/icons/hicolor/48x48/apps/org.tarvane.cps.png share/man/man1/tarvane-cps.1 \
         share/man/man1/tarvane-cli.1 lib/udev/rules.d/70-tarvane-cps.rules share/doc/tarvane-cps/copyright; do
    [ -e "$root/$f" ] || fail "not installed: $f"
done
# The commands are relative links, so the tree works wherever DESTDIR put it.
for p in tarvane-cps tarvane-cli; do
    [ "$(readlink "$root/bin/$p")" = "../lib/tarvane-cps/V100/$p" ] || fail "bin/$p is not a relative link into the install root"
done
# The shipped setup, not one a test run in the build tree has changed.
grep -q '^IsFirstRun=1' "$inst/language/mysetup.ini" || fail "installed mysetup.ini is not the shipped one"
grep -q '^24002=Version$' "$inst/V100/language/english.ini" || fail "a version is typed into english.ini"

# A user who cannot write the install root, in a folder of their own.
chmod -R a-w "$inst"
home=$work/home
run_dir=$work/elsewhere
mkdir -p "$home" "$run_dir"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    # root writes anywhere: run as nobody so the read-only root is real.
    chown -R 65534:65534 "$home" "$run_dir"
    chmod a+rx "$work"
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
fi
snapshot() { (cd "$inst" && find . -printf '%p %s %T@\n' | sort); }
before=$(snapshot)

# run NAME EXPECTED_STATUS COMMAND...: output in $out/$err; no display anywhere.
run() {
    local name=$1 expect=$2
    shift 2
    (cd "$run_dir" && env -i HOME="$home" PATH="$root/bin:/usr/bin:/bin" LANG=C.UTF-8 \
        "${as_user[@]}" "$@") >"$work/out" 2>"$work/err"
    local status=$?
    out=$(cat "$work/out")
    err=$(cat "$work/err")
    [ "$status" -eq "$expect" ] || fail "$name: status $status, expected $expect; stderr: $err"
}

run "cps --version" 0 tarvane-cps --version
[ "$out" = "tarvane-cps $version" ] || fail "tarvane-cps --version printed '$out'"
run "cps --help" 0 tarvane-cps --help
[[ "$out" == "usage: tarvane-cps [FILE.dat]"* ]] || fail "tarvane-cps --help printed '$out'"
run "cps wrong option" 2 tarvane-cps --frobnicate
[[ "$err" == "--frobnicate: not an option of tarvane-cps"* ]] || fail "tarvane-cps --frobnicate said '$err'"
run "cli --version" 0 tarvane-cli --version
[ "$out" = "tarvane-cli $version" ] || fail "tarvane-cli --version printed '$out'"
run "cli --help" 0 tarvane-cli --help
for c in read write info show new export import diff simulate; do
    grep -q "^  $c " <<<"$out" || fail "tarvane-cli --help does not list $c"
done
for t in CB HF HAM; do
    run "new $t" 0 tarvane-cli new --type "$t" --out "$t.dat"
    [ "$(stat -c %s "$run_dir/$t.dat" 2>/dev/null)" = 25919 ] || fail "new --type $t did not write a 25919-byte file"
    run "show $t" 0 tarvane-cli show "$t.dat"
    grep -q "^Model type: $t$" <<<"$out" || fail "show $t.dat: no model type line"
done
# show prints names from the installed language files, not raw numbers.
run "show names" 0 tarvane-cli show HAM.dat
grep -Eq '^ +6  A +6  29\.62000 +-100 kHz +FM +Low ' <<<"$out" || fail "show: repeater channel not by name: $(grep -m1 '^ *6 ' <<<"$out")"
grep -q '^Page 1 P1: MOD$' <<<"$out" || fail "show: key functions not by name"
grep -q '^Time-out timer: ' <<<"$out" || fail "show: option captions missing"

# The file commands leave the setup alone; a radio command keeps its settings in the
# user's configuration folder, and the install root is untouched.
[ ! -e "$home/.config/tarvane-cps/mysetup.ini" ] || fail "a file command wrote a user setup file"
run "info without a cable" 1 tarvane-cli info --port "$work/no-such-port"
[ -f "$home/.config/tarvane-cps/mysetup.ini" ] || fail "no user setup file under ~/.config/tarvane-cps"
[ "$before" = "$(snapshot)" ] || fail "the read-only install root changed"

# Desktop files, where the validators are installed.
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$root/share/applications/org.tarvane.cps.desktop" || fail "desktop-file-validate"
else
    echo "desktop-file-validate not installed: skipped"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$root/share/metainfo/org.tarvane.cps.metainfo.xml" >"$work/as.log" 2>&1 ||
        { cat "$work/as.log"; fail "appstreamcli validate"; }
    grep -q "release version=\"$version\"" "$root/share/metainfo/org.tarvane.cps.metainfo.xml" ||
        fail "metainfo release is not the build's version"
else
    echo "appstreamcli not installed: skipped"
fi
# The MIME type knows a codeplug by its content, and nothing else by ".dat".
if command -v update-mime-database >/dev/null && command -v gio >/dev/null; then
    mkdir -p "$work/mime/mime/packages"
    cp "$root/share/mime/packages/tarvane-cps.xml" "$work/mime/mime/packages/"
    update-mime-database "$work/mime/mime" >/dev/null 2>&1 || fail "update-mime-database"
    printf 'not a codeplug at all' >"$run_dir/other.dat"
    type_of() {
        XDG_DATA_DIRS="$work/mime:/usr/share" XDG_DATA_HOME="$work/none" gio info -a standard::content-type "$1" |
            sed -n 's/^ *standard::content-type: //p'
    }
    [ "$(type_of "$run_dir/CB.dat")" = application/x-tarvane-codeplug ] || fail "CB.dat is $(type_of "$run_dir/CB.dat")"
    [ "$(type_of "$run_dir/other.dat")" != application/x-tarvane-codeplug ] || fail "other.dat taken for a codeplug"
else
    echo "update-mime-database or gio not installed: MIME check skipped"
fi
if command -v man >/dev/null; then
    for page in tarvane-cps tarvane-cli; do
        warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/share/man/man1/$page.1" 2>&1 >/dev/null)
        [ -z "$warnings" ] || fail "man $page: $warnings"
    done
fi

chmod -R u+w "$inst"
if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "install test passed"
