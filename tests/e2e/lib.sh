# Shared helpers of the real-window tests: a private X server with a window manager, a diary
# folder and a config folder of their own, and small checks. Source it; it cleans up on exit.

set -Eeuo pipefail

daybrook_binary=$(realpath "$1")
work=$(mktemp -d)
# The diary's own folder under the test's data home, where the diary works wherever it starts.
export XDG_DATA_HOME="$work/data"
diary="$XDG_DATA_HOME/daybrook"
config="$work/config"
mkdir -p "$config" "$XDG_DATA_HOME"
mkdir -m 700 "$diary"
pids=()

cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
# A command that fails where the test does not check it still names itself.
trap 'echo "FAIL: line $LINENO of ${BASH_SOURCE[0]##*/}: $BASH_COMMAND" >&2' ERR

# Starts Xvfb and openbox on a free display; exits with 77 (skipped) where Xvfb is missing.
start_display() {
    if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
        echo "SKIPPED: Xvfb or xdotool is not installed" >&2
        exit 77
    fi
    # The server picks its display and writes the number once it is ready: two tests that chose
    # a free number themselves could both take the same one, and share one window manager.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    [ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    export DISPLAY=":$(head -n 1 "$work/display")"
    # A loaded machine may take a while before the server answers its first client.
    for _ in $(seq 100); do xprop -root >/dev/null 2>&1 && break; sleep 0.1; done
    if command -v openbox >/dev/null; then
        # A window mapped before the window manager has taken the screen stays unmanaged, so
        # wait until openbox announces itself on the root window; one that gave up is started
        # again. openbox announces itself before it has finished starting; a second more lets it
        # settle.
        local announced="" openbox_pid=""
        for _ in $(seq 300); do
            if [ -z "$openbox_pid" ] || ! kill -0 "$openbox_pid" 2>/dev/null; then
                openbox >>"$work/openbox.log" 2>&1 &
                openbox_pid=$!
                pids+=("$openbox_pid")
            fi
            xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && announced=yes && break
            sleep 0.1
        done
        [ -n "$announced" ] || fail "openbox did not start: $(cat "$work/openbox.log") $(cat "$work/xvfb.log")"
        sleep 1
    fi
    export QT_QPA_PLATFORM=xcb
    export XDG_CONFIG_HOME="$config"
    export XDG_RUNTIME_DIR="$work/runtime"
    mkdir -m 700 -p "$XDG_RUNTIME_DIR"
}

# Starts the diary, from a folder other than the diary's, with the clock set to the given local time, in the
# background; its pid is left in $diary_pid. libfaketime is preloaded directly (not through its
# wrapper, which would stand between the test and the diary's process) and leaves the monotonic
# clock alone, so Qt's timers run in real time.
start_diary() {
    local clock="$1"
    shift
    local library
    library=$(dpkg -L libfaketime 2>/dev/null | grep -m1 '/libfaketime.so.1$') || fail "libfaketime is missing"
    (cd "$work" && FAKETIME="@$clock" FAKETIME_DONT_FAKE_MONOTONIC=1 LD_PRELOAD="$library" \
        exec "$daybrook_binary" "$@") >"$work/diary.log" 2>&1 &
    diary_pid=$!
    pids+=("$diary_pid")
}

# Waits up to the given seconds for the diary to end; fails if it does not.
wait_for_exit() {
    local seconds="$1"
    for _ in $(seq $((seconds * 10))); do
        if ! kill -0 "$diary_pid" 2>/dev/null; then
            local status=0
            wait "$diary_pid" || status=$?
            [ "$status" -eq 0 ] || fail "the diary ended with status $status: $(cat "$work/diary.log")"
            return
        fi
        sleep 0.1
    done
    # What it still shows, and where each of its threads waits: in the kernel, and in the
    # program where a debugger is at hand.
    local shown waits stacks=""
    shown=$( (xdotool search --onlyvisible --pid "$diary_pid" getwindowname %@ 2>/dev/null || true) | paste -sd '|')
    waits=$(for task in /proc/"$diary_pid"/task/*; do printf '%s ' "$(cat "$task/wchan" 2>/dev/null || true)"; done)
    if command -v gdb >/dev/null; then
        stacks=$(timeout 60 gdb -batch -p "$diary_pid" -ex 'thread apply all bt' 2>/dev/null | grep -E '^(#|Thread)' || true)
    fi
    fail "the diary was still running after $seconds s (line ${BASH_LINENO[0]} of ${BASH_SOURCE[1]##*/}), showing: ${shown:-no window}; its threads wait in: ${waits:-?}; $(cat "$work/diary.log")${stacks:+$'\n'$stacks}"
}

# Runs the diary with the given clock and arguments until it closes by itself (within 10 s), and
# leaves how long it ran, in milliseconds, in $run_ms.
run_until_closed() {
    local start
    start=$(date +%s%N)
    start_diary "$@"
    wait_for_exit 10
    run_ms=$(( ($(date +%s%N) - start) / 1000000 ))
}

