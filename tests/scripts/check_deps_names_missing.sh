#!/usr/bin/env bash
# check_deps_names_missing.sh SCRIPTS_DIR BUILD_DIR PACKAGE
# Runs the package check on the list of scripts/deps without PACKAGE: it must
# fail and name PACKAGE.
set -uo pipefail
scripts="$1" build="$2" package="$3"
mapfile -t list < <("$scripts/deps" --list | grep -vxF "$package")
if out=$("$scripts/check-deps" "$build" "${list[@]}" 2>&1); then
  echo "the check passed on a list without $package"
  exit 1
fi
echo "$out"
grep -qE "^  $package\$" <<<"$out" || { echo "the check did not name $package"; exit 1; }
