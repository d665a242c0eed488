#!/usr/bin/env bash
# Takes the manual's pictures of the real program on a virtual X display: builds
# Drivolex and the demonstration database, starts drivolex under xvfb-run with a small
# window manager, drives it from the keyboard as a user would, and saves one PNG of
# each window. As root it installs the Debian packages it needs.
#
# Usage: scripts/screenshots.sh [--scale N] [--dpi N] [--out DIR]
#   --scale N  Qt's scale factor (QT_SCALE_FACTOR), e.g. 2 for a 192-DPI look-alike
#   --dpi N    the fonts' and twips' dots per inch (QT_FONT_DPI and Xvfb -dpi)
#   --out DIR  where the pictures go; default docs/manual/images for a plain run,
#              build-shots/scaleN-dpiN otherwise (those are for looking at, not shipping)
# A plain run also refreshes the picture that README.md shows. Every picture of a plain
# run must stay under 100 KB; the script fails otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scale=1
dpi=96
out=
inner=
while [ $# -gt 0 ]; do
    case $1 in
    --scale) scale=$2; shift 2 ;;
    --dpi) dpi=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    --inner) inner=1; shift ;; # the part that runs on the virtual display
    *) echo "unknown argument: $1" >&2; exit 2 ;;
    esac
done
plain=0
[ "$scale" = 1 ] && [ "$dpi" = 96 ] && plain=1
if [ -z "$out" ]; then
    if [ $plain = 1 ]; then out=docs/manual/images; else out=build-shots/scale$scale-dpi$dpi; fi
fi
max_bytes=$((100 * 1024))

# ---------------------------------------------------------------------------------------
# On the virtual display: start the window manager and the program, take the pictures.
if [ -n "$inner" ]; then
    work=$SHOTS_WORK
    raw=$work/raw
    mkdir -p "$raw" "$out"

    cat >"$work/jwmrc" <<'EOF'
<?xml version="1.0"?>
<JWM>
  <FocusModel>click</FocusModel>
  <Desktops width="1" height="1"/>
  <WindowStyle>
    <Font>DejaVu Sans-9:bold</Font>
    <Width>4</Width>
    <Height>22</Height>
    <Foreground>#202020</Foreground>
    <Background>#c8c8c8</Background>
    <Outline>#808080</Outline>
    <Active>
      <Foreground>#ffffff</Foreground>
      <Background>#3c6ea0</Background>
      <Outline>#203050</Outline>
    </Active>
  </WindowStyle>
