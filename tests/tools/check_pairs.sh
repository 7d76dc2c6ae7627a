#!/usr/bin/env bash
# Checks every line x train pair of a demo folder with kestrel-run --check; fails on the first
# pair that does not load, printing the runner's message.
set -u
run=$1
data=$2
status=0
for line in line_exp.dat line_rapid.dat line_local.dat; do
  for train in train_313-1000_8cars.dat train_313-1000_10cars.dat train_383.dat train_kiha25.dat; do
    if ! out=$("$run" --data "$data" --line "$line" --train "$train" --check 2>&1); then
      echo "FAILED: $line x $train: $out"
      status=1
    else
      echo "ok: $line x $train"
    fi
  done
done
exit $status
