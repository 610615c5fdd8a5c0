#!/usr/bin/env bash
# Start-up time of the desktop program to its first painted main window, against a
# minimal Qt Widgets window of the same size, both on the offscreen platform and
# measured alternately in the same run. Prints the median of each and their ratio.
#
#   benchmarks/startup.sh [runs] [path to tormel]
#
# The program ends itself right after its first paint when TORMEL_EXIT_AFTER_SHOW is set.
set -euo pipefail
cd "$(dirname "$0")/.."

runs="${1:-30}"
tormel="${2:-build/release/app/tormel}"

if [ ! -x "$tormel" ]; then
    echo "Building $tormel (release preset)..." >&2
    cmake --preset release >/dev/null
    cmake --build --preset release --target tormel >/dev/null
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# The reference: an empty window of the main window's size that quits after its first paint.
cat >"$work/minimal.cpp" <<'EOF'
#include <QApplication>
#include <QWidget>

class ExitAfterFirstPaint : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
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
EOF
# shellcheck disable=SC2046
g++ -std=c++17 -O2 -fPIC "$work/minimal.cpp" -o "$work/minimal" $(pkg-config --cflags --libs Qt6Widgets)

# Milliseconds of one run, with a resolution of microseconds.
run_ms() {
    local start end
    start=$(date +%s%N)
    TORMEL_EXIT_AFTER_SHOW=1 "$1" >/dev/null 2>&1
    end=$(date +%s%N)
    awk -v ns="$((end - start))" 'BEGIN { printf "%.3f\n", ns / 1000000 }'
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.3f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# One warm-up run of each, so that both start from a warm file cache.
run_ms "$work/minimal" >/dev/null
run_ms "$tormel" >/dev/null

: >"$work/minimal.times"
: >"$work/tormel.times"
for ((i = 0; i < runs; i++)); do
    run_ms "$work/minimal" >>"$work/minimal.times"
    run_ms "$tormel" >>"$work/tormel.times"
done

minimal_ms=$(median <"$work/minimal.times")
tormel_ms=$(median <"$work/tormel.times")
ratio=$(awk -v a="$tormel_ms" -v b="$minimal_ms" 'BEGIN { printf "%.2f", a / b }')

echo "Start-up to the first painted window, offscreen, median of $runs runs each:"
printf '  minimal Qt Widgets window  %8.1f ms\n' "$minimal_ms"
printf '  tormel main window         %8.1f ms\n' "$tormel_ms"
echo "  ratio tormel / minimal     ${ratio}"
