#!/bin/sh
# desktop.sh <build dir> <results file>
# Run inside tests/harness/run-test xvfb-tray (bench/run does). Measures Nookery as a user meets
# it on a private X display with a tray, and the same for copyq when it is installed; appends
# key=value lines to the results file. Times come from nookery-xprobe, which watches the X event
# stream; idle figures from /proc, summed over all threads.
set -u
build=$(cd "$1" && pwd)
results=$2
probe=$build/bench/nookery-xprobe
nookery=$build/src/app/nookery
figma=$build/tools/fake-figma/fake-figma
launches=5
presses=21
idle_seconds=30
session="$XDG_CONFIG_HOME/Figma/settings.json"

say() { echo "$1" >>"$results"; }
value() { sed -n "s/^$1=//p"; }
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)] }'; }

# Per thread: "tid voluntary-context-switches cpu-nanoseconds". A voluntary switch is a sleep
# that ended in a wake-up: a timer, an event, a thread being told to run.
threads() {
  for task in /proc/"$1"/task/*; do
    switches=$(awk '/^voluntary_ctxt_switches/ { print $2 }' "$task/status" 2>/dev/null) || continue
    echo "${task##*/} ${switches:-0} $(cut -d' ' -f1 "$task/schedstat" 2>/dev/null || echo 0)"
  done
}
cpu_ticks() { sed 's/.*) //' /proc/"$1"/stat | awk '{ print $12 + $13 }'; }
rss_kib() { awk '/^VmRSS/ { print $2 }' /proc/"$1"/status; }

# idle <pid> <name>: wake-ups, CPU time and resident memory over idle_seconds, once the last
# use is 31 s past: Qt's thread pools retire a worker 30 s after its last task, which is one
# wake-up per worker after use, not idling. Threads that end meanwhile are counted apart.
idle() {
  sleep 31
  threads "$1" >"$NOOKERY_TEST_SCRATCH/threads-before"
  t0=$(cpu_ticks "$1")
  sleep "$idle_seconds"
  threads "$1" >"$NOOKERY_TEST_SCRATCH/threads-after"
  t1=$(cpu_ticks "$1")
  awk -v name="$2" '
    NR == FNR { switches[$1] = $2; cpu[$1] = $3; next }
    { wakeups += $2 - switches[$1]; ns += $3 - cpu[$1]; seen[$1] = 1 }
    END {
      for (tid in switches) if (!(tid in seen)) ++retired
      printf "%s_wakeups=%d\n%s_cpu_ms=%.2f\n%s_threads_retired=%d\n", name, wakeups, name, ns / 1e6, name, retired
    }' "$NOOKERY_TEST_SCRATCH/threads-before" "$NOOKERY_TEST_SCRATCH/threads-after" >>"$results"
  say "$2_cpu_ticks=$((t1 - t0))"
  say "$2_rss_kib=$(rss_kib "$1")"
}

stop() {
  kill "$1" 2>/dev/null
  tries=0
  while kill -0 "$1" 2>/dev/null && [ "$tries" -lt 100 ]; do sleep 0.05; tries=$((tries + 1)); done
}

# launch_times <class> <command...>: median start-up to tray icon over $launches runs; the last
# run keeps going and its pid is in $pid.
launch_times() {
  class=$1
  shift
  times=""
  pid=""
  for run in $(seq "$launches"); do
    [ -n "$pid" ] && stop "$pid"
    out=$("$probe" launch --class "$class" -- "$@")
    pid=$(echo "$out" | value pid)
    times="$times $(echo "$out" | value startup_ms)"
  done
  startup=$(echo $times | tr ' ' '\n' | median)
}

# press_times <prefix> <class> <chord>: shortcut to panel mapped and drawn.
press_times() {
  "$probe" press --class "$2" --chord "$3" --presses "$presses" >"$NOOKERY_TEST_SCRATCH/press.txt"
  for key in first_map_ms map_median_ms first_paint_ms paint_median_ms failures; do
    say "$1_$key=$(value "$key" <"$NOOKERY_TEST_SCRATCH/press.txt")"
  done
}

