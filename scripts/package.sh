#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Klavoset developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the Debian package in build/ (or $BUILD_DIR) with CPack and checks what it installs: the
# command-line tool and our file types always; the window, its desktop entry (with the file types),
# icon and help page as soon as the repository has them; then lintian, the manual pages, the versions,
# the changelog and the AppStream metadata. Fails on any finding. Prints the package's files.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}

rm -f "$build_dir"/klavoset_*.deb
if ! (cd "$build_dir" && cpack -G DEB) >"$build_dir/cpack.log" 2>&1; then
    cat "$build_dir/cpack.log" >&2
    exit 1
fi
deb=$(ls "$build_dir"/klavoset_*.deb)
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print substr($6, 2)}')
failed=0
require() {
    if ! grep -qx -- "$1" <<<"$files"; then
        echo "package: $deb lacks $1" >&2
        failed=1
    fi
}

require /usr/bin/klavoset-cli
require /usr/share/mime/packages/klavoset.xml
mime_types=$(grep -o 'mime-type type="[^"]*"' dist/mime/klavoset.xml | cut -d'"' -f2)

# The file types must be valid for shared-mime-info and claim our extensions; it reports problems on
# stderr without failing.
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/mime/packages"
cp dist/mime/klavoset.xml "$tmp/mime/packages/"
if ! xmllint --noout dist/mime/klavoset.xml || [ -n "$(XDG_DATA_HOME=$tmp update-mime-database "$tmp/mime" 2>&1)" ]; then
    echo "package: shared-mime-info refuses dist/mime/klavoset.xml" >&2
    failed=1
fi
for glob in '*.fls' '*.lay' '*.vkp'; do
    if ! grep -qF ":$glob" "$tmp/mime/globs2"; then
        echo "package: the file types claim no $glob" >&2
        failed=1
    fi
done
# A fullflash is known by its content; an ordinary *.bin keeps its usual type.
if grep -qF ':*.bin' "$tmp/mime/globs2"; then
    echo "package: the file types claim every *.bin" >&2
    failed=1
fi
if ! grep -aq 'application/x-siemens-fullflash' "$tmp/mime/magic"; then
    echo "package: the fullflash type has no content rule" >&2
    failed=1
fi

if [ -x "$build_dir/bin/klavoset" ]; then
    require /usr/bin/klavoset
fi
for desktop in $(git ls-files '*.desktop'); do
    require "/usr/share/applications/$(basename "$desktop")"
    desktop-file-validate "$desktop" || failed=1
    # It opens fullflash images and layout files; patches are only written.
    for type in $mime_types; do
        offered=0
        grep -q "^MimeType=.*$type;" "$desktop" && offered=1
        wanted=1
        [ "$type" = text/x-vkp-patch ] && wanted=0
        if [ "$offered" != "$wanted" ]; then
            echo "package: $desktop offers $type wrongly (offered: $offered)" >&2
            failed=1
        fi
    done
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    if [ -n "$icon" ] && ! grep -qE "^/usr/share/(icons/.*|pixmaps)/$icon\.(png|svg|xpm)$" <<<"$files"; then
        echo "package: no icon $icon for $desktop" >&2
        failed=1
    fi
done
for page in $(git ls-files '*Klavoset.htm'); do
    if ! grep -q "/$(basename "$page")\$" <<<"$files"; then
        echo "package: lacks the help page $(basename "$page")" >&2
        failed=1
    fi
done

# The packaged tool runs from where the package puts it.
root="$tmp/root"
dpkg-deb -x "$deb" "$root"
"$root/usr/bin/klavoset-cli" firmware >/dev/null || failed=1

# What a distributor checks. lintian: no error and no warning; the info tags it shows and the one
# override in dist/debian/lintian-overrides are known and kept (README, Package).
if ! lintian --allow-root --fail-on error,warning --display-info "$deb" >"$build_dir/lintian.log" 2>&1; then
    echo "package: lintian finds fault with $deb:" >&2
    failed=1
fi
sed 's/^/  lintian: /' "$build_dir/lintian.log"

# Both programs name the package's version (the window without a display), each has its manual page,
# and the changelog's newest entry is this version.
full_version=$(dpkg-deb -f "$deb" Version)
for program in klavoset-cli klavoset; do
    [ -x "$root/usr/bin/$program" ] || continue
    require "/usr/share/man/man1/$program.1.gz"
    said=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/$program" --version || true)
    if [ "$said" != "$program ${full_version%-*}" ]; then
        echo "package: $program --version says '$said', the package is $full_version" >&2
        failed=1
    fi
done
require /usr/share/doc/klavoset/copyright
require /usr/share/doc/klavoset/changelog.Debian.gz
changelog_version=$(zcat "$root/usr/share/doc/klavoset/changelog.Debian.gz" | dpkg-parsechangelog -l - -S Version)
if [ "$changelog_version" != "$full_version" ]; then
    echo "package: the changelog's newest entry is $changelog_version, the package $full_version" >&2
    failed=1
fi

# The AppStream metadata software centres read.
for metainfo in $(git ls-files '*.metainfo.xml'); do
    require "/usr/share/metainfo/$(basename "$metainfo")"
    appstreamcli validate --no-net --explain "$metainfo" >"$tmp/appstream.log" 2>&1 || {
        cat "$tmp/appstream.log" >&2
        failed=1
    }
done

echo "package: $deb"
sed 's/^/  /' <<<"$files"
exit "$failed"
