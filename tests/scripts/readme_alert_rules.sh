#!/usr/bin/env bash
# readme_alert_rules.sh README TEST_FILE
# Takes the alerting rules out of the README (the yaml block after
# "Alerting rules:"), checks them with promtool and runs TEST_FILE on them.
set -euo pipefail
readme="$1" tests="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
awk '/^Alerting rules:/ { seen = 1; next }
     seen && /^```yaml/ { inside = 1; next }
     inside && /^```/ { exit }
     inside { print }' "$readme" >"$work/rules.yml"
[ -s "$work/rules.yml" ] || { echo "no alerting rules in $readme"; exit 1; }
cp "$tests" "$work/rules_test.yml"
cd "$work"
promtool check rules rules.yml
promtool test rules rules_test.yml
