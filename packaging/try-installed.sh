#!/usr/bin/env bash
# Tries the installed Drivolex package (apt-get install ./drivolex_*.deb first):
# the menu entry validates, every library the program loads belongs to a package
# the drivolex package pulls in, and the program starts under xvfb-run and is
# still running a few seconds later. Exits non-zero on a problem.
set -euo pipefail

problems=0
problem() { echo "try-installed: $*" >&2; problems=$((problems + 1)); }

dpkg-query -W -f='${Status}' drivolex 2>/dev/null | grep -q "install ok installed" || {
    echo "try-installed: the drivolex package is not installed" >&2
    exit 1
}
program=/usr/bin/drivolex

desktop-file-validate /usr/share/applications/drivolex.desktop ||
    problem "the installed drivolex.desktop does not validate"

# What the package pulls in, so that a fresh machine gets the same libraries.
closure=$(apt-cache depends --recurse --installed --no-recommends --no-suggests \
    --no-conflicts --no-breaks --no-replaces --no-enhances drivolex |
    grep -v '^ ' | sed 's/:.*//' | sort -u)
libraries=$(ldd "$program" /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqxcb.so)
grep -q 'not found' <<<"$libraries" && problem "missing libraries: $(grep 'not found' <<<"$libraries")"
owners=()
for lib in $(awk '/=> \// {print $3}' <<<"$libraries" | sort -u); do
    # dpkg may know a library by its link name or by the file it points to.
    owner=$({ dpkg -S "$lib" || dpkg -S "$(realpath "$lib")"; } 2>/dev/null | head -1 | sed 's/:.*//')
    [ -n "$owner" ] || { problem "$lib belongs to no package"; continue; }
    grep -qxF "$owner" <<<"$closure" || problem "$lib comes from $owner, which drivolex does not pull in"
    owners+=("$owner")
done
echo "try-installed: ${#owners[@]} libraries from $(printf '%s\n' "${owners[@]}" | sort -u | wc -l) packages checked"

# Start it on a virtual display; it must still be running after three seconds.
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
if ! HOME="$home" xvfb-run -a bash -c '
    "$0" & pid=$!
    sleep 3
    if kill -0 "$pid" 2>/dev/null; then kill "$pid"; wait "$pid" 2>/dev/null || true; exit 0; fi
    wait "$pid"; echo "drivolex exited early with status $?" >&2; exit 1' "$program"; then
    problem "drivolex did not stay up under xvfb-run"
fi

if [ "$problems" -gt 0 ]; then
    echo "try-installed: $problems problem(s)" >&2
    exit 1
fi
echo "try-installed: drivolex is installed, its menu entry is valid and it starts"
