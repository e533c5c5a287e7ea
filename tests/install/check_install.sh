#!/bin/sh
# Checks the install tree and the Debian package of the program.
#
#   1. `cmake --install --prefix /usr` into a scratch DESTDIR: the binary, the
#      menu entry, the schedule files' MIME type and the hicolor icons are
#      where a Linux desktop finds them, the entry is valid, names the
#      installed binary and icon, passes the file it is opened with (%f) and
#      declares the MIME type; the MIME XML is well-formed, declares *.qvs and
#      builds a MIME database; each PNG really is the size its directory
#      claims.
#   2. `cpack -G DEB`: the file is quorvandel_<version>_<arch>.deb, its control
#      fields are right, Depends names the package of every library the binary
#      links (the Qt 6 ones among them), and it holds the same files as the
#      install tree.
#   3. The packaged binary, unpacked with `dpkg -x`, starts on Qt's offscreen
#      platform and is still running after a few seconds; with no display at
#      all, --version and --help answer in the terminal.
#
# Exit codes: 0 all good, 1 a check failed, 77 a needed tool is missing
# (after the install-tree checks, which need none).
set -u

build_dir= binary= scratch= cmake=cmake cpack=cpack config= version= icon_sizes=
while [ $# -gt 0 ]; do
    case $1 in
        --build-dir) build_dir=$2 ;;
        --binary) binary=$2 ;;
        --scratch) scratch=$2 ;;
        --cmake) cmake=$2 ;;
        --cpack) cpack=$2 ;;
        --config) config=$2 ;;
        --version) version=$2 ;;
        --icon-sizes) icon_sizes=$(printf '%s' "$2" | tr ';' ' ') ;;
        *) echo "check_install.sh: unknown argument $1" >&2; exit 2 ;;
    esac
    shift 2
done
if [ -z "$build_dir" ] || [ -z "$binary" ] || [ -z "$scratch" ] || [ -z "$version" ] || [ -z "$icon_sizes" ]; then
    echo "usage: check_install.sh --build-dir DIR --binary FILE --scratch DIR --version V --icon-sizes 'N...'" \
         "[--cmake CMD] [--cpack CMD] [--config CFG]" >&2
    exit 2
fi

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
pass() {
    echo "ok: $*"
}
# The scratch directory lives in the build tree; refuse anything that looks
# like it could be somewhere else before removing it.
case $scratch in
    /*/*) ;;
    *) echo "check_install.sh: refusing scratch directory '$scratch'" >&2; exit 2 ;;
esac
rm -rf "$scratch"
mkdir -p "$scratch" || exit 1

# Width and height from a PNG's IHDR chunk, as "W H"; empty if the file is
# not a PNG.
png_size() {
    sig=$(od -An -tx1 -N8 "$1" 2>/dev/null | tr -d ' \n')
    [ "$sig" = 89504e470d0a1a0a ] || return 0
    od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%d %d\n", $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }'
}

# The value of KEY in the [Desktop Entry] group of a .desktop file.
desktop_value() {
    awk -v key="$2" '
        /^\[/ { group = $0; next }
        group == "[Desktop Entry]" && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }
    ' "$1"
}

mime_type=application/x-quorvandel-schedule
mime_ns=http://www.freedesktop.org/standards/shared-mime-info

# Checks the shared-mime-info XML $1, naming it $2 in messages: well-formed,
# one type for *.qvs with its comment, and accepted by update-mime-database
# into a scratch database.
check_mime() {
    xml=$1 what=$2
    if command -v xmllint >/dev/null 2>&1; then
        if ! out=$(xmllint --noout "$xml" 2>&1); then
            fail "$what: MIME XML is not well-formed: $out"
            return
        fi
        xpath() { xmllint --xpath "$1" "$xml" 2>/dev/null; }
        ns=$(xpath 'namespace-uri(/*)')
        type=$(xpath "string(/*[local-name()='mime-info']/*[local-name()='mime-type']/@type)")
        glob=$(xpath "string(//*[local-name()='mime-type']/*[local-name()='glob']/@pattern)")
        comment=$(xpath "string(//*[local-name()='mime-type']/*[local-name()='comment'][not(@*)])")
    else
        echo "note: xmllint not found (package libxml2-utils); MIME XML checked by pattern only"
        grep -q "<mime-info xmlns=\"$mime_ns\"" "$xml" && ns=$mime_ns
        type=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$xml" | head -n 1)
        glob=$(sed -n 's/.*<glob pattern="\([^"]*\)".*/\1/p' "$xml" | head -n 1)
        comment=$(sed -n 's/.*<comment>\(.*\)<\/comment>.*/\1/p' "$xml" | head -n 1)
    fi
    [ "$ns" = "$mime_ns" ] || fail "$what: MIME XML is not in the shared-mime-info namespace ('$ns')"
    [ "$type" = "$mime_type" ] || fail "$what: MIME XML declares '$type', not $mime_type"
    [ "$glob" = '*.qvs' ] || fail "$what: MIME XML glob is '$glob', not *.qvs"
    [ "$comment" = 'Quorvandel schedule' ] || fail "$what: MIME XML comment is '$comment'"
    if command -v update-mime-database >/dev/null 2>&1; then
        db=$scratch/mime-$what
        rm -rf "$db"
        mkdir -p "$db/packages" && cp "$xml" "$db/packages/"
        if update-mime-database "$db" >"$db.log" 2>&1 && ! grep -qi -e warning -e error "$db.log" &&
           grep -qx "[0-9]*:$mime_type:\*\.qvs" "$db/globs2" && [ -f "$db/$mime_type.xml" ]; then
            pass "$what: update-mime-database maps *.qvs to $mime_type"
        else
            cat "$db.log"
            fail "$what: update-mime-database did not take the MIME XML"
        fi
    else
        echo "note: update-mime-database not found (package shared-mime-info); MIME database not built"
    fi
    pass "$what: MIME XML checked"
}

