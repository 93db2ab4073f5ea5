#!/usr/bin/env bash
# compare-with-linux.sh LINUX_RENDER LINUX_PLUGIN WINDOWS_RENDER WINDOWS_PLUGIN PRESETS WINE...
# Runs the same command lines through the Linux build and, under Wine, through the Windows build,
# each in a scratch folder of its own with relative file names, and compares what they write:
# standard output, exit status, the tool's own messages, MIDI files, saved chunks and pictures of the
# editor, byte for byte.
set -uo pipefail
linuxRender=$1 linuxPlugin=$2 windowsRender=$3 windowsPlugin=$4 presets=$5
wine=("${@:6}") # the command that runs a Windows program, with its arguments
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/linux/home" "$scratch/windows"
cp "$presets/Demo Ramp.orvanep" "$scratch/linux/ramp.orvanep"
cp "$presets/Demo Ramp.orvanep" "$scratch/windows/ramp.orvanep"

cases=(
  "--info"
  "--info --load ramp.orvanep --param Seq4\ Rate=1/8 --param-normalized Seq3\ Active=1"
  "--load ramp.orvanep --bars 2 --tempo 120 --block-size 512 --text --midi out.mid --save-chunk state.bin"
  "--bars 1 --block-size 1000 --tempo 93 --time-sig 7/8 --note 60:0.25:1:90:2 --note 64:-1:0.5 --text-file out.txt --save-chunk state.bin"
  "--seconds 1.3 --start -0.5 --sample-rate 48000 --block-size 64 --param Seq2\ Active=On --param Seq2\ Rate=1/16 --param Seq2\ Smooth=On --text --midi out.mid --ppq 480"
  "--load state.bin --bars 0.5 --text"
  "--screenshot editor.png --load ramp.orvanep --skin luna --param Seq3\ Active=On --playing-step 6"
  "--screenshot editor.png --skin Dark --show rate-menu"
  "--screenshot editor.png --load ramp.orvanep --skin Carbon --show sequence-menu"
  "--screenshot editor.png --load ramp.orvanep --skin Light --show skin-menu"
  "--screenshot editor.png --load ramp.orvanep --skin Smokey --show title"
  "--tempo 0"
  "--param Seq1\ Rate=fast"
)

passed=0 failed=0
for args in "${cases[@]}"; do
  eval "argv=($args)"
  rm -f "$scratch"/{linux,windows}/{out.mid,out.txt,editor.png,stdout,stderr}
  (cd "$scratch/linux" && HOME="$scratch/linux/home" XDG_CONFIG_HOME="$scratch/linux/home/config" \
     "$linuxRender" "${argv[@]}" "$linuxPlugin" >stdout 2>stderr; echo $? >status)
  (cd "$scratch/windows" && "${wine[@]}" "$windowsRender" "${argv[@]}" "$windowsPlugin" >stdout 2>stderr; echo $? >status)
  # Wine may add messages of its own to standard error; the tool's all start with its name.
  # Standard error stays a text stream on Windows, with CR LF line ends.
  for side in linux windows; do
    grep '^vornix-render' "$scratch/$side/stderr" | tr -d '\r' >"$scratch/$side/messages" || true
  done
  differs=()
  for f in status stdout messages out.mid out.txt state.bin editor.png; do
    if [ -e "$scratch/linux/$f" ] || [ -e "$scratch/windows/$f" ]; then
      cmp -s "$scratch/linux/$f" "$scratch/windows/$f" || differs+=("$f")
    fi
  done
  if [ ${#differs[@]} -eq 0 ]; then
    passed=$((passed + 1))
    echo "same:    vornix-render $args"
  else
    failed=$((failed + 1))
    echo "DIFFERS: vornix-render $args (${differs[*]})"
    for f in "${differs[@]}"; do
      diff <(od -An -c "$scratch/linux/$f" 2>/dev/null) <(od -An -c "$scratch/windows/$f" 2>/dev/null) | head -n 10
    done
  fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
