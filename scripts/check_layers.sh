#!/usr/bin/env bash
# Keeps the layering of the tree: fails, naming each file:line and the rule it breaks, when an
# #include "..." of a source file crosses the table below, which is DESIGN's "which layer may use
# which". A layer is the folder a file lies in (the longest prefix in the table wins, so
# server/idl/ and server/op/ are layers of their own inside server/); a layer may use itself, the
# layers it names and, in turn, whatever those may use (model/ may use platform/).
#
# Seams. server/ reaches server/op/ and server/cadastros/ only through the headers listed in
# `seams` below: a seam is a header of server/op/ or server/cadastros/ that declares what server/
# calls and that its own folder fills. Adding one is a deliberate, reviewed edit of this list.
#
# Includes are written from the root of the tree ("foundation/QVData.h"); one written relative to
# the including file is resolved from that file's folder. An include of a folder outside the
# table, and a source file outside it, are reported too, so that a new folder gets its row.
#
# Usage: bash scripts/check_layers.sh [root of the tree]  (default: this script's tree)
set -euo pipefail
root="$(cd "${1:-$(dirname "$0")/..}" && pwd)"

# The folders of the table, longest first, and what each uses directly.
layers=(server/idl server/op server/cadastros platform foundation model access rules checks controls
        server tests demo bench)
declare -A uses=(
  [platform]="server/idl"
  [server/idl]="platform"
  [foundation]="platform server/idl"
  [model]="foundation"
  [access]="model foundation"
  [rules]="access model"
  [checks]="rules access model"
  [controls]="rules access model"
  [server]="model access rules"
  # The order handler's checks serve the master-data handlers, whose records the orders name.
  [server/op]="server server/cadastros"
  [server/cadastros]="server server/op"
  # The run command's programs and the benchmarks stand on top of everything but the tests;
  # the tests on top of everything but the demo.
  [bench]="controls checks server/op server/cadastros"
  [demo]="controls checks server/op server/cadastros"
  [tests]="controls checks server/op server/cadastros"
)
# The headers of server/op/ and server/cadastros/ that server/ may include (the order files' record
# layouts give the order file set its record lengths).
seams=(server/op/PPConsultaMovimentacaoOP.h server/op/PPClasseOP.h server/op/PPRegistrosOP.h
       server/cadastros/PPClassesCadastros.h)

# Sets `layer` to the layer of the path $1, or to nothing.
layer_of() {
  for layer in "${layers[@]}"; do
    [[ "$1" == "$layer"/* ]] && return
  done
  layer=""
}

# allowed[L] = L, what L uses, and what those may use, to a fixed point.
declare -A allowed
for user in "${layers[@]}"; do allowed[$user]=" $user ${uses[$user]} "; done
changed=1
while ((changed)); do
  changed=0
  for user in "${layers[@]}"; do
    for used in ${allowed[$user]}; do
      for further in ${allowed[$used]}; do
        [[ "${allowed[$user]}" == *" $further "* ]] && continue
        allowed[$user]+="$further "
        changed=1
      done
    done
  done
done

is_seam() {
  local seam
  for seam in "${seams[@]}"; do [[ "$1" == "$seam" ]] && return 0; done
  return 1
}

failures=0
report() {
  echo "$1" >&2
  failures=$((failures + 1))
}

cd "$root"
mapfile -t files < <(find . \( -path './build*' -o -path ./var -o -path ./.git \) -prune -o -type f \
  \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.cc' -o -name '*.c' -o -name '*.inc' \) \
  -print | sed 's|^\./||' | sort)

for file in "${files[@]}"; do
  layer_of "$file"
  [[ -n "$layer" ]] || report "$file: a source file outside every layer of scripts/check_layers.sh"
done

# One pass over every include: "file:line:included".
while IFS=: read -r file line included; do
  layer_of "$file"
  from="$layer"
  [[ -n "$from" ]] || continue
  [[ -f "${file%/*}/$included" ]] && included="$(realpath -m --relative-to=. "${file%/*}/$included")"
  layer_of "$included"
  to="$layer"
  where="$file:$line: includes $included"
  if [[ -z "$to" ]]; then
    report "$where, which lies outside every layer of scripts/check_layers.sh"
  elif [[ "$from" == server && ("$to" == server/op || "$to" == server/cadastros) ]]; then
    is_seam "$included" || report "$where: server/ reaches $to/ only through the seams listed in scripts/check_layers.sh"
  elif [[ "${allowed[$from]}" != *" $to "* ]]; then
    case "$to" in
      tests | demo) report "$where: nothing outside $to/ includes $to/" ;;
      *) report "$where: $from/ may use only$(printf ' %s/' ${allowed[$from]})" ;;
    esac
  fi
done < <(grep -HnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "${files[@]}" |
         sed -E 's|^([^:]+):([0-9]+):[^"]*"([^"]+)".*|\1:\2:\3|')

((failures == 0)) || { echo "check_layers: $failures include(s) cross the layer table" >&2; exit 1; }
echo "check_layers: ${#files[@]} source files keep the layer table"