# Checks an unpacked tree rooted at $1 (holding usr/...), naming it $2 in
# messages.
check_tree() {
    root=$1 what=$2
    bin=$root/usr/bin/quorvandel
    if [ -f "$bin" ] && [ -x "$bin" ]; then
        magic=$(od -An -c -N4 "$bin" | tr -d ' ')
        if [ "$magic" = 177ELF ]; then pass "$what: usr/bin/quorvandel is an executable ELF file"
        else fail "$what: usr/bin/quorvandel is not an ELF binary"; fi
    else
        fail "$what: usr/bin/quorvandel missing or not executable"
    fi

    desktop=$root/usr/share/applications/quorvandel.desktop
    if [ -f "$desktop" ]; then
        first=$(grep -v -e '^#' -e '^[[:space:]]*$' "$desktop" | head -n 1)
        [ "$first" = "[Desktop Entry]" ] || fail "$what: desktop file does not start with [Desktop Entry] (got '$first')"
        [ "$(desktop_value "$desktop" Type)" = Application ] || fail "$what: desktop Type is not Application"
        [ -n "$(desktop_value "$desktop" Name)" ] || fail "$what: desktop Name is empty"
        [ "$(desktop_value "$desktop" Terminal)" = false ] || fail "$what: desktop Terminal is not false"
        case $(desktop_value "$desktop" Categories) in
            ?*\;) ;;
            *) fail "$what: desktop Categories empty or not ';'-terminated" ;;
        esac
        # Exec must name the installed binary, found on PATH (no absolute path
        # into a build or staging tree).
        exec_cmd=$(desktop_value "$desktop" Exec | awk '{ print $1 }')
        case $exec_cmd in
            */*) fail "$what: desktop Exec uses a path ('$exec_cmd'), not a name on PATH" ;;
            '') fail "$what: desktop Exec is empty" ;;
            *) [ -x "$root/usr/bin/$exec_cmd" ] || fail "$what: desktop Exec '$exec_cmd' is not in usr/bin" ;;
        esac
        # Icon must be a theme name that the hicolor files below provide.
        icon=$(desktop_value "$desktop" Icon)
        case $icon in
            */* | *.png | *.svg | '') fail "$what: desktop Icon '$icon' is not a bare theme icon name" ;;
            *) [ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] ||
                   fail "$what: no hicolor icon named '$icon'" ;;
        esac
        # Opened from a file manager, the entry hands the program the file.
        exec_line=$(desktop_value "$desktop" Exec)
        case " $exec_line " in
            *" %f "*) ;;
            *) fail "$what: desktop Exec '$exec_line' does not pass the file it opens (%f)" ;;
        esac
        case ";$(desktop_value "$desktop" MimeType)" in
            *";$mime_type;"*) ;;
            *) fail "$what: desktop MimeType does not list $mime_type" ;;
        esac
        if command -v desktop-file-validate >/dev/null 2>&1; then
            if out=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$out" ]; then
                pass "$what: desktop-file-validate accepts the desktop file"
            else
                fail "$what: desktop-file-validate: $out"
            fi
        else
            echo "note: desktop-file-validate not found (package desktop-file-utils); key checks only"
        fi
        pass "$what: desktop file checked"
    else
        fail "$what: usr/share/applications/quorvandel.desktop missing"
    fi

    mime=$root/usr/share/mime/packages/quorvandel.xml
    if [ -f "$mime" ]; then
        check_mime "$mime" "$what"
    else
        fail "$what: usr/share/mime/packages/quorvandel.xml missing"
    fi

    for size in $icon_sizes; do
        png=$root/usr/share/icons/hicolor/${size}x${size}/apps/quorvandel.png
        if [ ! -f "$png" ]; then
            fail "$what: hicolor ${size}x${size} icon missing"
            continue
        fi
        got=$(png_size "$png")
        if [ "$got" = "$size $size" ]; then pass "$what: ${size}x${size} icon is a ${size}x${size} PNG"
        else fail "$what: ${size}x${size}/apps/quorvandel.png is '${got:-not a PNG}'"; fi
    done
    svg=$root/usr/share/icons/hicolor/scalable/apps/quorvandel.svg
    if [ -f "$svg" ] && grep -q '<svg' "$svg"; then pass "$what: scalable SVG icon present"
    else fail "$what: hicolor scalable/apps/quorvandel.svg missing or not SVG"; fi

    # Nothing but the program and its desktop data: no headers, static
    # libraries or test programs leaking into the install.
    stray=$(cd "$root" && find . ! -type d | sed 's|^\./||' | grep -v -e '^usr/bin/' -e '^usr/share/' | head -n 5)
    [ -z "$stray" ] || fail "$what: files outside usr/bin and usr/share: $stray"
}

