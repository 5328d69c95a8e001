#!/usr/bin/env bash
# Speed of the audio path, in one table: CPU time per stereo frame of each program and of a heavy
# setting beside the plain reference path (bench/), instructions per frame under callgrind (the
# same for every run, so a regression shows as a number), and the longest block. With --peers,
# veltrane-host --benchmark times veltrane and, where installed, LSP Artistic Delay with four
# feedback taps and ZamDelay as a host runs them, in interleaved rounds, with ratios.
# Usage: bench.sh [--peers] [--rounds N] [--seconds S]
set -euo pipefail
cd "$(dirname "$0")/.."

peers=0
rounds=5
seconds=3
while [ $# -gt 0 ]; do
    case "$1" in
        --peers) peers=1 ;;
        --rounds) rounds=$2; shift ;;
        --seconds) seconds=$2; shift ;;
        *) echo "bench.sh: unknown option $1" >&2; exit 2 ;;
    esac
    shift
done

scripts/install-dependencies.sh --bench
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
cmake --preset linux > build-linux.configure.log || { cat build-linux.configure.log; exit 1; }
cmake --build --preset linux --target veltrane_bench veltrane-host veltrane
bench=build/bench/veltrane_bench
host=build/tools/veltrane-host
settings=11 # programs 0..9 and the heavy setting

echo "== Machine: $(nproc) cores of $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
echo "== CPU time per stereo frame (bench/ on Google Benchmark, median of interleaved repetitions)"
"$bench"

# Instructions of one second of audio at 48 kHz, counted inside measuredSecond() alone.
instructions() { # setting [--plain]
    local out
    out=$(mktemp)
    valgrind --tool=callgrind --callgrind-out-file="$out" --collect-atstart=no \
        '--toggle-collect=*measuredSecond*' "$bench" --count "$@" 2> "$out.log" > "$out.frames"
    local total frames
    total=$(grep -m1 '^summary:\|^totals:' "$out" | awk '{print $2}')
    frames=$(awk '{print $1}' "$out.frames")
    rm -f "$out" "$out.log" "$out.frames"
    echo $((total / frames))
}
echo
echo "== Instructions per stereo frame under callgrind"
printf '%-8s %12s %12s\n' setting vector plain
for setting in $(seq 0 $((settings - 1))); do
    printf '%-8s %12s %12s\n' "$([ "$setting" = 10 ] && echo heavy || echo "$setting")" \
        "$(instructions "$setting")" "$(instructions "$setting" --plain)"
done

[ "$peers" = 1 ] || exit 0

# The peers: LSP's four-tap artistic delay with four feedback taps (250, 375, 500 and 750 ms,
# feedback about -5.6 dB each; delays are normalised over 256 s), and ZamDelay as it comes.
lsp=/usr/lib/vst/lsp-plugins/art-delay-stereo.so
zam=/usr/lib/vst/ZamDelay-vst.so
lsp_taps=()
delays=(0.000977 0.001465 0.00195 0.00293)
for tap in 0 1 2 3; do
    lsp_taps+=(--set "on$tap=1" --set "dadd$tap=${delays[$tap]}" --set "fbe$tap=1"
               --set "fbg$tap=0.93" --set "fbadd$tap=${delays[$tap]}")
done
read -r -a heavy <<< "$("$bench" --heavy-settings)"
names=()
commands=()
for program in $(seq 0 9); do
    names+=("veltrane program $program")
    commands+=("--program $program")
done
names+=("veltrane heavy")
commands+=("${heavy[*]}")
[ -f "$lsp" ] && { names+=("LSP Artistic Delay, 4 feedback taps"); commands+=("--plugin $lsp ${lsp_taps[*]}"); }
[ -f "$zam" ] && { names+=("ZamDelay"); commands+=("--plugin $zam"); }

declare -A times
for round in $(seq 1 "$rounds"); do
    for n in "${!commands[@]}"; do
        # shellcheck disable=SC2086 # the options are words on purpose
        ns=$("$host" ${commands[$n]} --benchmark "$seconds" | sed -n 's/.*: \([0-9.]*\) ns of CPU time.*/\1/p')
        times[$n]="${times[$n]:-} $ns"
    done
done
median() { tr ' ' '\n' | grep . | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
echo
echo "== veltrane-host --benchmark $seconds: 48 kHz, blocks of 512, transport moving; median of $rounds interleaved rounds"
lsp_median=""
for n in "${!commands[@]}"; do
    [[ "${names[$n]}" == LSP* ]] && lsp_median=$(echo "${times[$n]}" | median)
done
printf '%-40s %10s %10s %12s\n' plug-in ns/frame "x RT" "x LSP"
for n in "${!commands[@]}"; do
    m=$(echo "${times[$n]}" | median)
    ratio=$([ -n "$lsp_median" ] && awk -v a="$m" -v b="$lsp_median" 'BEGIN {printf "%.2f", a / b}' || echo "-")
    printf '%-40s %10.1f %10.0f %12s\n' "${names[$n]}" "$m" "$(awk -v a="$m" 'BEGIN {print 1e9 / (a * 48000)}')" "$ratio"
done