</JWM>
EOF
    jwm -f "$work/jwmrc" 2>"$work/jwm.log" &
    wm_pid=$!
    app_pid=
    stop() {
        [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
        kill "$wm_pid" 2>/dev/null || true
    }
    trap stop EXIT
    sleep 1

    # Waits up to ten seconds for a visible window whose title matches; prints its id.
    window() {
        local id i
        for i in $(seq 100); do
            id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -1 || true)
            if [ -n "$id" ]; then
                echo "$id"
                return 0
            fi
            sleep 0.1
        done
        echo "no window titled '$1' appeared" >&2
        return 1
    }
    # Waits until no visible window has the title.
    gone() {
        local i
        for i in $(seq 100); do
            xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
            sleep 0.1
        done
        echo "the window titled '$1' did not close" >&2
        return 1
    }
    # Keys to the focused window, then a moment for the program to answer.
    keys() {
        xdotool key --delay 120 "$@"
        sleep 0.6
    }
    type_text() {
        xdotool type --delay 40 "$1"
        sleep 0.4
    }
    focus() {
        xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowfocus --sync "$1"
        sleep 0.3
    }
    # Fewer colours keep the files small; the windows use few. Each picture is saved
    # at once, so that the manual shows the earlier ones when the help window opens.
    finish() {
        convert "$raw/$1.png" -strip +dither -colors 128 "PNG8:$out/$1.png"
    }
    # The picture of a whole top-level window with its title bar.
    shot() {
        import -window "$2" -frame "$raw/$1.png"
        finish "$1"
    }
    # The picture of an open menu: menus are windows of their own, so the screen is
    # read where the main window's top-left corner lies.
    shot_menu() {
        local X Y WIDTH HEIGHT
        eval "$(xdotool getwindowgeometry --shell "$2" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
        local w=$((390 * scale * dpi / 96)) h=$((52 * scale * dpi / 96))
        # The geometry's top is the client area below the menu bar; the bar is shown too.
        local bar=$((22 * scale * dpi / 96))
        import -window root -crop "${w}x${h}+${X}+$((Y - bar))" +repage "$raw/$1.png"
        finish "$1"
    }
    # The picture of the record window in the middle of the main window: the main
    # window's client area without its menu bar, trimmed of the empty background.
    shot_child() {
        local menu=$((40 * scale * dpi / 96))
        import -window "$2" "$raw/$1-client.png"
        convert "$raw/$1-client.png" -gravity north -chop "0x$menu" +repage -trim +repage \
            "$raw/$1.png"
        finish "$1"
    }

    export QT_QPA_PLATFORM=xcb
    export XDG_CONFIG_HOME=$work/config
    export XDG_DATA_HOME=$work/data
    export XDG_RUNTIME_DIR=$work/runtime
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    [ "$scale" != 1 ] && export QT_SCALE_FACTOR=$scale
    [ "$dpi" != 96 ] && export QT_FONT_DPI=$dpi

    # First run: no database remembered.
    "$root/build/app/drivolex" >"$work/drivolex.log" 2>&1 &
    app_pid=$!
    main=$(window '^Drivolex$')
    focus "$main"
    sleep 1
    shot main-window-no-file "$main"

    # File, Open: the dialog, the file typed in, the message that it is open.
    keys ctrl+o
    dialog=$(window '^Open Data File$')
    sleep 0.5
    shot file-open "$dialog"
    type_text "$SHOTS_DATABASE"
    keys Return
    box=$(window '^Open Data File$|Drivolex$')
    sleep 0.5
    shot database-open-message "$box"
    keys Return
    main=$(window '^Drivolex - ')
    focus "$main"
    shot main-window "$main"
    eval "$(xdotool getwindowgeometry --shell "$main" | grep -E '^(WIDTH|HEIGHT)=')"
    main_width=$WIDTH
    main_height=$HEIGHT

    # Window, Vehicle Information (the second item of the Window menu). A new record
    # window has no control with the focus yet: Tab brings it in, so that its access
    # keys (Alt and the underlined letter) work.
    keys alt+w Down Return Tab
    sleep 0.5
    shot_child vehicle-information "$main"
    # Delete asks first; No keeps the record.
    keys alt+d
    box=$(window '^Delete Record\?$')
    sleep 0.3
    shot delete-record "$box"
    keys Escape
    gone '^Delete Record\?$'
    keys alt+c

    # Window, Gas Purchases: pick the first vehicle; the latest purchase shows.
    keys alt+w Return
    sleep 0.5
    keys Tab Tab Tab
    type_text "Civic"
    sleep 0.5
    shot_child gas-purchases "$main"
    shot main-window-gas-purchases "$main"
    # While a purchase is edited the program refuses to close.
    keys alt+e
    shot_child gas-purchases-editing "$main"
    keys alt+f x
    box=$(window '^Can Not Shutdown$')
    sleep 0.3
    shot can-not-shutdown "$box"
    keys Return
    gone '^Can Not Shutdown$'
    keys alt+n
    # A purchase deleted by mistake: the Edit menu names what it brings back.
    keys alt+d
    window '^Delete Record\?$' >/dev/null
    keys alt+y
    gone '^Delete Record\?$'
    keys alt+c
    keys alt+e
    sleep 0.5
    shot_menu edit-undo-delete "$main"
    keys Return
    # That first change of the day was preceded by a copy of the file: File, Restore
    # From Backup lists it. Cancel keeps the file as it is.
    keys alt+f r
    restore=$(window '^Restore From Backup$')
    sleep 0.5
    shot restore-from-backup "$restore"
    keys Escape
    gone '^Restore From Backup$'
    # File, Back Up offers the file's name with the date and time.
    keys alt+f b
    dialog=$(window '^Back Up Database$')
    sleep 0.5
    shot back-up "$dialog"
    keys Escape
    gone '^Back Up Database$'
    focus "$main"

    # Window, Service Records: the first vehicle's latest order and its details.
    keys alt+w Down Down Return
    sleep 0.5
    keys Tab Tab
    type_text "Civic"
    sleep 0.5
    shot_child work-order "$main"
    keys alt+p
    shot_child work-order-parts "$main"
    keys alt+t
    shot_child work-order-notes "$main"
    keys alt+c

    # Window, Vehicle History (the fourth item): the first vehicle's four tabs, in the
    # whole frame, which the window fills. The frame grows first, so that the lists show
    # all their columns; it is put back after.
    xdotool windowsize --sync "$main" 1060 720
    sleep 0.5
    keys alt+w Down Down Down Return
    window '^Drivolex - ' >/dev/null
    sleep 1
    keys alt+v
    type_text "Civic"
    sleep 0.5
    shot history-fuel-log "$main"
    # Each tab's rows and figures are read and computed off the window's thread.
    keys alt+i
    sleep 0.5
    shot history-service-history "$main"
    keys alt+a
    sleep 0.5
    shot history-statistics "$main"
    # With All Vehicles: one line per vehicle and their total.
    keys alt+v
    type_text "All"
    sleep 1
    shot history-statistics-all "$main"
    keys alt+v
    type_text "Civic"
    sleep 0.5
    keys alt+r
    sleep 0.5
    shot history-charts "$main"
    # The service record's print preview, with the fuel log: the tick box takes the
    # focus, and Print Preview is two controls after it.
    keys alt+u Tab Tab space
    preview=$(window '^Print Preview')
    xdotool windowsize --sync "$preview" 900 660
    sleep 2
    shot print-preview "$preview"
    keys Escape
    gone '^Print Preview'
    focus "$main"
    keys alt+u
    keys alt+c
    xdotool windowsize --sync "$main" "$main_width" "$main_height"
    sleep 0.5

    # Window, Reminders (the fifth item): every vehicle's reminders in the whole frame,
    # the ones due also on the status line below it. Edit opens the first in its dialog.
    xdotool windowsize --sync "$main" 1060 560
    sleep 0.5
    keys alt+w Down Down Down Down Return
    window '^Drivolex - ' >/dev/null
    sleep 1
    shot reminders "$main"
    keys alt+e
    edit=$(window '^Edit Reminder$')
    sleep 0.5
    shot reminder-edit "$edit"
    keys Escape
    gone '^Edit Reminder$'
    focus "$main"
    keys alt+c
    xdotool windowsize --sync "$main" "$main_width" "$main_height"
    sleep 0.5

    # File, Import: a Fuelly export of the first vehicle, previewed before anything is
    # written: a row the file holds already, new rows, a partial fill, a missed fill-up
    # and a day that does not exist. Cancel writes nothing.
    focus "$main"
    xdotool windowsize --sync "$main" 1060 720
    sleep 0.5
    keys alt+f i
    window '^Import$' >/dev/null
    sleep 0.5
    type_text "$SHOTS_IMPORT"
    keys Return
    sleep 1.5
    preview=$(window '^Import$')
    sleep 0.5
    shot import-preview "$preview"
    keys Escape
    gone '^Import$'
    # File, Export: one vehicle or all, in one of three formats.
    focus "$main"
    keys alt+f e
    export=$(window '^Export$')
    sleep 0.5
    shot export "$export"
    keys Escape
    gone '^Export$'
    xdotool windowsize --sync "$main" "$main_width" "$main_height"
    sleep 0.5

    # Help, About.
    focus "$main"
    keys alt+h a
    about=$(window '^About Drivolex$')
    sleep 0.5
    shot about "$about"
    keys Return
    gone '^About Drivolex$'

    # Help, Contents.
    focus "$main"
    keys alt+h c
    help=$(window '^Drivolex Help$')
    sleep 1
    shot help "$help"
    exit 0
