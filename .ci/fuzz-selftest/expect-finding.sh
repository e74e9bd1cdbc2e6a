#!/usr/bin/env bash
# Passes when a command fails and its output holds a sanitizer report of the given kind.
#   expect-finding.sh KIND COMMAND...
set -uo pipefail
kind=$1
shift
output=$("$@" 2>&1)
status=$?
printf '%s\n' "$output"
if [ "$status" -eq 0 ]; then
    echo "expected a failure, got status 0" >&2
    exit 1
fi
if ! grep -q "SUMMARY: ${kind}" <<<"$output"; then
    echo "expected a ${kind} report" >&2
    exit 1
fi
