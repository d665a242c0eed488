#!/usr/bin/env bash
# Builds the store benchmark (Release, in build-bench) and runs it: it makes a
# database file of 20 vehicles, 1,000,000 fuel rows and 100,000 work orders in
# build-bench/data, prints the figures against raw SQLite and writes them to
# build-bench/bench.json, then the fuel window's figures against the store's own
# (build-bench/fuel-window-bench.json), then the Vehicle History window
# (build-bench/history-window-bench.json), then Back Up and Restore of the same file
# against raw SQLite's backup API (build-bench/backup-bench.json), then the vehicle
# history's figures against raw selects and aggregates (build-bench/history-bench.json),
# then an import's plan and writing against raw inserts (build-bench/import-bench.json),
# then the export in our own format against the sqlite3 tool's CSV
# (build-bench/export-bench.json), then a vehicle's service record written as PDF
# (build-bench/report-bench.json).
# Extra arguments go to the store benchmark (e.g. --reuse).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=build-bench
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DDRIVOLEX_BUILD_BENCH=ON \
    -DDRIVOLEX_BUILD_TESTS=OFF >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)" --target drivolex_store_bench \
    drivolex_fuel_window_bench drivolex_history_window_bench drivolex_backup_bench \
    drivolex_history_bench drivolex_import_bench drivolex_export_bench \
    drivolex_import_read_bench drivolex_import_window_bench drivolex_report_bench
mkdir -p "$build_dir/data"
"$build_dir/bench/drivolex_store_bench" --dir "$build_dir/data" --json "$build_dir/bench.json" "$@"
# The fuel window on the same file, against the store's own figures.
"$build_dir/bench/drivolex_fuel_window_bench" --dir "$build_dir/data" \
    --json "$build_dir/fuel-window-bench.json"
# The Vehicle History window on the same file, against raw SQLite and its targets.
"$build_dir/bench/drivolex_history_window_bench" --dir "$build_dir/data" \
    --json "$build_dir/history-window-bench.json"
# Back Up and Restore of the same file, against raw SQLite's backup API.
"$build_dir/bench/drivolex_backup_bench" --dir "$build_dir/data" \
    --json "$build_dir/backup-bench.json"
# The vehicle history's reads and figures, against raw SQLite's selects and aggregates.
"$build_dir/bench/drivolex_history_bench" --dir "$build_dir/data" \
    --json "$build_dir/history-bench.json"
# An import's plan and writing, against raw SQLite inserting the same rows.
"$build_dir/bench/drivolex_import_bench" --dir "$build_dir/data" \
    --json "$build_dir/import-bench.json"
# The export in our own format, against the sqlite3 tool writing the Fuel table as CSV.
"$build_dir/bench/drivolex_export_bench" --dir "$build_dir/data" \
    --json "$build_dir/export-bench.json"
# The import's readers alone on a 100,000-row Fuelly file (reported).
"$build_dir/bench/drivolex_import_read_bench"
# File > Import's preview of a 100,000-row Fuelly file, on screen within a second.
QT_QPA_PLATFORM=offscreen "$build_dir/bench/drivolex_import_window_bench" --dir "$build_dir/data" \
    --json "$build_dir/import-window-bench.json"
# A vehicle's service record as PDF: 1,000 work orders and 5,000 fill-ups within 3 s,
# and its growth from 100 orders.
"$build_dir/bench/drivolex_report_bench" --dir "$build_dir/data" \
    --json "$build_dir/report-bench.json"
