#!/bin/sh
# CPU that welvane uses over a minute with the Overview on screen (large
# layout, under Xvfb), next to `top -d 2 -b` over the same minute. Goal: the
# Overview costs no more than top.
#   bench/overview_cpu.sh [path/to/welvane] [seconds]
set -eu
BIN=${1:-build/src/app/welvane}
SECS=${2:-60}

if [ "${OVERVIEW_CPU_INNER:-}" != 1 ]; then
    OVERVIEW_CPU_INNER=1 exec xvfb-run -a "$0" "$BIN" "$SECS"
fi

ticks() { # utime + stime of a process, in clock ticks
    awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"
}

ns() { # CPU time of all threads of a process, in nanoseconds (finer than ticks)
    cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ n += $1 } END { printf "%d", n }'
}

"$BIN" --layout large >/dev/null 2>&1 &
APP=$!
sleep 3 # start-up and the first paint are not part of the steady cost
top -d 2 -b >/dev/null 2>&1 &
TOP=$!
sleep 0.2
A0=$(ticks $APP) AN0=$(ns $APP)
T0=$(ticks $TOP) TN0=$(ns $TOP)
sleep "$SECS"
A1=$(ticks $APP) AN1=$(ns $APP)
T1=$(ticks $TOP) TN1=$(ns $TOP)
kill $TOP $APP
wait $TOP $APP 2>/dev/null || true

HZ=$(getconf CLK_TCK)
awk -v a=$((A1 - A0)) -v t=$((T1 - T0)) -v an=$((AN1 - AN0)) -v tn=$((TN1 - TN0)) \
    -v hz="$HZ" -v s="$SECS" 'BEGIN {
    printf "over %d s: welvane (Overview, large) %.2f s CPU (%.3f %%), top -d 2 %.2f s CPU (%.3f %%)\n",
        s, a / hz, a / hz / s * 100, t / hz, t / hz / s * 100
    if (t > 0) printf "ratio welvane / top (utime+stime): %.2f (goal <= 1.0)\n", a / t
    printf "scheduler time: welvane %.1f ms, top %.1f ms", an / 1e6, tn / 1e6
    if (tn > 0) printf ", ratio %.2f", an / tn
    printf "\n"
}'
