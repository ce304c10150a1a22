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
         share/icons/hicolor/48x48/apps/org.tarvane.cps.png share/man/man1/tarvane-cps.1.gz \
         share/man/man1/tarvane-cli.1.gz lib/udev/rules.d/70-tarvane-cps.rules share/doc/tarvane-cps/copyright \
         share/doc/tarvane-cps/changelog.gz; do
    [ -e "$root/$f" ] || fail "not installed: $f"
done
# Debian's rules: compressed pages, a changelog whose top entry
# is this version, a machine-readable copyright pointing to the licence Debian
# ships, a maintainer who can be written to.
[[ "$(zcat "$root/share/doc/tarvane-cps/changelog.gz" | head -1)" == "tarvane-cps ($version) "* ]] ||
    fail "the changelog does not start with version $version"
copyright=$root/share/doc/tarvane-cps/copyright
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' "$copyright" &&
    grep -q '"/usr/share/common-licenses/GPL-3"' "$copyright" || fail "copyright is not machine-readable, pointing to GPL-3"
! grep -q 'localhost' "$build/CPackConfig.cmake" || fail "the package maintainer's address is on localhost"
# Hardening: immediate binding always; fortified library calls where optimised.
for p in tarvane-cps tarvane-cli; do
    # Read whole before grep: grep -q leaving early would fail the pipe under pipefail.
    dynamic=$(readelf -d "$inst/V100/$p") symbols=$(nm -D "$inst/V100/$p")
    grep -q 'FLAGS.*\bNOW\b' <<<"$dynamic" || fail "$p is not linked with -z now"
    if grep -q '^CMAKE_BUILD_TYPE:STRING=Release$' "$build/CMakeCache.txt"; then
        grep -q '__[a-z_]*_chk' <<<"$symbols" || fail "$p has no fortified calls"
    fi
done
# The udev rule: the common bridges' product ids, and nothing but ModemManager's flag.
rule=$root/lib/udev/rules.d/70-tarvane-cps.rules
for id in 0403:6001 0403:6015 067b:2303 067b:23a3 067b:23c3 1a86:7523 1a86:5523 1a86:55d3 10c4:ea60 10c4:ea70; do
    grep -Eq "idVendor}==\"${id%:*}\", ATTRS\{idProduct}==\"([0-9a-f|]*\|)?${id#*:}(\|[0-9a-f|]*)?\"" "$rule" ||
        fail "the udev rule misses $id"
done
! grep -Eq 'MODE|GROUP|OWNER|RUN|SYMLINK|TAG' "$rule" || fail "the udev rule sets more than ID_MM_DEVICE_IGNORE"

# Printing and tone playback are modules in the program folder's lib/, loaded when first used.
readelf -d "$inst/V100/lib/libtarvane-print.so" | grep -q 'NEEDED.*Qt6PrintSupport' || fail "no print module"
! readelf -d "$inst/V100/tarvane-cps" | grep -Eq 'NEEDED.*(Qt6PrintSupport|Qt6Multimedia|Qt6Network)' ||
    fail "tarvane-cps links Qt libraries that only printing or tone playback need"
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
# File names are bytes: one that is not UTF-8 is named back as given.
run "cps two files" 2 tarvane-cps a.dat $'b\xff.dat'
[[ "$err" == $'\'b\xff.dat\': only one file can be opened at start'* ]] || fail "tarvane-cps a.dat b\\xff.dat said '$err'"
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
    # Model type 3 is no band; a file cut short is no codeplug either.
    { head -c 7 "$run_dir/CB.dat"; printf '\003'; tail -c +9 "$run_dir/CB.dat"; } >"$run_dir/type3.dat"
    head -c 4000 "$run_dir/CB.dat" >"$run_dir/short.dat"
    type_of() {
        XDG_DATA_DIRS="$work/mime:/usr/share" XDG_DATA_HOME="$work/none" gio info -a standard::content-type "$1" |
            sed -n 's/^ *standard::content-type: //p'
    }
    for f in CB.dat HF.dat HAM.dat; do
        [ "$(type_of "$run_dir/$f")" = application/x-tarvane-codeplug ] || fail "$f is $(type_of "$run_dir/$f")"
    done
    for f in other.dat type3.dat short.dat; do
        [ "$(type_of "$run_dir/$f")" != application/x-tarvane-codeplug ] || fail "$f taken for a codeplug"
    done
else
    echo "update-mime-database or gio not installed: MIME check skipped"
fi
if command -v man >/dev/null; then
    for page in tarvane-cps tarvane-cli; do
        warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
        [ -z "$warnings" ] || fail "man $page: $warnings"
    done
fi

chmod -R u+w "$inst"
# The package itself, where it is made (a Release build) and lintian is installed.
if command -v lintian >/dev/null && grep -q '^CMAKE_BUILD_TYPE:STRING=Release$' "$build/CMakeCache.txt"; then
    (cd "$work" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/deb" >"$work/cpack.log" 2>&1) ||
        { cat "$work/cpack.log"; fail "cpack"; }
    lintian --fail-on error "$work"/deb/*.deb >"$work/lintian.log" 2>&1 || { cat "$work/lintian.log"; fail "lintian"; }
fi
if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "install test passed"
