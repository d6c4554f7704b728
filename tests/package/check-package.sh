#!/bin/bash
# check-package.sh DEB: unpacks the package into a scratch root and checks what a user gets: every file in
# its place, the installed programs answering, the manual pages rendering without warnings, the desktop entry,
# AppStream metadata and completion valid, dependencies computed, and no lintian error.
set -euo pipefail
deb=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() {
    echo "check-package: $*" >&2
    exit 1
}

dpkg-deb -x "$deb" "$root"
version=$(dpkg-deb -f "$deb" Version)
depends=$(dpkg-deb -f "$deb" Depends)

share=$root/usr/share
files=(usr/bin/quorvane usr/bin/quorvane-boardsim usr/share/applications/quorvane.desktop
    usr/share/metainfo/org.quorvane.quorvane.metainfo.xml usr/share/man/man1/quorvane.1.gz
    usr/share/man/man1/quorvane-boardsim.1.gz usr/share/bash-completion/completions/quorvane
    usr/share/doc/quorvane/README.md usr/share/doc/quorvane/changelog.gz usr/share/doc/quorvane/copyright
    usr/share/doc/quorvane/LICENSE usr/share/icons/hicolor/scalable/apps/quorvane.svg)
for size in 16 22 24 32 48 64 128 256; do
    icon=usr/share/icons/hicolor/${size}x$size/apps/quorvane.png
    files+=("$icon")
    [ -f "$root/$icon" ] && file "$root/$icon" | grep -q "PNG image data, $size x $size," ||
        fail "$icon is not a $size x $size PNG"
done
for f in "${files[@]}"; do
    [ -f "$root/$f" ] || fail "the package lacks /$f"
done

# The installed programs, as a user starts them (no display is needed for these).
[ "$("$root/usr/bin/quorvane" --version)" = "quorvane $version" ] || fail "quorvane --version is not $version"
"$root/usr/bin/quorvane" --help | grep -q "quorvane send FILE" || fail "quorvane --help lacks its usage"
"$root/usr/bin/quorvane-boardsim" --help | grep -q "^Usage: quorvane-boardsim " ||
    fail "quorvane-boardsim --help does not name itself"

for page in quorvane quorvane-boardsim; do
    warnings=$(MANWIDTH=80 man --warnings -l "$share/man/man1/$page.1.gz" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man $page warns: $warnings"
done
desktop-file-validate "$share/applications/quorvane.desktop" || fail "desktop-file-validate refuses the desktop entry"
appstreamcli validate --no-net "$share/metainfo/org.quorvane.quorvane.metainfo.xml" >/dev/null ||
    fail "appstreamcli refuses the metainfo file"

zcat "$share/doc/quorvane/changelog.gz" | head -n 1 | grep -q "^quorvane ($version) " ||
    fail "the changelog's latest entry is not $version"
grep -q "Permission is hereby granted" "$share/doc/quorvane/copyright" || fail "copyright lacks the license text"
# Computed from the binaries' libraries, so the Qt, X11 and XTest libraries are there with the C++ runtime.
depended=$(tr ',' '\n' <<<"$depends" | awk '{print $1}')
for library in libc6 libstdc++6 libqt6widgets6 libx11-6 libxtst6; do
    grep -qx "$library" <<<"$depended" || fail "Depends lacks $library: $depends"
done

completions=$(bash -c 'source /usr/share/bash-completion/bash_completion && source "$1" &&
    COMP_WORDS=(quorvane send --type "") COMP_CWORD=3 COMP_LINE="quorvane send --type " COMP_POINT=21 &&
    _quorvane && echo "${COMPREPLY[*]}"' - "$share/bash-completion/completions/quorvane")
[ "$completions" = "loader object hex text" ] || fail "completion of --type gives \"$completions\""

# Lintian's findings are printed for the record (less its remark on running as root).
findings=$(lintian --fail-on error --tag-display-limit 0 "$deb" 2>&1) || fail "lintian reports errors: $findings"
grep -v "^running with root privileges" <<<"$findings" || true

echo "Package $(basename "$deb"): $(stat -c %s "$deb") bytes, installed size $(dpkg-deb -f "$deb" Installed-Size) KiB"
echo "Depends: $depends"