# --- Nookery, with fake-figma's sample session (3 windows, 25 tabs) ---
"$figma" --background >/dev/null 2>&1 &
figma_pid=$!
tries=0
until [ -s "$session" ] || [ "$tries" -gt 100 ]; do sleep 0.1; tries=$((tries + 1)); done

# The shell's own start-up script polls the display; its figures are shown beside ours.
if [ -x "$(dirname "$0")/bench_startup.sh" ]; then
  "$(dirname "$0")/bench_startup.sh" "$nookery" 3 2>&1 | sed 's/^/polled: /' >>"$results"
  rm -rf "$XDG_RUNTIME_DIR"/nookery.*
fi

mkdir -p "$XDG_CONFIG_HOME/Nookery"
printf '[General]\nNookery.hasSeenWelcome=true\n' >"$XDG_CONFIG_HOME/Nookery/Nookery.conf"
launch_times Nookery "$nookery"
say "nookery_startup_ms=$startup"
sleep 1
say "nookery_rss_start_kib=$(rss_kib "$pid")"
press_times nookery Nookery alt+space
idle "$pid" nookery_idle_closed
# The search field's cursor blinks for its first 10 s, then rests.
"$nookery" --toggle
idle "$pid" nookery_idle_open
"$nookery" --toggle

# Memory over 1,000 rewrites of the session file, sampled half way: warm-up shows in the first
# half, a leak in both.
say "nookery_rss_warm_kib=$(rss_kib "$pid")"
cp "$session" "$NOOKERY_TEST_SCRATCH/session-a.json"
sed 's/"title":"\([^"]*\)"/"title":"\1 v2"/g' "$session" >"$NOOKERY_TEST_SCRATCH/session-b.json"
for half in 1 2; do
  for rewrite in $(seq 250); do
    cat "$NOOKERY_TEST_SCRATCH/session-b.json" >"$session"
    sleep 0.03
    cat "$NOOKERY_TEST_SCRATCH/session-a.json" >"$session"
    sleep 0.03
  done
  sleep 1
  say "nookery_rss_after_rewrites_${half}_kib=$(rss_kib "$pid")"
done
stop "$pid"
stop "$figma_pid"

# --- Nookery with a long list: 40 tabs in 4 folders, then 500 in 30; 50 or fewer ungrouped ---
# write_lists <tabs> <folders>: the session in 10 windows and folders.json, every folder expanded.
write_lists() {
  awk -v tabs="$1" 'BEGIN {
    per = int((tabs + 9) / 10); printf "{\"windows\":["
    for (i = 0; i < tabs; ++i) {
      if (i % per == 0) printf "%s{\"tabs\":[", i ? "]}," : ""; else printf ","
      printf "{\"title\":\"Design file %d\",\"path\":\"/design/K%d/File-%d\"}", i, i, i
    }
    printf "]}]}"
  }' >"$session"
  mkdir -p "$XDG_DATA_HOME/Nookery"
  awk -v tabs="$1" -v folders="$2" 'BEGIN {
    ungrouped = tabs / 10 < 50 ? int(tabs / 10) : 50; per = int((tabs - ungrouped) / folders)
    printf "{\"folders\":["
    for (f = 0; f < folders; ++f) {
      printf "%s{\"id\":\"%08X-0000-4000-8000-000000000000\",\"name\":\"Folder %d\",\"isExpanded\":true,\"tabIDs\":[", f ? "," : "", f + 1, f + 1
      for (t = 0; t < per; ++t) printf "%s\"K%d\"", t ? "," : "", f * per + t
      printf "]}"
    }
    printf "],\"ungroupedOrder\":[]}"
  }' >"$XDG_DATA_HOME/Nookery/folders.json"
}

