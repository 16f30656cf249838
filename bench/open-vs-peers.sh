#!/usr/bin/env bash
# A picture opened from a shell by a cold process, under Xvfb (2560 × 1440),
# timed from the launch until the screen shows the picture within 10 % of its
# settled look (mirelo-screen-poll grabs the screen; see bench/ScreenPoll.cpp),
# Mirelo beside feh, geeqie, eog and gwenview (those installed), alternating
# run by run in fresh homes. Mirelo also prints its own first paint.
#
#     bench/open-vs-peers.sh FILE [RUNS]
#     bench/open-vs-peers.sh --presses N FOLDER [RUNS]    # Right once a second in FOLDER's first picture
set -euo pipefail
presses=0
if [[ ${1:-} == --presses ]]; then presses=$2; shift 2; fi
target=$(realpath "$1") runs=${2:-5}
root=$(cd "$(dirname "$0")/.." && pwd)
mirelo="$root/build/src/ui/mirelo" poll="$root/build/bench/mirelo-screen-poll"
[[ -x "$mirelo" && -x "$poll" ]] || { echo "build build/ (Release) first" >&2; exit 1; }
if [[ -d $target ]]; then file=$(find "$target" -maxdepth 1 -type f | sort | head -1); else file=$target; fi
home=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$home"' EXIT
display=:$((RANDOM % 400 + 500))
Xvfb "$display" -screen 0 2560x1440x24 -nolisten tcp >/dev/null 2>&1 &
export DISPLAY=$display
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
# A window manager, as on a desktop: the viewers go full screen through it.
if command -v openbox >/dev/null; then openbox >/dev/null 2>&1 & sleep 0.5; fi

# A fresh home for each run: nothing remembered from the run before.
fresh() {
  rm -rf "$home/h" && mkdir -p "$home/h/run" && chmod 0700 "$home/h/run"
  export HOME="$home/h" XDG_DATA_HOME="$home/h/.local/share" XDG_CONFIG_HOME="$home/h/.config" \
    XDG_CACHE_HOME="$home/h/.cache" XDG_RUNTIME_DIR="$home/h/run"
}

declare -A commands=(
  [mirelo]="$mirelo"
  [feh]="feh --fullscreen --auto-zoom"
  [geeqie]="geeqie --fullscreen"
  [eog]="eog --fullscreen"
  [gwenview]="gwenview --fullscreen"
)
peers=(mirelo)
for peer in feh geeqie eog gwenview; do command -v "$peer" >/dev/null && peers+=("$peer"); done

# A first start of each warms the system's caches (fonts, shared libraries).
for peer in "${peers[@]}"; do fresh; timeout 20 "$poll" -- ${commands[$peer]} "$file" >/dev/null 2>&1 || true; done

declare -A results
for run in $(seq "$runs"); do
  for peer in "${peers[@]}"; do
    fresh
    if [[ $peer == mirelo ]]; then export MIRELO_LAUNCH_TRACE=$(date +%s%N); fi
    # feh knows only the files it is given: the folder, in name order, for presses.
    arg=$file; [[ $peer == feh && $presses -gt 0 ]] && arg="--sort filename $(dirname "$file")"
    # geeqie goes to the next picture with Space, not Right.
    key=Right; [[ $peer == geeqie ]] && key=space
    out=$(timeout 60 "$poll" --presses "$presses" --key "$key" -- ${commands[$peer]} $arg 2>&1 | grep -E '^(first|press|launch)' | tr '\n' ' ')
    unset MIRELO_LAUNCH_TRACE
    results[$peer]+="  run $run: $out"$'\n'
  done
done
echo "$(basename "$file"), $runs runs each: ms from launch (first change on screen, settled within 10 %)"
for peer in "${peers[@]}"; do echo "$peer:"; printf '%s' "${results[$peer]}"; done
