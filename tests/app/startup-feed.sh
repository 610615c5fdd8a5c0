#!/bin/sh
# `tormel FILE` opens the feed file at start: the program, run offscreen until its main
# window is painted, puts the file first in its recent list. A file it refused would not
# be there. Usage: startup-feed.sh TORMEL EXAMPLE_FEED
set -eu
tormel=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
feed="$home/ТП 1.tormel.json"
cp "$2" "$feed"
HOME=$home XDG_CONFIG_HOME=$home/.config XDG_RUNTIME_DIR=$home QT_QPA_PLATFORM=offscreen \
    TORMEL_EXIT_AFTER_SHOW=1 "$tormel" "$feed"
grep -F "recent=$feed" "$home/.config/tormel/tormel.conf"
