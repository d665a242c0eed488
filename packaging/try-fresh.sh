#!/usr/bin/env bash
# Tries the Drivolex package on a fresh Debian 12 machine: a minimal bookworm made
# with debootstrap, where nothing but the package's own dependencies is installed.
# There it installs the package with apt-get, checks the installed files, starts the
# program on a virtual display and looks for its window, then removes the package.
# Prints a summary with the time each step took and exits non-zero on a problem.
#
# Usage: packaging/try-fresh.sh [--reuse] [--keep] [PACKAGE.deb]
#   PACKAGE.deb  the package to try; without it, packaging/build-deb.sh builds one
#   --reuse      use the bookworm made by an earlier run instead of a new one
#   --keep       leave the machine's folder in place for a look around
# Needs root (debootstrap and chroot) and http://deb.debian.org.
set -euo pipefail

mirror=http://deb.debian.org/debian
suite=bookworm
reuse=false
keep=false
deb=
for arg in "$@"; do
    case "$arg" in
        --reuse) reuse=true ;;
        --keep) keep=true ;;
        -h | --help)
            sed -n '2,12s/^# \{0,1\}//p' "$0"
            exit 0
            ;;
        -*)
            echo "try-fresh: unknown option $arg" >&2
            exit 2
            ;;
        *) deb=$(realpath -m "$arg") ;;
    esac
done
cd "$(dirname "$0")/.."
[ "$(id -u)" -eq 0 ] || { echo "try-fresh: run as root (debootstrap and chroot need it)" >&2; exit 1; }

# The pristine bookworm stays in "base"; every run works on a copy of it in "root",
# so a reused machine is as fresh as a new one.
top=${TMPDIR:-/tmp}/drivolex-fresh-$suite
base=$top/base
root=$top/root
finished=$top/base.finished

problems=0
problem() { echo "try-fresh: $*" >&2; problems=$((problems + 1)); }
summary=()
step_start=0
start() { step_start=$(date +%s.%N); echo "try-fresh: $*..." >&2; }
# Records how long the step took for the summary.
took() {
    summary+=("$(awk -v a="$step_start" -v b="$(date +%s.%N)" -v s="$1" \
        'BEGIN { printf "%-28s %6.1f s", s, b - a }')")
}

in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
    DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8 "$@"; }

