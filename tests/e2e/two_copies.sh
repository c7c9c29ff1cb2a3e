# Two copies of the application, A and B, each in its own network namespace
# (joined by a veth pair) and on its own Xvfb, and the steps that drive them.
# Sourced by the end-to-end test and the propagation benchmark, with $build
# set to the build folder. Calls skip (exit 77) where it cannot run; the
# EXIT trap ends only the processes it started, by PID, and removes what it
# made.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# Every bound of these scripts is this many times longer where the build's
# programs run several times slower (the sanitized build sets it).
factor=${TIME_FACTOR:-1}
launcher=$(cd "$here/../../scripts" && pwd)/i386-launcher.sh
app=$build/bin/tavrin

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*"; failed=1; }

[ "$(id -u)" -eq 0 ] || skip "needs root to make network namespaces"
for tool in ip Xvfb xclip xdotool ss sha256sum; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done
[ -x "$app" ] || skip "$app is not built"

# The image must bind every import, or it would stop in the loader's alerts.
unbound=$("$launcher" "$build/bin/test_app" --gtest_filter='TavrinImage.EveryImportIsBoundByTheRuntime' 2>&1 |
  grep -o 'imports not bound yet:.*' | head -1)
[ -z "$unbound" ] || skip "the runtime does not provide every entry point the application uses ($unbound)"

tag=tv$$
nsA=${tag}a nsB=${tag}b
addressA=10.213.0.1 addressB=10.213.0.2
pids=()
failed=0

# Whether the process is still one this script started. A process that
# ended (an xclip that lost the clipboard) gives its PID back to the system,
# which can hand it to any other program meanwhile: such a PID is not ended.
ours() { [ "$(sed -n 's/^PPid:[[:space:]]*//p' "/proc/$1/status" 2>/dev/null)" = "$$" ]; }
end_ours() { ours "$1" && kill "$1" 2>/dev/null; }

cleanup() {
  for pid in "${pids[@]}"; do end_ours "$pid"; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
  ip netns del "$nsA" 2>/dev/null
  ip netns del "$nsB" 2>/dev/null
  rm -rf "$work"
}
work=$(mktemp -d)
trap cleanup EXIT

ip netns add "$nsA" && ip netns add "$nsB" || skip "network namespaces cannot be made here"
ip link add "${tag}va" type veth peer name "${tag}vb" || skip "no veth pairs here"
ip link set "${tag}va" netns "$nsA"
ip link set "${tag}vb" netns "$nsB"
ip -n "$nsA" addr add "$addressA/24" dev "${tag}va"
ip -n "$nsB" addr add "$addressB/24" dev "${tag}vb"
for ns in "$nsA" "$nsB"; do
  ip -n "$ns" link set lo up
done
ip -n "$nsA" link set "${tag}va" up
ip -n "$nsB" link set "${tag}vb" up

# Sets displayA or displayB: each side's X server picks a free display number itself and writes it once
# it accepts clients, so runs going on at the same time never share a display.
start_xvfb() {
  local fifo="$work/display$1"
  mkfifo "$fifo"
  # -r: no auto-repeat, so that a key xdotool holds down while a loaded
  # machine delays its release is not typed again and again.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset -r 3>"$fifo" >/dev/null 2>&1 &
  pids+=($!)
  local number
  read -r -t 30 number <"$fifo"
  [ -n "$number" ] || { echo "Xvfb did not start" >&2; exit 1; }
  printf -v "display$1" '%s' "$number"
}
start_xvfb A
start_xvfb B

# Runs a command in a side's namespace on its display.
on() {
  local side=$1
  shift
  local ns=$nsA display=$displayA
  [ "$side" = B ] && ns=$nsB display=$displayB
  DISPLAY=":$display" ip netns exec "$ns" "$@"
}

# The same, in the background as one process: its PID is the command's, so
# that ending it by PID ends the command itself.
on_background() {
  local side=$1
  shift
  local ns=$nsA display=$displayA
  [ "$side" = B ] && ns=$nsB display=$displayB
  (export DISPLAY=":$display"; exec ip netns exec "$ns" "$@") &
}

declare -A appPid clipPid
start_app() {
  on_background "$1" "$launcher" "$app" >"$work/app$1.log" 2>&1
  appPid[$1]=$!
  pids+=($!)
  wait_for 60 "the main window of $1" on "$1" xdotool search --name '^Vadezezidev$'
}

