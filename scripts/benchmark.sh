#!/usr/bin/env bash
# Benchmark of break-reminder against a baseline: the smallest Win32 program
# with a window (tests/benchmark/baseline.cpp), built with the same toolchain,
# flags and link options, and measured in the same run. Prints one table and
# writes the same figures as JSON to build/benchmark.json.
#
# Figures (median of BR_BENCH_RUNS runs, 5 unless set, with min and max):
#   start-up      CreateProcess until the main window is visible, active and
#                 WaitForInputIdle returns (tests/benchmark/measure.cpp);
#                 with, for information, the CPU time and context switches of
#                 the process until then.
#   memory        VmRSS and private memory (Private_Clean + Private_Dirty of
#                 /proc/PID/smaps_rollup) of the Unix process that runs the
#                 program, after start-up and after an accepted 开始, minus
#                 the baseline's after start-up; for information, how much
#                 of the RSS is pages of font files.
#   idle cost     CPU time (utime + stime of /proc/PID/stat) and context
#                 switches (voluntary + nonvoluntary) over a 60 s window after
#                 an accepted 开始, all instances of both programs idling in
#                 the same window.
#   picture       posting OK to 活动活动颈椎吧! until a screen capture of the
#                 picture window's client area shows the picture.
#   size          bytes of the 32-bit and the x86_64 executable.
#   (machine)     for information: the cost of the first write to a fresh
#                 page of memory under Wine on this machine.
#   nesting       stack per nested reminder cycle in picture mode: a tick is
#                 delivered each time a new question box is up, 40 levels deep;
#                 growth of the main thread's stack high-water mark per level.
# Runs under Wine with the arch this machine can run (scripts/wine-env.sh), in
# a Wine session of its own (screen BR_BENCH_SCREEN, 1600x900 unless set), so
# that tests running meanwhile on the usual screens do not disturb it. The
# programs run as copies with names of their own, so that their Unix processes
# can be told from other instances.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

runs=${BR_BENCH_RUNS:-5}
idle_seconds=${BR_BENCH_IDLE_SECONDS:-60}
screen=${BR_BENCH_SCREEN:-1600x900}
nesting_levels=40

"$root/scripts/setup.sh"
source "$root/scripts/wine-env.sh"
arch=$(br_wine_arch)
if [ "$arch" = i686 ]; then preset=win32; else preset=win32-x64; fi

log() { echo "benchmark: $*" >&2; }

# --- building ---------------------------------------------------------------

# The shipped 32-bit program, for its size; its Wine tests are not needed here.
log "building the 32-bit program"
cmake --preset win32 -DBR_WINE_TESTS=OFF >/dev/null
cmake --build --preset win32 --target break-reminder >/dev/null

log "building the $arch program"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target break-reminder >/dev/null
program="$root/build/$preset/break-reminder.exe"

has_target() { ninja -C "$1" -t targets all 2>/dev/null | grep -q "^$2:"; }

# Where tests/benchmark is part of the build, its targets give the baseline
# and the measuring program; otherwise they are compiled here with the
# build's compiler, flags and link options.
compile_flags=(-std=c++20 -Os -DNDEBUG -fexec-charset=GBK -Wall -Wextra -Werror
               -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -DNOMINMAX)
# The program's link options (br_link_options in cmake/win32.cmake).
link_options=(-static -s -Wl,--dynamicbase,--nxcompat -Wl,--stack,8388608)
build_baseline() {  # ARCH PRESET -> path of baseline.exe
  local a=$1 p=$2
  if has_target "$root/build/$p" baseline; then
    cmake --build --preset "$p" --target baseline >/dev/null
    find "$root/build/$p" -name baseline.exe -print -quit
  else
    mkdir -p "$root/build/benchmark/$a"
    "$a-w64-mingw32-g++-posix" "${compile_flags[@]}" -mwindows tests/benchmark/baseline.cpp \
      -o "$root/build/benchmark/$a/baseline.exe" "${link_options[@]}"
    echo "$root/build/benchmark/$a/baseline.exe"
  fi
}
log "building the baseline and the measuring program"
baseline=$(build_baseline "$arch" "$preset")
if [ "$arch" = i686 ]; then other_arch=x86_64 other_preset=win32-x64; else other_arch=i686 other_preset=win32; fi
baseline_other=$(build_baseline "$other_arch" "$other_preset")
if has_target "$root/build/$preset" measure; then
  cmake --build --preset "$preset" --target measure >/dev/null
  measure=$(find "$root/build/$preset" -name measure.exe -print -quit)