# wheel <prefix> <class> <chord> <pid>: CPU per notch with the pointer resting on the list: 200
# notches each waited for until drawn; then 40 quick notches (20 ms apart, a flick) and 40 slow
# ones (0.3 s apart), each run counted until the process is quiet, its hover easing included;
# then the pointer moved between rows 20 times, for the CPU of one hover change and of one
# drawing (an easing frame, where the list eases its hover).
wheel() {
  "$probe" wheel --class "$2" --chord "$3" --pid "$4" --steps 200 >"$NOOKERY_TEST_SCRATCH/wheel.txt"
  for key in cpu_per_step_ms drawn_median_ms undrawn; do
    say "$1_wheel_$key=$(value "$key" <"$NOOKERY_TEST_SCRATCH/wheel.txt")"
  done
  for pace in quick:20 slow:300; do
    "$probe" wheel --class "$2" --chord "$3" --pid "$4" --steps 40 --interval-ms "${pace#*:}" \
      >"$NOOKERY_TEST_SCRATCH/wheel.txt"
    for key in cpu_per_step_ms drawings_per_step; do
      say "$1_wheel_${pace%%:*}_$key=$(value "$key" <"$NOOKERY_TEST_SCRATCH/wheel.txt")"
    done
  done
  "$probe" hover --class "$2" --chord "$3" --pid "$4" --steps 20 >"$NOOKERY_TEST_SCRATCH/hover.txt"
  for key in cpu_per_move_ms drawings_per_move cpu_per_drawing_ms; do
    say "$1_hover_$key=$(value "$key" <"$NOOKERY_TEST_SCRATCH/hover.txt")"
  done
}

for lists in "40 4" "500 30"; do
  # shellcheck disable=SC2086
  set -- $lists
  write_lists "$1" "$2"
  launch_times Nookery "$nookery"
  sleep 1
  press_times "nookery_$1" Nookery alt+space
  wheel "nookery_$1" Nookery alt+space "$pid"
  # The long list stays running for the figures below; a second instance would only toggle it.
  [ "$1" = 500 ] || stop "$pid"
done
# Memory over 1,000 openings of the long panel, sampled half way: warm-up shows in the first
# half, a leak in both.
say "nookery_500_rss_warm_kib=$(rss_kib "$pid")"
failures=0
for half in 1 2; do
  "$probe" press --class Nookery --presses 500 --settle-ms 5 >"$NOOKERY_TEST_SCRATCH/stress.txt"
  failures=$((failures + $(value failures <"$NOOKERY_TEST_SCRATCH/stress.txt")))
  sleep 1
  say "nookery_500_rss_after_openings_${half}_kib=$(rss_kib "$pid")"
done
say "nookery_stress_failures=$failures"
# Idle with the long list, for the wake-ups a larger panel might bring.
idle "$pid" nookery_500_idle_closed
"$nookery" --toggle
idle "$pid" nookery_500_idle_open
"$nookery" --toggle
stop "$pid"

# --- copyq, the baseline: a clipboard manager with a tray icon and a shortcut to its window ---
if command -v copyq >/dev/null; then
  # copyq does not take Alt+Space under this window manager; any chord times the same path.
  mkdir -p "$XDG_CONFIG_HOME/copyq"
  printf '[Commands]\n1\\Command=copyq: toggle()\n1\\GlobalShortcut=ctrl+alt+x\n1\\IsGlobalShortcut=true\n1\\Name=Toggle\nsize=1\n' \
    >"$XDG_CONFIG_HOME/copyq/copyq-commands.ini"
  launch_times copyq copyq
  say "copyq_startup_ms=$startup"
  sleep 2
  say "copyq_rss_start_kib=$(rss_kib "$pid")"
  press_times copyq copyq ctrl+alt+x
  # Its item list, a QListView with a delegate, holding as many items as our long panel.
  # shellcheck disable=SC2046
  copyq config maxitems 1000 >/dev/null 2>&1
  copyq add $(seq -f 'Clipboard item %g' 500 | tr ' ' '_') >/dev/null 2>&1
  wheel copyq_500 copyq ctrl+alt+x "$pid"
  copyq exit >/dev/null 2>&1
  stop "$pid"
fi
