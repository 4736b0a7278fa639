#!/usr/bin/env bash
# Runs a Windows test program under Wine with the prefix's screen at DPI $1 (LogPixels), then
# puts 96 back, whatever the program's result.
set -u
dpi=$1
shift
set_dpi() { wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f > /dev/null 2>&1; }
set_dpi "$dpi"
wine "$@"
status=$?
set_dpi 96
exit $status
