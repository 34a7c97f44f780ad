#!/bin/sh
# varno-cli beside `cp -a` and `rsync -aHAX --delete` on the same trees: two
# loop-mounted ext4 volumes, a tree of small files and a few large ones (one sparse).
# Times the first clone, a second run with nothing changed and a run after 1% of the
# files changed, from a cold and from a warm cache, with each program's peak memory,
# and prints the results as a Markdown table with the ratios. Needs root.
#
# Usage: sh bench/clone_bench.sh [build dir]
# Environment: BENCH_TREE (folders copied into the source, default "/usr/share /usr/include"),
#   BENCH_EXTRA_FILES (generated small files, default 25000), BENCH_LARGE_MB (size of each
#   of the three large files, default 300), BENCH_DIR (work folder, default /var/tmp/varno-bench).
set -eu

BUILD_DIR=${1:-build}
VARNO_CLI=$(realpath "$BUILD_DIR/Varno.app/Contents/MacOS/varno-cli")
TREE=${BENCH_TREE:-/usr/share /usr/include}
EXTRA_FILES=${BENCH_EXTRA_FILES:-25000}
LARGE_MB=${BENCH_LARGE_MB:-300}
WORK=${BENCH_DIR:-/var/tmp/varno-bench}
SRC=$WORK/source
DST=$WORK/destination

[ "$(id -u)" -eq 0 ] || { echo "clone_bench: needs root (loop mounts, dropping caches)" >&2; exit 1; }
for tool in rsync /usr/bin/time mkfs.ext4; do
    command -v "$tool" >/dev/null || { echo "clone_bench: $tool is missing (make deps)" >&2; exit 1; }
done
[ -x "$VARNO_CLI" ] || { echo "clone_bench: build varno-cli first" >&2; exit 1; }

cleanup() {
    for point in "$SRC" "$DST"; do
        mountpoint -q "$point" && umount "$point"
    done
    rm -rf "$WORK"
}
trap cleanup EXIT INT TERM

# A fresh, empty ext4 volume of `megabytes` at `point`, labelled `label`.
new_volume() {
    point=$1 label=$2 megabytes=$3
    mountpoint -q "$point" && umount "$point"
    rm -f "$point.img"
    truncate -s "${megabytes}M" "$point.img"
    mkfs.ext4 -q -F -L "$label" "$point.img"
    mkdir -p "$point"
    mount -o loop "$point.img" "$point"
}

drop_caches() {
    sync
    echo 3 > /proc/sys/vm/drop_caches
}

rm -rf "$WORK"
mkdir -p "$WORK"
results=$WORK/results
tree_kb=$(du -sk $TREE 2>/dev/null | awk '{ s += $1 } END { print s }')
volume_mb=$(( (tree_kb / 1024 + 3 * LARGE_MB + EXTRA_FILES * 8 / 1024) * 3 / 2 + 512 ))
new_volume "$SRC" VarnoSrc "$volume_mb"

echo "clone_bench: building the source tree" >&2
for folder in $TREE; do
    mkdir -p "$SRC/tree$folder"
    cp -a "$folder/." "$SRC/tree$folder/"
done
i=0
mkdir -p "$SRC/generated"
while [ "$i" -lt "$EXTRA_FILES" ]; do
    [ $((i % 500)) -eq 0 ] && mkdir -p "$SRC/generated/$((i / 500))"
    head -c $((512 + (i * 37) % 8192)) /dev/urandom > "$SRC/generated/$((i / 500))/file$i"
    i=$((i + 1))
done
mkdir -p "$SRC/large"
for n in 1 2; do
    head -c "${LARGE_MB}M" /dev/urandom > "$SRC/large/data$n"
done
# Sparse: data at both ends, a hole between.
truncate -s "${LARGE_MB}M" "$SRC/large/sparse"
head -c 4M /dev/urandom | dd of="$SRC/large/sparse" conv=notrunc status=none
head -c 4M /dev/urandom | dd of="$SRC/large/sparse" bs=1M seek=$((LARGE_MB - 4)) conv=notrunc status=none
sync
files=$(find "$SRC" -type f | wc -l)
items=$(find "$SRC" | wc -l)
used_mb=$(df -m --output=used "$SRC" | tail -1 | tr -d ' ')

# One timed run of `tool` from a `cache` cache, appended to the results as
# "<cache> <tool> <run> <seconds> <peak KB>".
timed() {
    cache=$1 tool=$2 run=$3
    case $tool in
    varno) set -- "$VARNO_CLI" clone "$SRC" "$DST" --yes ;;
    cp) set -- cp -a "$SRC/." "$DST/" ;;
    rsync) set -- rsync -aHAX --delete "$SRC/" "$DST/" ;;
    esac
    [ "$cache" = cold ] && drop_caches
    if ! /usr/bin/time -f "%e %M" -o "$WORK/time" "$@" >"$WORK/output" 2>&1; then
        echo "clone_bench: failed: $*" >&2
        tail -5 "$WORK/output" >&2
        exit 1
    fi
    sync
    echo "$cache $tool $run $(cat "$WORK/time")" >> "$results"
}

# 1% of the regular files: every 100th of the sorted list gets a line more.
change_one_percent() {
    find "$SRC/tree" "$SRC/generated" -type f | sort | awk 'NR % 100 == 0' | while IFS= read -r file; do
        echo "changed" >> "$file"
    done
}

# The source's content and catalog in the page cache.
warm_up() {
    find "$SRC" -type f -print0 | xargs -0 cat > /dev/null
}

for cache in cold warm; do
    for tool in varno cp rsync; do
        echo "clone_bench: $tool, $cache cache" >&2
        new_volume "$DST" VarnoDst "$volume_mb"
        [ "$cache" = warm ] && warm_up
        timed "$cache" "$tool" first
        [ "$tool" = cp ] && continue
        timed "$cache" "$tool" unchanged
        change_one_percent
        [ "$cache" = warm ] && warm_up
        timed "$cache" "$tool" changed
    done
done

echo "Machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores, \
$(free -g | awk '/Mem:/ { print $2 }') GB memory, Linux $(uname -r), images on $(df --output=source "$WORK" | tail -1) \
($(findmnt -no FSTYPE -T "$WORK"))."
echo "Tree: $files files ($items items), $used_mb MB used: $TREE, $EXTRA_FILES generated files, two ${LARGE_MB} MB files and one sparse ${LARGE_MB} MB file (8 MB of data)."
echo
echo "| Run | Cache | varno-cli s | cp -a s | rsync s | varno/cp | varno/rsync | varno MB | cp MB | rsync MB |"
echo "|---|---|---|---|---|---|---|---|---|---|"
for cache in cold warm; do
    for run in first unchanged changed; do
        awk -v cache="$cache" -v run="$run" '
            $1 == cache && $3 == run { seconds[$2] = $4; peak[$2] = $5 }
            function cell(v) { return v == "" ? "-" : v }
            function ratio(a, b) { return (a == "" || b == "" || b == 0) ? "-" : sprintf("%.2f", a / b) }
            function mb(kb) { return kb == "" ? "-" : sprintf("%.0f", kb / 1024) }
            END {
                printf "| %s | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", run, cache,
                    cell(seconds["varno"]), cell(seconds["cp"]), cell(seconds["rsync"]),
                    ratio(seconds["varno"], seconds["cp"]), ratio(seconds["varno"], seconds["rsync"]),
                    mb(peak["varno"]), mb(peak["cp"]), mb(peak["rsync"])
            }' "$results"
    done
done
