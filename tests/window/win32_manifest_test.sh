#!/usr/bin/env bash
# Reads the manifest (resource type 24, id 1) back from the built exe: themed controls, its own
# scaling on every monitor, long paths, Windows 10 and 11, and no elevation.
set -euo pipefail
manifest=$(wrestool -x --raw --type=24 --name=1 "$1")
for key in 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' '>PerMonitorV2</dpiAwareness>' \
  '>true/pm</dpiAware>' '>true</longPathAware>' '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}' 'level="asInvoker"'; do
  grep -qF "$key" <<< "$manifest" || { echo "the manifest lacks $key"; exit 1; }
done
echo "manifest holds every key"