else
  mkdir -p "$root/build/benchmark/$arch"
  measure="$root/build/benchmark/$arch/measure.exe"
  "$arch-w64-mingw32-g++-posix" "${compile_flags[@]}" -Itests/driver tests/benchmark/measure.cpp \
    tests/driver/driver.cpp -o "$measure" -static -municode -luser32 -lgdi32
fi

# --- the Wine session -------------------------------------------------------

br_wine_session "$arch" "$screen"
work="$root/build/benchmark/run"
rm -rf "$work"; mkdir -p "$work"
cp "$program" "$work/bench-break-reminder.exe"; program="$work/bench-break-reminder.exe"
cp "$baseline" "$work/bench-baseline.exe"; baseline_exe=$baseline; baseline="$work/bench-baseline.exe"
program_class=BreakReminderWindow
baseline_class=BenchmarkBaseline

# Waits until FILE holds a line starting with WORD, within SECONDS.
wait_for_line() {
  local file=$1 word=$2 seconds=$3 deadline=$((SECONDS + $3))
  until grep -q "^$word" "$file" 2>/dev/null; do
    if [ $SECONDS -ge $deadline ]; then log "no '$word' in $file within $seconds s"; cat "$file" >&2; return 1; fi
    sleep 0.05
  done
}

# Unix pids of the Wine processes whose command line names the executable.
unix_pids() {
  local name=$1 p
  for p in /proc/[0-9]*; do
    { tr '\0' ' ' <"$p/cmdline"; } 2>/dev/null | grep -qF "\\$name" && echo "${p#/proc/}"
  done
  return 0
}

# Starts EXE through "measure hold" (MODE shown or started) and, once it is
# ready, prints "WINDOWS_PID UNIX_PID".
hold() {
  local exe=$1 class=$2 mode=$3 name before out pid unix
  name=$(basename "$exe")
  before=" $(unix_pids "$name" | tr '\n' ' ') "
  out=$(mktemp "$work/hold-XXXXXX")
  "$BR_WINE" "$measure" hold "$exe" "$class" "$mode" >"$out" 2>&1 </dev/null &
  wait_for_line "$out" ready 60
  pid=$(awk '/^ready/ {print $2}' "$out")
  unix=""
  for p in $(unix_pids "$name"); do
    case "$before" in *" $p "*) ;; *) unix=$p ;; esac
  done
  [ -n "$pid" ] && [ -n "$unix" ] || { log "no Unix process for $name"; return 1; }
  echo "$pid $unix"
}
release() { "$BR_WINE" "$measure" close "$1" >/dev/null 2>&1 </dev/null || true; }