fi

# ---------------------------------------------------------------------------------------
# The outer part: packages, build, demonstration database, the virtual display.
bash scripts/install-deps.sh xvfb xauth xdotool imagemagick jwm
[ -n "${SHOTS_NO_BUILD:-}" ] || bash scripts/build.sh build
# The caption shows the file's path: a short fixed one reads better in the pictures
# and leaves them unchanged from run to run while the windows look the same.
work=/tmp/drivolex-demo
rm -rf "$work"
mkdir -p "$work"
[ -n "${SHOTS_KEEP:-}" ] || trap 'rm -rf "$work"' EXIT
mkdir -p "$work/Documents"
database=$work/Documents/cars.mdb
build/tools/drivolex_demo_db "$database"
# A file another program wrote for the import's picture: Fuelly's layout, its first row
# one the demonstration file holds already, the others after its last purchase.
civic=$work/civic.csv
build/cli/drivolex-cli export "$database" --format fuelly --vehicle Civic --out "$civic" >/dev/null
last=$(tail -1 "$civic" | cut -d, -f4)
last=${last%.*}
import_file=$work/Documents/fuelly-export.csv
{
    head -2 "$civic"
    printf 'Civic,Civic,,%d,,10.2,3.199,60,11/02/2026 0:00,,trip,"Mountains, then the coast",0,0,,,Shell\n' $((last + 310))
    printf 'Civic,Civic,,%d,,4.5,3.249,60,11/09/2026 0:00,,,,0,1,,,Costco\n' $((last + 420))
    printf 'Civic,Civic,,%d,,9.8,3.149,60,11/31/2026 0:00,,,,0,0,,,Shell\n' $((last + 650))
    printf 'Civic,Civic,,%d,,10.6,3.099,60,12/01/2026 0:00,,,,0,0,,,Shell\n' $((last + 700))
    printf 'Civic,Civic,,%d,,11.0,3.129,60,12/07/2026 0:00,,,,1,0,,,Arco\n' $((last + 1260))
} >"$import_file"

