#!/usr/bin/env bash
# Checks a built Drivolex package: its name and version, the files a desktop needs
# (program, manual, manual page, menu entry, icons), the copyright and changelog a
# Debian package carries, and that it depends on the runtime packages the program
# uses. Prints each problem and exits non-zero if there is any.
# Usage: packaging/check-deb.sh [PACKAGE.deb]   (default: the one in build-deb)
set -euo pipefail
deb=${1:+$(realpath -m "$1")}
cd "$(dirname "$0")/.."
if [ -z "$deb" ]; then
    debs=(build-deb/drivolex_*.deb)
    deb=${debs[0]}
fi
[ -f "$deb" ] || { echo "check-deb: no package at $deb (run packaging/build-deb.sh)" >&2; exit 1; }

problems=0
problem() { echo "check-deb: $*" >&2; problems=$((problems + 1)); }

field() { dpkg-deb -f "$deb" "$1"; }

[ "$(field Package)" = drivolex ] || problem "package name is '$(field Package)', not drivolex"
version=$(sed -n 's/^project(Drivolex VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ "$(field Version)" = "$version" ] || problem "version is '$(field Version)', the project's is '$version'"

files=$(dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's#^\./#/#')
required=(/usr/bin/drivolex
          /usr/bin/drivolex-cli
          /usr/share/man/man1/drivolex-cli.1.gz
          /usr/share/drivolex/manual/index.md
          /usr/share/applications/drivolex.desktop
          /usr/share/icons/hicolor/scalable/apps/drivolex.svg
          /usr/share/doc/drivolex/copyright
          /usr/share/doc/drivolex/changelog.gz
          /usr/share/man/man1/drivolex.1.gz)
for size in 16 22 24 32 48 64 128 256; do
    required+=("/usr/share/icons/hicolor/${size}x${size}/apps/drivolex.png")
done
for f in "${required[@]}"; do
    grep -qxF "$f" <<<"$files" || problem "missing file $f"
done

# Each dependency by package name, versions and alternatives stripped.
depends=$(field Depends | tr ',|' '\n\n' | sed 's/(.*)//; s/[[:space:]]//g' | grep -v '^$' || true)
for p in libqt6widgets6 libqt6gui6 libqt6printsupport6 libqt6core6 libqt6charts6 qt6-qpa-plugins libsqlite3-0 libcsv3; do
    grep -qxF "$p" <<<"$depends" || problem "Depends lacks $p (it has: $(field Depends))"
done
# Build-time packages have no place on a user's machine.
while read -r p; do
    case "$p" in
        *-dev | libgtest* | libgmock* | cmake* | ninja*) problem "Depends names build package $p" ;;
    esac
done <<<"$depends"

# The menu entry and the manual as installed.
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
dpkg-deb -x "$deb" "$tmp"
desktop="$tmp/usr/share/applications/drivolex.desktop"
if [ -f "$desktop" ]; then
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate "$desktop" || problem "drivolex.desktop does not validate"
    fi
    for key in 'Exec=drivolex' 'Icon=drivolex' 'Name=Drivolex'; do
        grep -qx "$key" "$desktop" || problem "drivolex.desktop lacks $key"
    done
    grep -q '^Categories=.*Office;' "$desktop" || problem "drivolex.desktop is not in the Office category"
fi
[ -s "$tmp/usr/share/drivolex/manual/index.md" ] || problem "the manual is empty"
[ -x "$tmp/usr/bin/drivolex" ] || problem "/usr/bin/drivolex is not executable"
[ -x "$tmp/usr/bin/drivolex-cli" ] || problem "/usr/bin/drivolex-cli is not executable"
doc="$tmp/usr/share/doc/drivolex"
if [ -f "$doc/copyright" ]; then
    grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
        "$doc/copyright" || problem "the copyright file is not in the machine-readable format"
fi
if [ -f "$doc/changelog.gz" ]; then
    if gzip -t "$doc/changelog.gz" 2>/dev/null; then
        # The newest entry names the package's own version.
        newest=$(gzip -dc "$doc/changelog.gz" | sed -n 1p)
        [[ "$newest" == "drivolex ($version) "* ]] ||
            problem "the changelog's newest entry is '$newest', not one for version $version"
    else
        problem "changelog.gz is not a gzip file"
    fi
fi

if [ "$problems" -gt 0 ]; then
    echo "check-deb: $deb has $problems problem(s)" >&2
    exit 1
fi
echo "check-deb: $deb is complete ($(wc -l <<<"$files") entries; Depends: $(field Depends))"