kib() { awk -v k="$2" '$1 == k":" {print $2}' "$1"; }
# "RSS_KIB PRIVATE_KIB FONT_KIB" of a Unix process. FONT_KIB is the part of
# the resident memory that is pages of font files: Wine maps a font file whole
# and FreeType reads each glyph's outline from it, and for every page read the
# kernel maps the 64 KiB around it as well (fault-around). While no other
# process maps those pages they count as private too.
memory_of() {
  local rss private font
  rss=$(kib "/proc/$1/status" VmRSS)
  private=$(awk '$1 == "Private_Clean:" || $1 == "Private_Dirty:" {s += $2} END {print s}' "/proc/$1/smaps_rollup")
  font=$(awk '/^[0-9a-f]+-[0-9a-f]+ / {font = $NF ~ /\.(ttf|ttc|otf)$/}
              font && $1 == "Rss:" {s += $2} END {print s + 0}' "/proc/$1/smaps")
  echo "$rss $private $font"
}
# "CPU_TICKS SWITCHES" of a Unix process (ticks of 1/CLK_TCK s).
cost_of() {
  local cpu switches
  cpu=$(sed 's/^.*) //' "/proc/$1/stat" | awk '{print $12 + $13}')
  switches=$(awk '$1 == "voluntary_ctxt_switches:" || $1 == "nonvoluntary_ctxt_switches:" {s += $2} END {print s}' "/proc/$1/status")
  echo "$cpu $switches"
}

# Samples: one file per series, one number a line.
sample() { echo "$2" >>"$work/$1.samples"; }

# --- start-up ---------------------------------------------------------------

log "start-up: $runs runs of each, alternating (plus one warm-up)"
"$BR_WINE" "$measure" startup "$program" "$program_class" "$baseline" "$baseline_class" 1 >/dev/null </dev/null
"$BR_WINE" "$measure" startup "$program" "$program_class" "$baseline" "$baseline_class" "$runs" \
  </dev/null >"$work/startup.out"
awk '$1 == "startup" && $2 == "program" {print $3}' "$work/startup.out" >"$work/startup_program.samples"
awk '$1 == "startup" && $2 == "baseline" {print $3}' "$work/startup.out" >"$work/startup_baseline.samples"

# --- memory -----------------------------------------------------------------

log "memory: $runs runs of each"
for ((i = 0; i < runs; i++)); do
  read -r wp up < <(hold "$program" "$program_class" shown)
  read -r rss private font < <(memory_of "$up"); read -r cpu switches < <(cost_of "$up"); release "$wp"
  sample rss_program "$rss"; sample private_program "$private"; sample font_program "$font"
  sample startcpu_program "$((cpu * 1000 / $(getconf CLK_TCK)))"; sample startswitches_program "$switches"
  read -r wp up < <(hold "$program" "$program_class" started)
  read -r rss private font < <(memory_of "$up"); release "$wp"
  sample rss_started "$rss"; sample private_started "$private"
  read -r wb ub < <(hold "$baseline" "$baseline_class" shown)
  read -r rss private font < <(memory_of "$ub"); read -r cpu switches < <(cost_of "$ub"); release "$wb"
  sample rss_baseline "$rss"; sample private_baseline "$private"; sample font_baseline "$font"
  sample startcpu_baseline "$((cpu * 1000 / $(getconf CLK_TCK)))"; sample startswitches_baseline "$switches"
done

# --- idle cost --------------------------------------------------------------

log "idle cost: $runs instances of each idling together for $idle_seconds s"
declare -a idle_windows=() idle_unix=() idle_kind=()
for ((i = 0; i < runs; i++)); do
  read -r w u < <(hold "$program" "$program_class" started)
  idle_windows+=("$w"); idle_unix+=("$u"); idle_kind+=(program)
  read -r w u < <(hold "$baseline" "$baseline_class" shown)
  idle_windows+=("$w"); idle_unix+=("$u"); idle_kind+=(baseline)
done
declare -a cost_before=()
for u in "${idle_unix[@]}"; do cost_before+=("$(cost_of "$u")"); done
# The measurement window itself: every instance idles meanwhile.
sleep "$idle_seconds"
for k in "${!idle_unix[@]}"; do
  read -r c0 s0 <<<"${cost_before[$k]}"
  read -r c1 s1 < <(cost_of "${idle_unix[$k]}")
  sample "cpu_${idle_kind[$k]}" "$(awk -v a="$c0" -v b="$c1" -v t="$(getconf CLK_TCK)" 'BEGIN {print (b - a) * 1000 / t}')"
  sample "switches_${idle_kind[$k]}" $((s1 - s0))
done
for w in "${idle_windows[@]}"; do release "$w"; done

# --- picture window ---------------------------------------------------------

log "picture window: $runs runs"
"$BR_WINE" "$measure" picture "$program" "$runs" </dev/null >"$work/picture.out" || log "some picture runs failed"
for what in visible painted validated; do
  awk -v w="$what" '$1 == "picture" && $2 == w {print $3}' "$work/picture.out" >"$work/picture_$what.samples"
done

# --- nesting ----------------------------------------------------------------

log "nesting: $runs runs of $nesting_levels levels"
for ((i = 0; i < runs; i++)); do
  "$BR_WINE" "$measure" nesting "$program" "$nesting_levels" </dev/null >>"$work/nesting.out" || log "a nesting run fell short"
done
awk '$1 == "nesting" && $2 == "bytes_per_level" {print $3}' "$work/nesting.out" >"$work/nesting.samples"

# --- the machine ------------------------------------------------------------

# Not a figure of either program: what a first touch of fresh memory costs
# here, which the picture window's first paint pays for every page of its
# surface and of Wine's stretching buffers.
"$BR_WINE" "$measure" pagefault "$runs" </dev/null >"$work/pagefault.out"
awk '$1 == "pagefault" {print $3}' "$work/pagefault.out" >"$work/pagefault.samples"

# --- size -------------------------------------------------------------------

sample size32_program "$(stat -c %s "$root/build/win32/break-reminder.exe")"
sample size64_program "$(stat -c %s "$root/build/win32-x64/break-reminder.exe")"
if [ "$arch" = i686 ]; then b32=$baseline_exe b64=$baseline_other; else b32=$baseline_other b64=$baseline_exe; fi
sample size32_baseline "$(stat -c %s "$b32")"
sample size64_baseline "$(stat -c %s "$b64")"

# --- the table and the JSON -------------------------------------------------

/usr/bin/python3 - "$work" "$root/build/benchmark.json" "$arch" "$runs" "$idle_seconds" "$nesting_levels" <<'EOF'
import json, statistics, sys
work, out, arch, runs, idle = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4]), int(sys.argv[5])
levels = int(sys.argv[6])

