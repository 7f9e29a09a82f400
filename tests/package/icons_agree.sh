#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tavrolin developers
# The scalable icon and the PNGs are written separately by tools/desktopicons
# (SVG text on one side, QPainter on the other); rendered by librsvg, as
# desktops do, the SVG must show the same picture as the PNG of every size.
# Usage: icons_agree.sh ICON_FOLDER DESKTOP_ID WORK_DIR
set -euo pipefail

icons="$(readlink -f "$1")"
id="$2"
work="$3"
for tool in rsvg-convert compare; do
    command -v "$tool" >/dev/null || { echo "icons_agree: $tool is missing (./dev installs it)" >&2; exit 1; }
done
rm -rf "$work"
mkdir -p "$work"

svg="$icons/hicolor/scalable/apps/$id.svg"
failures=0
for size in 16 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" -o "$work/$size.png" "$svg"
    # Normalised root mean square difference over all channels, alpha too.
    # compare exits 1 whenever the pictures are not identical.
    diff="$(compare -metric RMSE "$work/$size.png" "$icons/hicolor/${size}x${size}/apps/$id.png" null: 2>&1 || true)"
    diff="$(sed -n 's/.*(\(.*\))$/\1/p' <<<"$diff")"
    echo "icons_agree: ${size}x${size}: difference $diff"
    # Edges are smoothed a little differently; anything real is far above this.
    awk -v d="$diff" 'BEGIN { exit !(d != "" && d < 0.04) }' || {
        echo "icons_agree: FAIL: the SVG and the ${size}x${size} PNG differ ($diff)" >&2
        failures=$((failures + 1))
    }
done
[ "$failures" -eq 0 ] || exit 1
echo "icons_agree: passed"
