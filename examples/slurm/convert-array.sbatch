#!/bin/bash
# SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
# SPDX-License-Identifier: MIT

# Converts a tree of presentations as a Slurm job array: each task converts one shard of it.
#
#   sbatch --array=0-9 convert-array.sbatch SOURCE_DIR [OUTPUT_DIR]
#
# Every task computes the same shards from the same tree, so the tasks convert each file once
# between them. With --update a task that failed or was killed is simply run again and
# converts only what it had not finished; give it the array's size, since a one-task array
# would count one:
#
#   sbatch --array=4 --export=ALL,SHARDS=10 convert-array.sbatch SOURCE_DIR [OUTPUT_DIR]
#
# Each task appends one JSON line per file to $REPORTS/task-K.jsonl. To merge them and count:
#
#   cat reports/task-*.jsonl > report.jsonl
#   jq -s 'group_by(.status) | map({(.[0].status): length}) | add' reports/task-*.jsonl
#
# A file is done when some line says "converted" or "up-to-date"; the failures, with why:
#
#   jq -r 'select(.status == "failed") | "\(.source): \(.cause)"' reports/task-*.jsonl
#
#SBATCH --job-name=convert-ppt
#SBATCH --cpus-per-task=2
#SBATCH --mem-per-cpu=400M
#SBATCH --output=convert-%A_%a.out
set -euo pipefail

source_dir=${1:?usage: sbatch --array=0-N convert-array.sbatch SOURCE_DIR [OUTPUT_DIR]}
output_dir=${2:-}
shards=${SHARDS:-$SLURM_ARRAY_TASK_COUNT}
reports=${REPORTS:-reports}
converter=${CONVERTER:-slatemere-converter}

mkdir -p "$reports"
args=(convert --shard "$SLURM_ARRAY_TASK_ID/$shards" --update
      --report "$reports/task-$SLURM_ARRAY_TASK_ID.jsonl"
      -j "${SLURM_CPUS_PER_TASK:-auto}" --quiet)
[ -n "$output_dir" ] && args+=(-o "$output_dir")
# exec: scancel's SIGTERM reaches the converter itself, which ends its offices on the way out.
exec "$converter" "${args[@]}" "$source_dir"
