#!/usr/bin/env bash
# Types romaji through a Japanese input method (fcitx5 with mozc) into the window and checks
# the bytes saved. Run by hand, not in CI. As root it creates the unprivileged user zqime
# and runs everything as that user, as a desktop user would: a virtual X display (Xvfb),
# openbox, a D-Bus session, fcitx5 with mozc active by default, and the check program.
# Usage: scripts/check-input-method.sh [BUILD-DIR]     (default: build)
# Exit status 0 when the check passes.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)
check="$build/tests/check_input_method"
user=zqime

say() { echo "check-input-method: $*"; }
[ -x "$check" ] || { say "build first: $check is missing"; exit 1; }

if [ "$(id -u)" -eq 0 ]; then
  bash scripts/install-deps.sh ime
  id "$user" >/dev/null 2>&1 || useradd --create-home --shell /bin/bash "$user"
  say "running as $user"
  exec runuser -u "$user" -- env -i HOME="/home/$user" PATH="$PATH" bash "$PWD/scripts/check-input-method.sh" "$build"
fi

# From here on: the unprivileged user.
export LC_ALL=C.UTF-8 XDG_RUNTIME_DIR
XDG_RUNTIME_DIR=$(mktemp -d)
pids=()
cleanup() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; rm -rf "$XDG_RUNTIME_DIR"; }
trap cleanup EXIT

# shellcheck source=scripts/x-session.sh
source scripts/x-session.sh
start_x_session 80

eval "$(dbus-launch --sh-syntax)"
pids+=("$DBUS_SESSION_BUS_PID")

# fcitx5: US keyboard and mozc, mozc active in every field that takes an input method.
mkdir -p "$HOME/.config/fcitx5"
cat > "$HOME/.config/fcitx5/profile" <<'PROFILE'
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=mozc

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=mozc
Layout=

[GroupOrder]
0=Default
PROFILE
cat > "$HOME/.config/fcitx5/config" <<'CONFIG'
[Behavior]
ActiveByDefault=True
ShareInputState=No
CONFIG
fcitx5 --disable=classicui,kimpanel,notificationitem >"$XDG_RUNTIME_DIR/fcitx5.log" 2>&1 &
pids+=($!)
for _ in $(seq 1 100); do fcitx5-remote >/dev/null 2>&1 && break; sleep 0.1; done
fcitx5-remote >/dev/null 2>&1 || { say "fcitx5 did not start"; cat "$XDG_RUNTIME_DIR/fcitx5.log"; exit 1; }
say "fcitx5 $(fcitx5 --version 2>/dev/null | head -1) with mozc"

export QT_IM_MODULE=fcitx XMODIFIERS=@im=fcitx QT_QPA_PLATFORM=xcb
cd "$HOME"
"$check"
