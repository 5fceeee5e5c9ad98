#!/usr/bin/env bash
# One wine prefix for a whole test run, shared by the *_wine.sh tests.
# Usage: wine_prefix.sh create|remove DIR
set -euo pipefail
action=$1
export WINEPREFIX=$2 WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
case $action in
  create)
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    # The prefix is complete once its server has written everything and gone.
    wineserver -w
    [ -f "$WINEPREFIX/system.reg" ] || { echo "no wine prefix in $WINEPREFIX" >&2; exit 1; }
    ;;
  remove)
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
    ;;
  *)
    echo "usage: $0 create|remove DIR" >&2
    exit 2
    ;;
esac
