#!/usr/bin/env bash
# Installs what is missing, builds, starts a virtual display and a private
# PulseAudio server with a null sink, runs every test, and stops them again.
set -euo pipefail
source "$(dirname "$0")/common.sh"

lumivane_install_packages
if lumivane_sanitizing; then
    # Every report fails the program that made it, the build's sample
    # generator included. Leaks count too, but for those of the system's
    # libraries, which keep what they allocated until the process ends.
    export ASAN_OPTIONS="detect_leaks=1"
    export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
    export LSAN_OPTIONS="suppressions=$LUMIVANE_ROOT/scripts/sanitize-leaks.supp:print_suppressions=0"
fi
werror=OFF
[ -n "${CI:-}" ] && werror=ON
lumivane_build -DLUMIVANE_WERROR="$werror"

session="$(mktemp -d /tmp/lumivane-test.XXXXXX)"
xvfb_pid=""
silence_pid=""
cleanup() {
    [ -n "$silence_pid" ] && kill "$silence_pid" 2>/dev/null || true
    if [ -n "${PULSE_SERVER:-}" ]; then
        pactl exit >/dev/null 2>&1 || true
    fi
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    pkill -u "$(id -u)" -f "speech-dispatcher.*$session" 2>/dev/null || true
    rm -rf "$session"
}
trap cleanup EXIT

start_display() {
    exec 3<> "$session/displayfd"
    # Without -noreset the server resets whenever its last client leaves, and
    # a test that connects during that reset cannot reach the display.
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset +extension GLX >"$session/xvfb.log" 2>&1 &
    xvfb_pid=$!
    local number=""
    for _ in $(seq 1 100); do
        number="$(head -n1 "$session/displayfd" 2>/dev/null || true)"
        [ -n "$number" ] && break
        sleep 0.1
    done
    exec 3>&-
    [ -n "$number" ] || { echo "Xvfb did not start"; cat "$session/xvfb.log"; return 1; }
    export DISPLAY=":$number"
}

start_audio() {
    export XDG_RUNTIME_DIR="$session/runtime"
    mkdir -m 700 -p "$XDG_RUNTIME_DIR"
    export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse/native"
    pulseaudio -D -n --exit-idle-time=-1 --disallow-exit=false \
        --load="module-null-sink sink_name=null" \
        --load="module-native-protocol-unix" >"$session/pulse.log" 2>&1 || true
    for _ in $(seq 1 50); do
        pactl info >/dev/null 2>&1 && break
        sleep 0.1
    done
    if ! pactl set-default-sink null >/dev/null 2>&1; then
        echo "PulseAudio did not start; audio tests will skip"
        cat "$session/pulse.log"
        return 0
    fi
    # An idle null sink renders in blocks of about a second, so a recorder
    # would wait that long for its first samples; a stream of silence keeps
    # it at low latency without changing what is heard.
    pacat --raw --playback -d null --latency-msec=20 --format=s16le --rate=44100 --channels=1 \
        </dev/zero >/dev/null 2>&1 &
    silence_pid=$!
}

start_display
start_audio
export QT_MEDIA_BACKEND=gstreamer
export LIBGL_ALWAYS_SOFTWARE=1

cd "$LUMIVANE_BUILD"
# Qt 6.4's GStreamer media player can, rarely, hang inside
# QMediaPlayer::setSource. A test that plays sound and runs into its
# timeout is therefore run again, at most twice more; a sound test that
# fails in any other way fails the run at once. The sound tests take one
# lock and run one after the other, so their pass costs little extra time.
sound_retries=(--repeat after-timeout:3)
if lumivane_sanitizing; then
    # The graphics driver is unloaded before the leak check, and what it
    # held then looks leaked with no frame to tell it by: the tests on the
    # virtual display run without the leak check.
    no_leak_check="$ASAN_OPTIONS:detect_leaks=0"
    ctest --output-on-failure -j "$(nproc)" --timeout 300 -LE 'gl|audio'
    ASAN_OPTIONS="$no_leak_check" ctest --output-on-failure -j "$(nproc)" --timeout 300 -L gl -LE audio
    ctest --output-on-failure -j "$(nproc)" --timeout 300 -L audio -LE gl "${sound_retries[@]}"
    ASAN_OPTIONS="$no_leak_check" ctest --output-on-failure -j "$(nproc)" --timeout 300 -L 'gl\+audio' "${sound_retries[@]}"
else
    ctest --output-on-failure -j "$(nproc)" --timeout 300 -LE audio
    ctest --output-on-failure -j "$(nproc)" --timeout 300 -L audio "${sound_retries[@]}"
fi

# The package-opening fuzzer needs clang; without it the run is skipped. It
# builds with the sanitizers of its own accord, so the sanitizer run skips it.
if ! lumivane_sanitizing && command -v clang++ >/dev/null 2>&1; then
    "$LUMIVANE_ROOT/fuzz/run-fuzz.sh"
fi