# The first visible window that `xdotool search` finds with the given arguments, all of them met
# (xdotool takes a window that meets any one: another diary's by its name), waiting up to the
# given seconds for one. The search is tried again rather than left to xdotool's own wait, which
# gives up when a window it looks at goes away meanwhile (a menu, a tooltip).
await_window() {
    local seconds="$1" found=""
    shift
    for _ in $(seq $((seconds * 10))); do
        found=$(xdotool search --all --onlyvisible "$@" 2>/dev/null | head -n 1) || true
        [ -n "$found" ] && echo "$found" && return 0
        sleep 0.1
    done
    return 1
}

# The diary's main window, once it is mapped.
diary_window() {
    local window
    window=$(await_window 20 --pid "$diary_pid" --name '^Daybrook') ||
        fail "no diary window appeared: $(cat "$work/diary.log")"
    echo "$window"
}

# The window's outer frame, title bar and borders included, as "x y width height": the client
# area's place and size on the screen (xwininfo; xdotool counts the frame's offset twice)
# widened by the frame the window manager reports.
outer_frame() {
    local window="$1" info x y width height left right top bottom
    info=$(xwininfo -id "$window")
    x=$(awk '/Absolute upper-left X/ {print $NF}' <<<"$info")
    y=$(awk '/Absolute upper-left Y/ {print $NF}' <<<"$info")
    width=$(awk '/^ *Width:/ {print $NF}' <<<"$info")
    height=$(awk '/^ *Height:/ {print $NF}' <<<"$info")
    read -r left right top bottom < <(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= *//; s/,//g')
    echo "$((x - left)) $((y - top)) $((width + left + right)) $((height + top + bottom))"
}

# Waits up to 20 s for the window's outer frame to be the given "x y width height".
expect_outer_frame() {
    local window="$1" expected="$2" frame=""
    for _ in $(seq 200); do
        frame=$(outer_frame "$window")
        [ "$frame" = "$expected" ] && return
        sleep 0.1
    done
    fail "the window's frame is at $frame, not at $expected"
}

# Waits for a window of that caption, gives it the keyboard and, when asked, keeps a picture.
window_named() {
    local found
    found=$(await_window 10 --name "^$1\$") || fail "$1 did not open"
    focus_window "$found"
    if [ -n "${DAYBROOK_SCREENSHOTS:-}" ]; then import -window root "$DAYBROOK_SCREENSHOTS/${2:-dialog}.png"; fi
}

# Gives the window the keyboard and waits, up to 20 s, until it has it: on a busy machine the
# window manager may not have handed it over when xdotool's own wait ends, and keys sent then go
# to another window.
focus_window() {
    local window="$1"
    for _ in $(seq 100); do
        timeout 10 xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
        [ "$(xdotool getwindowfocus 2>/dev/null)" = "$window" ] && return
        sleep 0.2
    done
    fail "the window $window did not take the keyboard"
}

# Waits up to 20 s for no window of that caption to be shown.
gone() {
    for _ in $(seq 200); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "$1 is still open"
}

# Closes the window the way a user does, through the window manager.
close_window() {
    focus_window "$1"
    xdotool key --clearmodifiers alt+F4
}

# Takes pictures of the window into the file until one shows at least the given number of pixels
# of the colour (RRGGBB), for up to 20 s: a loaded machine paints late. Fails with the message.
await_picture() {
    local window="$1" file="$2" colour="$3" least="$4" message="$5"
    for _ in $(seq 100); do
        if import -window "$window" "$file" 2>/dev/null && [ "$(pixels_of "$file" "$colour")" -ge "$least" ]; then
            return
        fi
        sleep 0.2
    done
    fail "$message"
}

# Writes an entry file: name, memo, date text, file field, yearly, red.
write_entry() {
    local name="$1" text="$2" date="$3" file="$4" yearly="$5" red="$6"
    {
        printf '%s' "$text"; head -c $((81 - ${#text})) /dev/zero
        printf '%s' "$date"; head -c $((9 - ${#date})) /dev/zero
        printf '%s' "$file"; head -c $((13 - ${#file})) /dev/zero
        int32 "$yearly"; int32 "$red"
    } >"$diary/$name"
}

# A little-endian 32-bit integer.
int32() {
    local value=$(( $1 & 0xFFFFFFFF ))
    printf "$(printf '\\%03o\\%03o\\%03o\\%03o' $((value & 255)) $(((value >> 8) & 255)) \
        $(((value >> 16) & 255)) $(((value >> 24) & 255)))"
}

# The yearly field of an entry file, as a signed number.
yearly_of() {
    local value
    value=$(od -An -t d4 -j 103 -N 4 "$diary/$1" | tr -d ' ')
    echo "$value"
}

expect_file() { [ -e "$1" ] || fail "expected $1 to exist"; }
# Waits up to 20 s for a file the diary writes, and fails if it does not come.
wait_for_file() {
    for _ in $(seq 200); do [ -e "$1" ] && return; sleep 0.1; done
    fail "expected $1 to exist"
}
expect_no_file() { [ ! -e "$1" ] || fail "expected $1 to be gone"; }

# How many pixels of a screenshot have exactly this colour (RRGGBB): made transparent, they are
# counted by the mean of the alpha channel, without listing every pixel as text.
pixels_of() {
    convert "$1" -alpha off -transparent "#$2" -alpha extract -negate -format '%[fx:round(mean*w*h)]' info:
}