# --- 1. cmake --install ------------------------------------------------------
destdir=$scratch/destdir
if [ ! -f "$binary" ]; then
    fail "the quorvandel target is not built ($binary); build it before this test"
    exit 1
fi
if DESTDIR=$destdir "$cmake" --install "$build_dir" --prefix /usr ${config:+--config "$config"} \
       >"$scratch/install.log" 2>&1; then
    pass "cmake --install --prefix /usr into DESTDIR"
else
    cat "$scratch/install.log"
    fail "cmake --install failed"
    exit 1
fi
check_tree "$destdir" install

if ! command -v dpkg-deb >/dev/null 2>&1 || ! command -v dpkg-shlibdeps >/dev/null 2>&1; then
    echo "SKIP: the package checks need dpkg-deb and dpkg-shlibdeps (package dpkg-dev)"
    [ "$failures" -eq 0 ] || exit 1
    exit 77
fi

# --- 2. cpack -G DEB ---------------------------------------------------------
arch=$(dpkg --print-architecture)
outdir=$scratch/cpack
if "$cpack" -G DEB --config "$build_dir/CPackConfig.cmake" -B "$outdir" ${config:+-C "$config"} \
       >"$scratch/cpack.log" 2>&1; then
    pass "cpack -G DEB"
else
    cat "$scratch/cpack.log"
    fail "cpack -G DEB failed"
    exit 1
fi
deb=$outdir/quorvandel_${version}_${arch}.deb
if [ ! -f "$deb" ]; then
    fail "expected package $deb; cpack wrote: $(ls "$outdir"/*.deb 2>/dev/null)"
    exit 1
fi
pass "package file name $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = quorvandel ] || fail "Package is '$(field Package)', not quorvandel"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)', not $arch"
[ -n "$(field Maintainer)" ] || fail "Maintainer is empty"
[ -n "$(field Description)" ] || fail "Description is empty"
depends=$(field Depends)
echo "Depends: $depends"
# Package names in Depends, one a line, without version constraints.
dep_names=$(printf '%s\n' "$depends" | tr ',|' '\n\n' | sed 's/(.*//; s/:.*//; s/[[:space:]]//g' | grep -v '^$')
has_dep() { printf '%s\n' "$dep_names" | grep -qx "$1"; }
for pkg in libqt6core6 libqt6gui6 libqt6widgets6 libc6 libstdc++6; do
    if has_dep "$pkg"; then pass "Depends has $pkg"; else fail "Depends lacks $pkg"; fi
done