# wait_for SECONDS WHAT COMMAND...: polls until the command succeeds.
wait_for() {
  local seconds=$1 what=$2
  shift 2
  local until=$((SECONDS + seconds * factor))
  while ! "$@" >/dev/null 2>&1; do
    if [ $SECONDS -ge $until ]; then
      fail "waited $((seconds * factor))s for $what"
      return 1
    fi
    sleep 0.1
  done
}

listening() { on "$1" ss -ltn "sport = :7582" | grep -q 7582; }
connected() { on "$1" ss -tn state established "( sport = :7582 or dport = :7582 )" | grep -q 7582; }

# Owns the side's clipboard with the file's bytes (the previous owner ends).
copy_on() {
  local side=$1 file=$2
  [ -n "${clipPid[$side]:-}" ] && end_ours "${clipPid[$side]}"
  on_background "$side" xclip -selection clipboard -i -quiet "$file" >/dev/null 2>&1
  clipPid[$side]=$!
  pids+=($!)
}
# A reading that hangs (a chunked transfer from a busy owner) counts as a
# mismatch after 20 s, so the callers' bounded loops go on.
clipboard_of() { on "$1" timeout $((20 * factor)) xclip -selection clipboard -o 2>/dev/null; }
same_clipboard() { cmp -s <(clipboard_of "$1") "$2"; }
# Owns the side's clipboard with the file's bytes, again while the side's own
# clipboard does not show them (xclip may fail to reach a busy display).
copy_until_shown() {
  local side=$1 file=$2 attempt
  for attempt in 1 2 3 4; do
    copy_on "$side" "$file"
    wait_for_quietly 10 same_clipboard "$side" "$file" && return 0
  done
  fail "the copy on $side never showed its text"
  return 1
}


# Copies the file on one side and times its arrival on the other. Only when
# it has not arrived is the copy made again, until its own side shows it
# (reading a large text back on the copying side while the copy sends it
# would slow the very transfer being timed).
propagate() {
  local from=$1 to=$2 file=$3 label=$4
  local start=$(date +%s%N)
  copy_on "$from" "$file"
  if wait_for_quietly 10 same_clipboard "$to" "$file" ||
    { copy_until_shown "$from" "$file" && wait_for 10 "$label to reach $to" same_clipboard "$to" "$file"; }; then
    echo "propagation $label ($from -> $to): $((($(date +%s%N) - start) / 1000000)) ms"
  fi
}

# Bytes sent and received on the side's connection.
byte_counters() { on "$1" ss -tni state established "( sport = :7582 or dport = :7582 )" | grep -o 'bytes_\(acked\|received\):[0-9]*' | tr '\n' ' '; }

# The side clicks Connect, types the address and confirms with Return; the
# click and the key again while their effect does not show (input can be
# lost on a loaded machine). The Connect button sits at content 258, 46,
# below the menu bar: the X window's height less the 163 pixels of content.
# Without a window manager the window is focused, not activated.
connect_dialog() { on "$1" xdotool search --name '^Connect To\.\.\.$' 2>/dev/null | head -1; }
dial() {
  local side=$1 address=$2 window height dialog="" attempt
  window=$(on "$side" xdotool search --name '^Vadezezidev$' | head -1)
  height=$(on "$side" xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p')
  for attempt in 1 2 3 4; do
    on "$side" xdotool windowfocus --sync "$window" mousemove --window "$window" 258 \
      $((46 + ${height:-163} - 163)) click 1
    wait_for_quietly 10 dialog_shows "$side"
    dialog=$(connect_dialog "$side")
    [ -n "$dialog" ] && break
  done
  [ -n "$dialog" ] || { fail "$side's connect dialog never showed"; return 1; }
  on "$side" xdotool windowfocus --sync "$dialog" type --delay 50 "$address"
  for attempt in 1 2 3 4; do
    on "$side" xdotool windowfocus --sync "$dialog" key Return 2>/dev/null
    wait_for_quietly 10 dialog_gone "$side" && break
  done
  wait_for 20 "$side connected to $address" connected "$side"
}
dialog_shows() { [ -n "$(connect_dialog "$1")" ]; }
dialog_gone() { ! dialog_shows "$1"; }

# wait_for_quietly SECONDS COMMAND...: polls until the command succeeds;
# false when the time passes first.
wait_for_quietly() {
  local until=$((SECONDS + $1 * factor))
  shift
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -ge $until ] && return 1
    sleep 0.1
  done
}