def stats(name):
    try:
        values = [float(v) for v in open(f"{work}/{name}.samples").read().split()]
    except FileNotFoundError:
        values = []
    if not values:
        return None
    return {"median": statistics.median(values), "min": min(values), "max": max(values), "runs": len(values)}

rows = []
def row(figure, unit, program, baseline, compare, target, met):
    rows.append({"figure": figure, "unit": unit, "break_reminder": program, "baseline": baseline,
                 "comparison": compare, "target": target, "met": met})

def ratio_row(figure, p, b, limit):
    ps, bs = stats(p), stats(b)
    r = ps["median"] / bs["median"] if ps and bs and bs["median"] else None
    row(figure, "ms", ps, bs, {"ratio": r}, f"at most {limit:.2f} x baseline",
        None if r is None else r <= limit)

def diff_row(figure, p, b, limit_kib):
    ps, bs = stats(p), stats(b)
    d = ps["median"] - bs["median"] if ps and bs else None
    row(figure, "KiB", ps, bs, {"difference": d}, f"at most {limit_kib // 1024} MiB above baseline",
        None if d is None else d <= limit_kib)

def not_more_row(figure, unit, p, b):
    ps, bs = stats(p), stats(b)
    d = ps["median"] - bs["median"] if ps and bs else None
    row(figure, unit, ps, bs, {"difference": d}, "no more than baseline", None if d is None else d <= 0)

ratio_row("start-up", "startup_program", "startup_baseline", 1.10)
# What start-up costs the process itself, less disturbed by other load than
# the elapsed time: CPU time (10 ms steps) and context switches (Wine server
# calls) until the window is up.
for name, unit, series in (("  (start-up CPU time)", "ms", "startcpu"),
                           ("  (start-up context switches)", "count", "startswitches")):
    ps, bs = stats(f"{series}_program"), stats(f"{series}_baseline")
    r = ps["median"] / bs["median"] if ps and bs and bs["median"] else None
    row(name, unit, ps, bs, {"ratio": r}, "(information)", None)