# Every library the binary links directly must come from a package that
# Depends names, or `apt-get install ./quorvandel_*.deb` leaves it missing.
bin=$destdir/usr/bin/quorvandel
if command -v readelf >/dev/null 2>&1; then
    ldd_out=$(ldd "$bin" 2>&1)
    for soname in $(readelf -d "$bin" | sed -n 's/.*(NEEDED).*\[\(.*\)\].*/\1/p'); do
        path=$(printf '%s\n' "$ldd_out" | awk -v so="$soname" '$1 == so && $2 == "=>" { print $3; exit }')
        if [ -z "$path" ] || [ "$path" = "not" ]; then
            fail "$soname does not resolve on this machine"
            continue
        fi
        owner=
        for candidate in "$path" "/usr$path" "${path#/usr}" "$(readlink -f "$path")"; do
            owner=$(dpkg-query -S "$candidate" 2>/dev/null | head -n 1 | sed 's/:.*//; s/,.*//')
            [ -n "$owner" ] && break
        done
        if [ -z "$owner" ]; then
            fail "no installed package owns $path ($soname)"
        elif has_dep "$owner"; then
            pass "$soname comes from $owner, which Depends names"
        else
            fail "$soname comes from $owner, which Depends does not name"
        fi
    done
else
    echo "note: readelf not found; linked libraries not matched against Depends"
fi

# The package's file list: paths under ./usr, the binary executable, all
# owned by root.
dpkg-deb -c "$deb" >"$scratch/contents.txt"
for path in ./usr/bin/quorvandel ./usr/share/applications/quorvandel.desktop \
            ./usr/share/mime/packages/quorvandel.xml ./usr/share/icons/hicolor/scalable/apps/quorvandel.svg; do
    grep -q " $path\$" "$scratch/contents.txt" || fail "package lacks $path"
done
grep -q '^-rwxr-xr-x root/root .* \./usr/bin/quorvandel$' "$scratch/contents.txt" ||
    fail "usr/bin/quorvandel in the package is not -rwxr-xr-x root/root"
not_root=$(grep -v ' root/root ' "$scratch/contents.txt" | head -n 3)
[ -z "$not_root" ] || fail "package entries not owned by root: $not_root"

# Unpacked, the package must hold what `cmake --install` installs.
debroot=$scratch/debroot
dpkg -x "$deb" "$debroot" || { fail "dpkg -x failed"; exit 1; }
check_tree "$debroot" package
(cd "$destdir" && find . ! -type d | sort) >"$scratch/install-files.txt"
(cd "$debroot" && find . ! -type d | sort) >"$scratch/package-files.txt"
if cmp -s "$scratch/install-files.txt" "$scratch/package-files.txt"; then
    pass "package holds the same $(wc -l <"$scratch/package-files.txt") files as the install tree"
else
    fail "package and install tree differ:"
    diff "$scratch/install-files.txt" "$scratch/package-files.txt"
fi
for f in usr/share/applications/quorvandel.desktop usr/share/mime/packages/quorvandel.xml \
         usr/share/icons/hicolor/scalable/apps/quorvandel.svg; do
    cmp -s "$destdir/$f" "$debroot/$f" || fail "$f differs between package and install tree"
done

# --- 3. the packaged binary starts -------------------------------------------
# Still running after the timeout (exit 124 from timeout) means the program
# came up and sat in its event loop; any other exit is a failed start.
runtime_dir=$scratch/xdg-runtime
mkdir -p "$runtime_dir" && chmod 700 "$runtime_dir"
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$runtime_dir \
    timeout --kill-after=5 3 "$debroot/usr/bin/quorvandel" >"$scratch/run.log" 2>&1 </dev/null
status=$?
if [ "$status" -eq 124 ]; then
    pass "packaged binary started and was still running after 3 s"
else
    cat "$scratch/run.log"
    fail "packaged binary exited with status $status within 3 s"
fi

# --version and --help answer in the terminal, with no display to open.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= timeout 10 "$debroot/usr/bin/quorvandel" --version 2>&1)
[ "$out" = "Quorvandel $version" ] && pass "packaged binary --version says '$out'" ||
    fail "packaged binary --version says '$out', not 'Quorvandel $version'"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= timeout 10 "$debroot/usr/bin/quorvandel" --help 2>&1)
case $out in
    *"[FILE]"*) pass "packaged binary --help names the FILE it opens" ;;
    *) fail "packaged binary --help: $out" ;;
esac

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all install and package checks passed"
