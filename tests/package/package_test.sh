#!/bin/bash
# Builds the Debian package from a build tree, checks what it holds and what
# it depends on, then runs kestrel-cli from the unpacked package. Nothing is
# installed: the package is only unpacked into a temporary folder.
#
# Usage: package_test.sh BUILD_DIR
set -u

build_dir=$1
work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The package goes to the temporary folder; cpack stages its files there too,
# so the build tree keeps no trace of the run.
if ! cpack --config "$build_dir/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    echo "FAIL: cpack"
    exit 1
fi
shopt -s nullglob
debs=("$work"/out/*.deb)
if [ ${#debs[@]} -ne 1 ]; then
    echo "FAIL: expected one .deb, found ${#debs[@]}"
    exit 1
fi
deb=${debs[0]}

# Every file the package must hold, with its mode; anything else in it is a
# stray (a test program, a library, a header).
expected_files=(
    "-rwxr-xr-x ./usr/bin/kestrel"
    "-rwxr-xr-x ./usr/bin/kestrel-cli"
    "-rwxr-xr-x ./usr/bin/kestrel-send"
    "-rw-r--r-- ./usr/lib/kestrel/kestrel-qt.so"
    "-rw-r--r-- ./usr/share/applications/kestrel.desktop"
    "-rw-r--r-- ./usr/share/dbus-1/interfaces/org.plover.Kestrel1.xml"
    "-rw-r--r-- ./usr/share/dbus-1/services/org.plover.Kestrel.service"
    "-rw-r--r-- ./usr/share/icons/hicolor/scalable/apps/kestrel.svg"
    "-rw-r--r-- ./usr/share/kestrel/manual/code-dialog.png"
    "-rw-r--r-- ./usr/share/kestrel/manual/index.html"
    "-rw-r--r-- ./usr/share/kestrel/manual/options.png"
    "-rw-r--r-- ./usr/share/kestrel/manual/window.png"
    "-rw-r--r-- ./usr/share/man/man1/kestrel.1.gz"
    "-rw-r--r-- ./usr/share/man/man1/kestrel-cli.1.gz"
    "-rw-r--r-- ./usr/share/man/man1/kestrel-send.1.gz"
)
# dpkg-deb -c: mode owner size date time path; keep mode and path of files.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $1, $6 }' | sort >"$work/listed"
printf '%s\n' "${expected_files[@]}" | sort >"$work/expected"
if ! diff -u "$work/expected" "$work/listed"; then
    fail "package contents differ from the table (- expected, + in the package)"
fi
if dpkg-deb -c "$deb" | awk '{ print $2 }' | grep -qvx 'root/root'; then
    fail "some files are not owned by root"
fi

# Qt comes from the system's libraries (found by dpkg-shlibdeps), the font
# is named by hand.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
required_depends=(libqt6core6 libqt6gui6 libqt6widgets6 libqt6dbus6 libqt6printsupport6 fonts-ipafont-gothic
                  qt6-translations-l10n libfreetype6 libfontconfig1)
for package in "${required_depends[@]}"; do
    if ! tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//' | grep -qx "$package"; then
        fail "Depends lacks $package"
    fi
done
for field in Maintainer Section Description; do
    [ -n "$(dpkg-deb -f "$deb" "$field")" ] || fail "no $field field"
done

root=$work/root
dpkg-deb -x "$deb" "$root"

# An installed program that looked for libraries beside itself would find
# the build tree's or a stray's instead of the system's.
for program in kestrel kestrel-cli kestrel-send; do
    if readelf -d "$root/usr/bin/$program" | grep -Eq 'RPATH|RUNPATH'; then
        fail "$program carries a library search path: $(readelf -d "$root/usr/bin/$program" | grep -E 'RPATH|RUNPATH')"
    fi
done

for page in kestrel kestrel-cli kestrel-send; do
    file=$root/usr/share/man/man1/$page.1.gz
    if ! gzip -t "$file" 2>/dev/null || ! zcat "$file" | head -1 | grep -q "^\.TH "; then
        fail "$page.1.gz is not a compressed manual page"
    fi
done
grep -qx 'Exec=kestrel' "$root/usr/share/applications/kestrel.desktop" \
    || fail "the desktop entry does not start kestrel"
# The bus starts the installed program, wherever the build's was.
service=$root/usr/share/dbus-1/services/org.plover.Kestrel.service
grep -qx 'Name=org.plover.Kestrel' "$service" || fail "the D-Bus service file names another bus name"
grep -qx 'Exec=/usr/bin/kestrel' "$service" \
    || fail "the D-Bus service file does not start /usr/bin/kestrel: $(grep Exec= "$service")"
xmllint --noout "$root/usr/share/dbus-1/interfaces/org.plover.Kestrel1.xml" 2>/dev/null \
    || ! command -v xmllint >/dev/null || fail "org.plover.Kestrel1.xml is not well-formed XML"
# The manual is whole: every picture it shows is in the package beside it.
manual=$root/usr/share/kestrel/manual/index.html
grep -q '<html lang="ja">' "$manual" || fail "the manual is not the Japanese HTML page"
for picture in $(grep -o 'src="[^"]*"' "$manual" | sed 's/^src="//; s/"$//'); do
    [ -f "$root/usr/share/kestrel/manual/$picture" ] || fail "the manual's picture $picture is missing"
done

# The unpacked kestrel-cli, with the system's Qt only and no display.
cli=$root/usr/bin/kestrel-cli
# Qt makes a runtime folder when none is given; this one goes with the rest.
run() {
    env -u LD_LIBRARY_PATH -u DISPLAY -u WAYLAND_DISPLAY HOME="$work/home" \
        XDG_RUNTIME_DIR="$work/runtime" "$@"
}
mkdir -p "$work/home"
mkdir -m 0700 "$work/runtime"
if ! run "$cli" --help >"$work/help" 2>&1 || ! head -1 "$work/help" | grep -q '^Usage: kestrel-cli'; then
    cat "$work/help"
    fail "kestrel-cli --help"
fi
if run "$cli" --profile "$work/empty.ini" --type jan13 --auto-add 1 --data 490123456789 \
        -o "$work/jan13.bmp" 2>"$work/cli.err"; then
    [ "$(head -c 2 "$work/jan13.bmp")" = "BM" ] || fail "jan13.bmp is not a BMP file"
    if command -v zbarimg >/dev/null; then
        read_back=$(zbarimg --raw -q "$work/jan13.bmp" 2>/dev/null)
        [ "$read_back" = "4901234567894" ] || fail "zbar read '$read_back' from jan13.bmp"
    fi
else
    cat "$work/cli.err"
    fail "kestrel-cli could not write a picture"
fi
[ -e "$work/home/.config/Plover/Kestrel.ini" ] && fail "kestrel-cli wrote the user's profile"
# BMP and PNG without Qt; Qt comes from the package's own module, found
# from the program's folder, for SVG.
if readelf -d "$cli" | grep NEEDED | grep -q Qt; then
    fail "kestrel-cli is linked with Qt"
fi
if ! run "$cli" --profile "$work/empty.ini" --type code39 --check 0 --data KESTREL -o "$work/code39.svg" \
        2>"$work/svg.err" || ! grep -q '<svg' "$work/code39.svg"; then
    cat "$work/svg.err"
    fail "kestrel-cli could not write an SVG picture through its Qt module"
fi

# The unpacked kestrel in a folder its user cannot write, as an installed
# one in /usr/bin: the per-user folder holds a link to it, Main/Path names
# the link, and UM_OUTPUT 1 writes BarCode.bmp beside the link. Root writes
# anywhere, so as root the program runs as nobody.
chmod 0755 "$work"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    # The temporary folder may lie where nobody cannot reach (a TMPDIR in
    # root's home); then the program cannot be run as another user here.
    "${as_user[@]}" test -x "$root/usr/bin/kestrel" 2>/dev/null || as_user=(unusable)
fi
if ! command -v dbus-run-session >/dev/null; then
    echo "dbus-run-session missing: the installed kestrel is not run"
elif [ "${as_user[*]}" = unusable ]; then
    echo "nobody cannot reach $work: the installed kestrel is not run"
else
    chmod 0555 "$root/usr/bin"
    user_home=$work/user-home
    mkdir -m 0700 "$user_home" "$work/user-run"
    if [ ${#as_user[@]} -ne 0 ]; then
        chown 65534:65534 "$user_home" "$work/user-run"
    fi
    cat >"$work/installed_run.sh" <<'SCRIPT'
bin=$1
export HOME=$2 XDG_RUNTIME_DIR=$3 QT_QPA_PLATFORM=offscreen
unset XDG_CONFIG_HOME XDG_DATA_HOME LD_LIBRARY_PATH DISPLAY WAYLAND_DISPLAY
"$bin/kestrel" 2>/dev/null &
program=$!
for _ in $(seq 100); do
    "$bin/kestrel-send" UM_SETTYPE 11 0 >/dev/null 2>&1 && break
    sleep 0.1
done
# A picture size of our own, to know the file for ours.
"$bin/kestrel-send" UM_SETVALUE 0 --low 321 --high 123 >/dev/null
"$bin/kestrel-send" UM_SETVALUE 10 12345 >/dev/null
# UM_OUTPUT 0 encodes the text; UM_OUTPUT 1 saves the bars as they stand.
echo "copy $("$bin/kestrel-send" UM_OUTPUT 0 0)"
echo "save $("$bin/kestrel-send" UM_OUTPUT 1 0)"
kill "$program"
wait "$program"
SCRIPT
    timeout 60 "${as_user[@]}" dbus-run-session -- \
        bash "$work/installed_run.sh" "$root/usr/bin" "$user_home" "$work/user-run" \
        >"$work/installed.out" 2>/dev/null
    program_folder=$user_home/.local/share/Plover/Kestrel
    grep -qx 'save 0' "$work/installed.out" || fail "UM_OUTPUT 1 answered: $(cat "$work/installed.out")"
    [ "$(readlink "$program_folder/kestrel")" = "$root/usr/bin/kestrel" ] \
        || fail "no link to the program in $program_folder"
    grep -qx "Path=$program_folder/kestrel" "$user_home/.config/Plover/Kestrel.ini" 2>/dev/null \
        || fail "Main/Path does not name the link: $(grep Path= "$user_home/.config/Plover/Kestrel.ini" 2>&1)"
    # BMP header: "BM", then the width and height as 32-bit numbers at
    # bytes 18 and 22.
    picture=$program_folder/BarCode.bmp
    if [ "$(head -c 2 "$picture" 2>/dev/null)" != "BM" ] \
        || [ "$(od -An -tu4 -j18 -N8 "$picture" | xargs)" != "321 123" ]; then
        fail "BarCode.bmp beside the link is not the 321 x 123 picture"
    fi
    [ "$(ls "$root/usr/bin")" = "$(printf 'kestrel\nkestrel-cli\nkestrel-send')" ] \
        || fail "something was written beside the installed program"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s)"
    exit 1
fi
echo "package $(basename "$deb") checked"
