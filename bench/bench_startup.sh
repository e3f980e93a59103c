#!/bin/sh
# bench_startup.sh <nookery binary> [runs]
# Run inside tests/harness/run-test xvfb-tray. Measures, as a user sees it on X11:
#   start-up: from launching nookery until its tray icon is mapped in the tray;
#   shortcut: from pressing Alt+Space until the panel window is mapped, the first and the
#   second time;
#   idle: context switches of all of nookery's threads over 10 s with the panel closed.
# Each time is the median of the runs; the X server is polled with xdotool (5-20 ms a poll).
set -eu
nookery=$1
runs=${2:-5}

now_us() { echo $(($(date +%s%N) / 1000)); }
visible_windows() { xdotool search --onlyvisible --class '^Nookery$' 2>/dev/null | wc -l; }
wait_for_windows() {
  tries=0
  until [ "$(visible_windows)" -ge "$1" ]; do
    tries=$((tries + 1))
    [ "$tries" -gt 5000 ] && { echo "bench_startup: timed out waiting for $1 window(s)" >&2; exit 1; }
    sleep 0.002
  done
}
wait_for_windows_below() {
  until [ "$(visible_windows)" -lt "$1" ]; do sleep 0.002; done
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
context_switches() {
  cat /proc/"$1"/task/*/status | awk '/ctxt_switches/ { sum += $2 } END { print sum }'
}

# Presses the shortcut and waits for the panel; sets $upper (from the press) and $lower (from
# xdotool's return), then closes the panel again.
time_shortcut() {
  start=$(now_us)
  xdotool key alt+space
  sent=$(now_us)
  wait_for_windows 2
  upper=$(($(now_us) - start))
  lower=$(($(now_us) - sent))
  xdotool key Escape
  wait_for_windows_below 2
}

startup=""
first=""
firstAfterKey=""
second=""
secondAfterKey=""
for run in $(seq "$runs"); do
  rm -rf "$XDG_RUNTIME_DIR"/nookery.* "$XDG_CONFIG_HOME/Nookery"
  start=$(now_us)
  "$nookery" >/dev/null 2>&1 &
  pid=$!
  wait_for_windows 1
  startup="$startup $(($(now_us) - start))"
  # Let the tray settle, then give the keyboard to the root window like another application.
  sleep 1
  time_shortcut
  first="$first $upper"
  firstAfterKey="$firstAfterKey $lower"
  sleep 0.3
  time_shortcut
  second="$second $upper"
  secondAfterKey="$secondAfterKey $lower"
  if [ "$run" -eq "$runs" ]; then
    sleep 1
    before=$(context_switches "$pid")
    sleep 10
    after=$(context_switches "$pid")
    idle=$((after - before))
    threads=$(ls /proc/"$pid"/task | wc -l)
  fi
  kill "$pid"
  wait "$pid" 2>/dev/null || true
done

m() { echo "$@" | tr ' ' '\n' | median; }
echo "start-up to tray icon shown: $(m $startup) us (median of $runs)"
# xdotool itself takes 10-50 ms to send a key: the time counted from its return is a lower
# bound, the time counted from its start an upper bound.
echo "shortcut to panel visible, first opening:  $(m $firstAfterKey) to $(m $first) us"
echo "shortcut to panel visible, second opening: $(m $secondAfterKey) to $(m $second) us"
echo "idle context switches in 10 s, panel closed: $idle (all $threads threads)"
