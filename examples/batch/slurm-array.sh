#!/bin/bash
# A Slurm job array over plan.csv: task K of N runs every N-th row from row K.
#   sbatch slurm-array.sh                      (four tasks, 0 to 3)
#   cat results-*.jsonl | LC_ALL=C sort > results.jsonl   (after the array has finished)
# A task whose rows failed ends with status 2 (bad input) or 1; its error lines name the rows.
#SBATCH --job-name=ardelon-batch
#SBATCH --array=0-3
#SBATCH --cpus-per-task=2
#SBATCH --time=00:30:00
#SBATCH --output=shard-%a.log
set -euo pipefail
cd "${SLURM_SUBMIT_DIR:-$(dirname "$0")}"
shards="${SLURM_ARRAY_TASK_COUNT:-4}"
ardelon-cli batch plan.csv --shard "${SLURM_ARRAY_TASK_ID}/${shards}" \
    --threads "${SLURM_CPUS_PER_TASK:-1}" > "results-${SLURM_ARRAY_TASK_ID}.jsonl"
