#!/usr/bin/env bash
# The README's typical reflection removal run on the example data, with every result saved:
# the compression filter, the compressed waveform 1 and the de-compressed waveform 2
# (result.txt), each as text and as binary. Writes them into OUTDIR with their SHA-256 sums
# (OUTDIR/SHA256SUMS), so that identity fixtures of saved files can be made again in one
# command after a change that moves results (such as the last bits of sin, cos and exp).
# Usage: scripts/typical-run.sh OUTDIR [path/to/refx_lin]   (default build/refx_lin; needs tmux)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "$1" && cd "$1" && pwd)
source "$root/tests/e2e/lib.sh" "${2:-$root/build/refx_lin}"

press() { send_text "$1"; wait_for_text "$2"; [ -z "${3:-}" ] || send_line "$3"; }
answer() { wait_for_text "$1"; send_line "$2"; }
acknowledge() {
  wait_for_text "$1"
  wait_for_text "Press any A/N key to continue"
  send_text k
}
L_MENU="L to remove reflections using a compression filter"
RRC_MENU="G to generate compression filter"
TIME_MENU="B to save both time waveforms to disk"
save_waves() {  # from the reflection removal menu and back: waveforms 1 and 2 as $1 and $2
  press qs "B to save both time waveforms to disk"
  press 1 "Enter file name for time waveform 1:" "$1"
  answer "Enter single line of comments:" typical
  press s "B to save both time waveforms to disk"
  press 2 "Enter file name for time waveform 2:" "$2"
  answer "Enter single line of comments:" typical
  press ql "$RRC_MENU"
}
save_filter() {
  press s "Enter file name to save compression filter:" "$1"
  answer "Enter single line of comments:" typical
  acknowledge "Filter was successfully saved"
}

dir=$(mktemp -d -p "$WORK")
cp "$EXAMPLES_DIR"/{refx_lin.in,reference_pulse.txt,measured.txt} "$dir"
start_refx "$dir"
press tr "B to read both time waveforms from disk"
press 1 "Enter file name for time waveform 1, or Q to quit:" reference_pulse.txt
press 2 "Enter file name for time waveform 2, or Q to quit:" measured.txt
press q "$L_MENU"
press lg "Enter waveform number to generate filter (1 or 2):" 1
acknowledge "Compression filter has been generated"
press c "Enter waveform to compress (1 or 2):" 2
answer "Enter destination for compressed waveform (1 or 2):" 1
acknowledge "Waveform 2 was compressed to waveform 1"
press i "Enter first point of interval (starting at 1):" 101
answer "Enter last point of interval (starting at 1):" 301
press d "Enter waveform to de-compress (1 or 2):" 1
answer "Enter destination for de-compressed waveform (1 or 2):" 2
acknowledge "Waveform 1 was de-compressed to waveform 2"
save_filter filter.txt
save_waves compressed.txt result.txt
press qqb "(binary-ri selected)"
press tl "$RRC_MENU"
save_filter filter.bin
save_waves compressed.bin result.bin
send_text qqq
expect_status 0

names=(filter.txt compressed.txt result.txt filter.bin compressed.bin result.bin)
for name in "${names[@]}"; do cp "$dir/$name" "$out/"; done
(cd "$out" && sha256sum "${names[@]}" > SHA256SUMS && cat SHA256SUMS)
