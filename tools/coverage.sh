#!/usr/bin/env bash
# Measures which lines of the product the quick tests run, from a fresh
# Debian 12 machine on, as tools/run-tests.sh does: builds the 64-bit build
# with gcov's counters in the product (build-coverage/), runs the quick tests
# under Wine, then prints gcovr's line coverage of each product file (with the
# lines never run) and the total. Reports: build-coverage/coverage/coverage.txt
# and build-coverage/coverage/index.html. Exits non-zero when a test failed,
# after reporting what the run did reach.
set -euo pipefail
cd "$(dirname "$0")/.."
OXVIEW_TOOL=coverage
# The counting build is the 64-bit one on any host.
OXVIEW_ARCH=win64

tools/install-deps.sh
source tools/wine-road.sh
source tools/x-display.sh

folder=build-coverage
cmake --preset win64-coverage >/dev/null
cmake --build --preset win64-coverage
# Counts add up across runs: start from none.
find "$folder" -name '*.gcda' -delete

status=0
"$folder/wine-run" cmd /c exit 0 >/dev/null 2>&1 || true
ctest --preset win64-coverage-quick -j 2 || status=$?
WINEPREFIX="$("$folder/wine-run" --prefix)" wineserver -k 2>/dev/null || true

# Each program writes its counts at its object files' paths (Z:\ is /) when
# it ends normally; none at all means the road is broken, not the tests.
counts=$(find "$folder" -name '*.gcda' | wc -l)
if [ "$counts" -eq 0 ]; then
    echo "coverage: the tests wrote no .gcda file under $folder" >&2
    exit 1
fi
echo "coverage: $counts .gcda files written"

# The mingw gcov that matches the -posix compiler reads its files.
report="$folder/coverage"
mkdir -p "$report"
gcovr --root . --gcov-executable x86_64-w64-mingw32-gcov-posix -j 2 \
    --filter 'app/' --filter 'frame/' --filter 'settings/' --filter 'core/' --filter 'capture/' \
    --txt "$report/coverage.txt" --html-details "$report/index.html" --print-summary \
    "$folder"
cat "$report/coverage.txt"
echo "coverage: reports in $report/coverage.txt and $report/index.html"
[ "$status" -eq 0 ] || echo "coverage: some tests failed (above); the figures are of what they ran" >&2
exit $status
