# Helpers of the end-to-end tests of refx_win.exe under wine: those of the refx_lin tests,
# with the program started through scripts/wine-refx.sh in its tmux pane.
# Usage: source wine_lib.sh "$path_to_refx_win_exe"
# WINEPREFIX names the prefix to run in (the test run prepares one and shares it).
WINE_E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
REFX_COMMAND="'$WINE_E2E_DIR/../../scripts/wine-refx.sh' '$(readlink -f "$1")'"
REFX_CONFIG_NAME=refx_win.in
# Starting a process under wine takes longer than a native start.
E2E_TIMEOUT=${E2E_TIMEOUT:-60}
if [ -n "${WINEPREFIX:-}" ]; then export WINEPREFIX; fi
source "$WINE_E2E_DIR/../e2e/lib.sh" "$1"
