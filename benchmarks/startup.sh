#!/usr/bin/env bash
# Start-up time of the desktop program to its first painted main window, against a
# minimal Qt Widgets window of the same size, measured alternately in the same run, on
# the offscreen platform and under Xvfb. Prints the medians of each and their ratios:
#
#   to first frame  from the start of the process to the end of the first paint of the
#                   whole window (each program prints the moment; see app/main.cpp);
#   to exit         from the start of the process to its end right after that paint, the
#                   tearing down of the windows included.
#
#   benchmarks/startup.sh [runs] [path to tormel] [platforms]
#
# `platforms` is "offscreen xvfb" unless given; xvfb is skipped when Xvfb is missing.
# The program ends itself right after its first paint when TORMEL_EXIT_AFTER_SHOW is set.
set -euo pipefail
cd "$(dirname "$0")/.."

runs="${1:-30}"
tormel="${2:-build/release/app/tormel}"
platforms="${3:-offscreen xvfb}"

if [ ! -x "$tormel" ]; then
    echo "Building $tormel (release preset)..." >&2
    cmake --preset release >/dev/null
    cmake --build --preset release --target tormel >/dev/null
fi

work="$(mktemp -d)"
xvfb_pid=""
cleanup() {
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# The reference: an empty window of the main window's size that quits after its first
# paint, printing the moment the paint was done as tormel does.
cat >"$work/minimal.cpp" <<'CPP'
#include <QApplication>
#include <QWidget>

#include <chrono>
#include <cstdio>

class ExitAfterFirstPaint : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(
                    qApp,
                    [] {
                        const auto now = std::chrono::system_clock::now().time_since_epoch();
                        std::printf("first-frame %lld\n",
                                    static_cast<long long>(
                                            std::chrono::nanoseconds(now).count()));
                        std::fflush(stdout);
                        QCoreApplication::quit();
                    },
                    Qt::QueuedConnection);
        }
        return false;
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("minimal"));
    window.resize(706, 556);
    ExitAfterFirstPaint exitAfterFirstPaint;
    window.installEventFilter(&exitAfterFirstPaint);
    window.show();
    return QApplication::exec();
}
CPP
# shellcheck disable=SC2046
g++ -std=c++17 -O2 -fPIC "$work/minimal.cpp" -o "$work/minimal" $(pkg-config --cflags --libs Qt6Widgets)

# "FIRST_FRAME_MS EXIT_MS" of one run, with a resolution of microseconds.
run_ms() {
    local start end frame
    start=$(date +%s%N)
    frame=$(TORMEL_EXIT_AFTER_SHOW=1 "$1" 2>/dev/null | awk '/^first-frame / { print $2 }')
    end=$(date +%s%N)
    if [ -z "$frame" ]; then
        echo "$1 did not report its first frame" >&2
        exit 1
    fi
    awk -v s="$start" -v f="$frame" -v e="$end" \
        'BEGIN { printf "%.3f %.3f\n", (f - s) / 1000000, (e - s) / 1000000 }'
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.3f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Runs both programs alternately on the platform set in the environment and prints the
# medians and ratios under `title`.
measure() {
    local title="$1"
    # One warm-up run of each, so that both start from a warm file cache.
    run_ms "$work/minimal" >/dev/null
    run_ms "$tormel" >/dev/null
    : >"$work/minimal.times"
    : >"$work/tormel.times"
    for ((i = 0; i < runs; i++)); do
        run_ms "$work/minimal" >>"$work/minimal.times"
        run_ms "$tormel" >>"$work/tormel.times"
    done
    local mf me tf te
    mf=$(cut -d' ' -f1 <"$work/minimal.times" | median)
    me=$(cut -d' ' -f2 <"$work/minimal.times" | median)
    tf=$(cut -d' ' -f1 <"$work/tormel.times" | median)
    te=$(cut -d' ' -f2 <"$work/tormel.times" | median)
    echo "Start-up, $title, median of $runs runs each:   to first frame     to exit"
    printf '  minimal Qt Widgets window        %12.1f ms %11.1f ms\n' "$mf" "$me"
    printf '  tormel main window               %12.1f ms %11.1f ms\n' "$tf" "$te"
    awk -v a="$tf" -v b="$mf" -v c="$te" -v d="$me" \
        'BEGIN { printf "  ratio tormel / minimal           %12.2f    %11.2f\n", a / b, c / d }'
}

for platform in $platforms; do
    case "$platform" in
    offscreen)
        QT_QPA_PLATFORM=offscreen measure "offscreen"
        ;;
    xvfb)
        if ! command -v Xvfb >/dev/null; then
            echo "Xvfb is not installed; skipped." >&2
            continue
        fi
        # One server for all runs; it picks a free display and writes its number.
        Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
        xvfb_pid=$!
        for ((n = 0; n < 100; n++)); do
            if [ -s "$work/display" ]; then break; fi
            sleep 0.05
        done
        DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb measure "Xvfb"
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=""
        ;;
    *)
        echo "unknown platform: $platform" >&2
        exit 2
        ;;
    esac
done