# The first page of the demonstration vehicle's service record, as drivolex-cli writes it.
bash scripts/install-deps.sh poppler-utils
mkdir -p "$work/raw"
# Letter paper, as an American system gives it, like the rest of the pictures.
LC_MEASUREMENT=en_US.UTF-8 build/cli/drivolex-cli report "$database" --vehicle Civic \
    --pdf "$work/report.pdf" >/dev/null
pdftoppm -r 90 -png -f 1 -l 1 -singlefile "$work/report.pdf" "$work/raw/report-page"
convert "$work/raw/report-page.png" -bordercolor '#999999' -border 1 "$out/report-page.png"

started=$SECONDS
SHOTS_WORK=$work SHOTS_DATABASE=$database SHOTS_IMPORT=$import_file \
    timeout 300 xvfb-run -a -s "-screen 0 1280x1024x24 -dpi $dpi" \
    bash scripts/screenshots.sh --inner --scale "$scale" --dpi "$dpi" --out "$out"

status=0
for picture in "$work"/raw/*.png; do
    name=$(basename "$picture")
    case $name in *-client.png) continue ;; esac
    size=$(stat -c %s "$out/$name")
    printf '%-40s %6d bytes\n' "$out/$name" "$size"
    if [ $plain = 1 ] && [ "$size" -ge $max_bytes ]; then
        echo "  over 100 KB" >&2
        status=1
    fi
done
echo "took $((SECONDS - started)) s on the virtual display"
exit $status
