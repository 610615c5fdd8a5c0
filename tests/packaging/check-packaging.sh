#!/usr/bin/env bash
# One check of the desktop integration or of the Debian package; the first argument
# names it. Prints what it found and fails with the validator's own words.
set -euo pipefail
check=$1 packaging=$2 package_dir=$3 calc=$4 source=$5 build=$6

fail() { echo "FAIL: $*" >&2; exit 1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
deb() { ls "$package_dir"/tormel_*.deb 2>/dev/null | head -n 1; }

case $check in
desktop_entry)
    desktop-file-validate "$packaging/ru.tormel.Tormel.desktop"
    grep -qx 'Exec=tormel %f' "$packaging/ru.tormel.Tormel.desktop" || fail "Exec"
    grep -qx 'MimeType=application/x-tormel-feed+json;' "$packaging/ru.tormel.Tormel.desktop" \
        || fail "MimeType"
    ;;
appstream)
    appstreamcli validate --no-net --explain "$build/packaging/ru.tormel.Tormel.metainfo.xml"
    ;;
mime_type)
    # No schema of the format ships with Debian: the file must be well-formed, and the
    # database the desktop reads must give the feed files our type.
    xmllint --noout "$packaging/tormel-mime.xml"
    mkdir -p "$scratch/mime/packages"
    cp "$packaging/tormel-mime.xml" "$scratch/mime/packages/"
    XDG_DATA_HOME=$scratch XDG_DATA_DIRS=$scratch update-mime-database "$scratch/mime" 2>&1 | (! grep .) || fail "update-mime-database complained"
    grep -qx '60:application/x-tormel-feed+json:\*.tormel.json' "$scratch/mime/globs2" \
        || fail "glob *.tormel.json missing from globs2"
    grep -qx 'application/x-tormel-feed+json application/json' "$scratch/mime/subclasses" \
        || fail "not a subclass of application/json"
    ;;
manual_pages)
    for page in tormel tormel-calc; do
        out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$build/packaging/man/$page.1" 2>"$scratch/err")
        [ -s "$scratch/err" ] && { cat "$scratch/err" >&2; fail "$page.1 renders with warnings"; }
        grep -q "$page" <<<"$out" || fail "$page.1 renders empty"
    done
    # Every option the calculator's own help lists is in its manual page.
    page=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -E UTF-8 -l "$build/packaging/man/tormel-calc.1" 2>/dev/null)
    for option in $("$calc" --help | grep -o -E '(^|[[:space:][])--[a-z]+' | tr -d ' [' | sort -u); do
        grep -q -- "$option" <<<"$page" || fail "tormel-calc.1 does not describe $option"
        grep -q -- "$option" "$packaging/completion/tormel-calc" || fail "completion lacks $option"
    done
    ;;
completion)
    bash -n "$packaging/completion/tormel-calc"
    # Completing "--lo" and the value of --locale, as the shell would.
    result=$(bash -c '
        source /usr/share/bash-completion/bash_completion
        source "$1"
        COMP_WORDS=(tormel-calc --lo); COMP_CWORD=1; COMP_LINE="tormel-calc --lo"; COMP_POINT=${#COMP_LINE}
        _tormel_calc; echo "${COMPREPLY[*]}"
        COMP_WORDS=(tormel-calc --locale r); COMP_CWORD=2; COMP_LINE="tormel-calc --locale r"; COMP_POINT=${#COMP_LINE}
        _tormel_calc; echo "${COMPREPLY[*]}"' _ "$packaging/completion/tormel-calc")
    [ "$result" = $'--locale\nru_RU' ] || fail "completion gave: $result"
    ;;
build)
    rm -rf "$package_dir"
    (cd "$build" && cpack -G DEB -B "$package_dir") >"$scratch/cpack.log" 2>&1 \
        || { cat "$scratch/cpack.log" >&2; fail "cpack"; }
    [ -n "$(deb)" ] || fail "no package in $package_dir"
    echo "built $(deb)"
    ;;
contents)
    file=$(deb)
    dpkg-deb -c "$file" | awk '$1 ~ /^-/ {print $6}' | sed 's|^\./|/|' | sort >"$scratch/files"
    sort "$source/tests/packaging/expected-files.txt" >"$scratch/expected"
    missing=$(comm -13 "$scratch/files" "$scratch/expected")
    [ -z "$missing" ] || fail "missing from the package: $missing"
    # The UNO module's folder follows the multiarch library folder of the build.
    grep -q -E '^/usr/lib/([a-z0-9_]+-linux-gnu/)?tormel/libtormel_uno\.so$' "$scratch/files" \
        || fail "the UNO module is missing"
    grep -q -E '/(tests?|build)/|\.a$|/include/' "$scratch/files" && fail "build files in the package"
    field() { dpkg-deb -f "$file" "$1"; }
    [ "$(field Package)" = tormel ] || fail "Package"
    [ "$(field Version)" = 2.8.1 ] || fail "Version"
    depends=$(field Depends)
    for dep in libc6 libstdc++6 libqt6core6 libqt6widgets6 libxlsxwriter qt6-qpa-plugins qt6-translations-l10n fonts-dejavu-core libqt6gui6; do
        grep -q "$dep" <<<"$depends" || fail "Depends lacks $dep: $depends"
    done
    grep -q -E 'libreoffice|\bure\b' <<<"$depends" && fail "the office must be recommended, not required: $depends"
    grep -q libreoffice-calc <<<"$(field Recommends)" || fail "Recommends"
    [ -n "$(field Maintainer)" ] && [ -n "$(field Description)" ] || fail "Maintainer or Description"
    echo "Depends: $depends"
    ;;
unpacked)
    file=$(deb)
    dpkg-deb -x "$file" "$scratch/root"
    root=$scratch/root/usr
    [ "$("$root/bin/tormel-calc" --version)" = "tormel-calc 2.8.1" ] || fail "--version"
    "$root/bin/tormel-calc" --locale ru_RU "$root/share/doc/tormel/examples/feeder.json" >"$scratch/unpacked.json"
    "$calc" --locale ru_RU "$source/examples/feeder.json" >"$scratch/built.json"
    cmp "$scratch/unpacked.json" "$scratch/built.json" || fail "the unpacked calculator computes differently"
    # The desktop program starts from the unpacked tree and finds its help file there.
    mkdir -m 700 "$scratch/runtime"
    QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$scratch/runtime TORMEL_EXIT_AFTER_SHOW=1 \
        timeout 60 "$root/bin/tormel" || fail "tormel did not start"
    # ... and with a feed file, as the file manager starts it.
    QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$scratch/runtime TORMEL_EXIT_AFTER_SHOW=1 \
        timeout 60 "$root/bin/tormel" "$root/share/doc/tormel/examples/tp-400.tormel.json" \
        || fail "tormel did not start with a feed file"
    "$root/bin/tormel-calc" "$root/share/doc/tormel/examples/tp-400.tormel.json" >/dev/null \
        || fail "the unpacked calculator does not compute the example feed file"
    [ -f "$root/share/tormel/help.hlp" ] || fail "help file"
    ;;
lintian)
    lintian --no-tag-display-limit --info "$(deb)" >"$scratch/lintian" 2>&1 || true
    cat "$scratch/lintian"
    grep -q '^E: ' "$scratch/lintian" && fail "lintian reports errors"
    ;;
*)
    fail "unknown check $check"
    ;;
esac
echo "ok: $check"