# Ends what is still running inside the machine (a stray X server, say), then
# unmounts its file systems; only then may its folder go.
release_root() {
    local pid mnt
    for pid in /proc/[0-9]*; do
        if [ "$(readlink "$pid/root" 2>/dev/null)" = "$root" ]; then
            kill -9 "${pid#/proc/}" 2>/dev/null || true
        fi
    done
    for mnt in "$root/dev/pts" "$root/proc"; do
        if mountpoint -q "$mnt"; then umount "$mnt" || umount -l "$mnt"; fi
    done
}
remove_root() {
    release_root
    if grep -qF " $root/" /proc/mounts; then
        echo "try-fresh: something is still mounted under $root; leaving it" >&2
        return 1
    fi
    rm -rf "$root"
}
cleanup() {
    if $keep; then release_root; else remove_root; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# 1. The tools and the package.
if ! command -v debootstrap >/dev/null; then
    start "installing debootstrap"
    apt-get install -y debootstrap >/dev/null
    took "install debootstrap"
fi
if [ -z "$deb" ]; then
    start "building the package"
    deb=$(bash packaging/build-deb.sh | tail -n 1)
    took "build the package"
fi
[ -f "$deb" ] || { echo "try-fresh: no package at $deb" >&2; exit 1; }

# 2. The fresh machine.
if $reuse && [ -f "$finished" ] && [ -d "$base" ]; then
    echo "try-fresh: reusing the bookworm in $base" >&2
else
    start "making a minimal $suite in $base"
    rm -f "$finished"
    rm -rf "$base"
    mkdir -p "$top"
    debootstrap --variant=minbase "$suite" "$base" "$mirror" >"$top/debootstrap.log" 2>&1 || {
        tail -n 20 "$top/debootstrap.log" >&2
        echo "try-fresh: debootstrap failed (log: $top/debootstrap.log)" >&2
        exit 1
    }
    took "debootstrap"
    touch "$finished"
fi
remove_root
start "copying the machine to $root"
cp -a "$base" "$root"
took "copy the machine"

# A machine as the installer leaves it: the updates and security archives besides
# the release, a name server, and no services started by packages.
cat >"$root/etc/apt/sources.list" <<EOF
deb $mirror $suite main
deb $mirror $suite-updates main
deb ${mirror%/debian}/debian-security $suite-security main
EOF
cp /etc/resolv.conf "$root/etc/resolv.conf"
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod +x "$root/usr/sbin/policy-rc.d"
mount -t proc proc "$root/proc"
mount -t devpts -o newinstance,ptmxmode=0666 devpts "$root/dev/pts"

# 3. The package, with nothing but what it depends on: recommended packages may be
# switched off on a user's machine, so the package's Depends alone must be enough.
start "installing $(basename "$deb")"
cp "$deb" "$root/tmp/"
log=$top/install.log
if ! { in_root apt-get update &&
    in_root apt-get install -y --no-install-recommends "./tmp/$(basename "$deb")"; } >"$log" 2>&1; then
    tail -n 30 "$log" >&2
    echo "try-fresh: the package did not install on a fresh $suite (log: $log)" >&2
    exit 1
fi
took "install the package"
installed=$(in_root dpkg -l | grep -c '^ii')
echo "try-fresh: $installed packages on the machine with drivolex" >&2

for f in /usr/bin/drivolex /usr/bin/drivolex-cli \
    /usr/share/man/man1/drivolex-cli.1.gz \
    /usr/share/applications/drivolex.desktop \
    /usr/share/icons/hicolor/scalable/apps/drivolex.svg \
    /usr/share/icons/hicolor/48x48/apps/drivolex.png \
    /usr/share/drivolex/manual/index.md \
    /usr/share/doc/drivolex/copyright \
    /usr/share/man/man1/drivolex.1.gz; do
    [ -s "$root$f" ] || problem "$f is missing or empty"
done
# Every picture the manual shows is there beside it.
manual=$root/usr/share/drivolex/manual
if [ -f "$manual/index.md" ]; then
    pictures=$(grep -o '!\[[^]]*\]([^)]*)' "$manual/index.md" | sed 's/.*(\(.*\))/\1/' | sort -u)
    [ -n "$pictures" ] || problem "the manual shows no pictures"
    for picture in $pictures; do
        [ -s "$manual/$picture" ] || problem "the manual's picture $picture is missing"
    done
fi
missing=$(in_root sh -c 'ldd /usr/bin/drivolex /usr/bin/drivolex-cli /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqxcb.so' |
    grep 'not found' || true)
[ -z "$missing" ] || problem "libraries missing on a fresh machine: $missing"
# The command line runs without a display: its usage is bad usage, status 2.
cli_status=0
in_root /usr/bin/drivolex-cli >/dev/null 2>&1 || cli_status=$?
[ "$cli_status" = 2 ] || problem "drivolex-cli without arguments exited with $cli_status, not 2"

# 4. Start it on a virtual display; the display and the window lister are test tools
# and not part of the package.
start "installing xvfb, xauth and x11-utils"
if ! in_root apt-get install -y --no-install-recommends xvfb xauth x11-utils >>"$log" 2>&1; then
    tail -n 30 "$log" >&2
    echo "try-fresh: the test tools did not install (log: $log)" >&2
    exit 1
fi
took "install the test tools"

start "starting drivolex under xvfb-run"
# A new user's first start: an empty home and the session's runtime folder.
home=$(in_root mktemp -d /tmp/home.XXXXXX)
runtime=$(in_root mktemp -d /tmp/runtime.XXXXXX)
cat >"$root/tmp/start-drivolex.sh" <<'EOF'
#!/bin/sh
# Runs on the virtual display: the program must stay up and show its main window.
drivolex >"$HOME/drivolex.log" 2>&1 &
pid=$!
sleep 4
if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid"
    echo "drivolex exited early with status $?" >&2
    cat "$HOME/drivolex.log" >&2
    exit 1
fi
status=0
# The main window, not just the 1x1 window Qt keeps for the whole program.
if ! xwininfo -root -tree | grep -q '"Drivolex": ("drivolex" "Drivolex")'; then
    echo "drivolex runs but shows no Drivolex window; the windows are:" >&2
    xwininfo -root -tree | grep '"' >&2
    status=1
fi
kill "$pid"
wait "$pid" 2>/dev/null || true
sed 's/^/  drivolex said: /' "$HOME/drivolex.log" >&2
exit "$status"
EOF
chmod +x "$root/tmp/start-drivolex.sh"
in_root env HOME="$home" XDG_RUNTIME_DIR="$runtime" xvfb-run -a /tmp/start-drivolex.sh || problem "drivolex did not start with its window"
took "start drivolex (4 s wait)"

# 5. Removing the package takes the program away.
start "removing drivolex"
if in_root apt-get remove -y drivolex >>"$log" 2>&1; then
    [ ! -e "$root/usr/bin/drivolex" ] || problem "/usr/bin/drivolex is still there after removal"
    [ ! -e "$root/usr/bin/drivolex-cli" ] || problem "/usr/bin/drivolex-cli is still there after removal"
    [ ! -e "$root/usr/share/applications/drivolex.desktop" ] ||
        problem "the menu entry is still there after removal"
else
    problem "apt-get remove drivolex failed (log: $log)"
fi
took "remove the package"

# 6. The summary.
echo "try-fresh: $(basename "$deb") on a fresh $suite"
printf '  %s\n' "${summary[@]}"
if [ "$problems" -gt 0 ]; then
    echo "try-fresh: $problems problem(s)" >&2
    exit 1
fi
echo "try-fresh: the package installs with its dependencies, starts and removes cleanly"