diff_row("memory RSS after start-up", "rss_program", "rss_baseline", 2048)
diff_row("memory private after start-up", "private_program", "private_baseline", 2048)
diff_row("memory RSS after 开始", "rss_started", "rss_baseline", 2048)
diff_row("memory private after 开始", "private_started", "private_baseline", 2048)
ps, bs = stats("font_program"), stats("font_baseline")
row("  (of the RSS after start-up: font file pages)", "KiB", ps, bs,
    {"difference": ps["median"] - bs["median"] if ps and bs else None}, "(information)", None)
not_more_row(f"idle CPU time over {idle} s", "ms", "cpu_program", "cpu_baseline")
not_more_row(f"idle context switches over {idle} s", "count", "switches_program", "switches_baseline")
for what, target in (("painted", True), ("visible", False), ("validated", False)):
    ps = stats(f"picture_{what}")
    label = {"painted": "picture window: OK to picture on screen",
             "visible": "  (OK to window visible)",
             "validated": "  (OK to update region empty)"}[what]
    row(label, "ms", ps, None, {}, "under 50 ms" if target else "(information)",
        (ps["median"] < 50 if ps else None) if target else None)
for bits, name in (("32-bit", "size32"), ("x86_64", "size64")):
    ps, bs = stats(f"{name}_program"), stats(f"{name}_baseline")
    row(f"size, {bits} exe", "bytes", ps, bs, {"difference": ps["median"] - bs["median"]},
        "at most 256 KiB", ps["median"] <= 256 * 1024)
row("machine: first write to a fresh page", "us", stats("pagefault"), None, {}, "(information)", None)
ns = stats("nesting")
row(f"nesting: stack per reminder cycle ({arch})", "bytes", ns, None, {}, "reported", None if ns is None else True)
rows[-1]["levels"] = levels

def show(s, unit):
    if s is None:
        return "not measured"
    if unit == "us":
        return f"{s['median']:.2f} [{s['min']:.2f}..{s['max']:.2f}] {unit}"
    if s["runs"] == 1 or s["min"] == s["max"]:
        return f"{s['median']:.0f} {unit}" if unit in ("bytes", "count", "KiB") else f"{s['median']:.1f} {unit}"
    fmt = "{:.0f}" if unit in ("bytes", "count", "KiB") else "{:.1f}"
    return f"{fmt.format(s['median'])} [{fmt.format(s['min'])}..{fmt.format(s['max'])}] {unit}"

def show_compare(c, unit):
    if "ratio" in c:
        return "n/a" if c["ratio"] is None else f"{c['ratio']:.2f} x"
    if "difference" in c:
        return "n/a" if c["difference"] is None else f"{c['difference']:+.0f} {unit}"
    return ""

table = [("figure", "break-reminder", "baseline", "ratio/difference", "target", "met?")]
for r in rows:
    met = "" if r["met"] is None else ("yes" if r["met"] else "NO")
    table.append((r["figure"], show(r["break_reminder"], r["unit"]),
                  "" if r["baseline"] is None else show(r["baseline"], r["unit"]),
                  show_compare(r["comparison"], r["unit"]), r["target"], met))
widths = [max(len(t[i]) for t in table) for i in range(6)]
print(f"break-reminder benchmark ({arch} under Wine; median [min..max] of {runs} runs)")
for k, t in enumerate(table):
    print("| " + " | ".join(t[i].ljust(widths[i]) for i in range(6)) + " |")
    if k == 0:
        print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
json.dump({"arch": arch, "runs": runs, "idle_seconds": idle, "figures": rows}, open(out, "w"),
          ensure_ascii=False, indent=2)
print(f"written: {out}")
EOF
