#!/usr/bin/env bash
# Prints the memo pad to a real CUPS queue through the editor's own print path and checks
# that CUPS took the job. Run by hand, not in CI: it installs CUPS and the PDF printer
# driver, starts the scheduler when it is not running, creates the queue ZelquaPDF and
# makes it the default printer.
# Usage: scripts/check-cups-printing.sh [BUILD-DIR]     (default: build)
# Exit status 0 when a completed job titled 返済計算 is found, non-zero otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
queue=ZelquaPDF
title=返済計算

say() { echo "check-cups-printing: $*"; }
fail() { say "FAILED: $*" >&2; exit 1; }

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || fail "run as root or install sudo"
  sudo=sudo
fi

# Packages, only those that are missing.
wanted=(cups cups-client cups-bsd printer-driver-cups-pdf)
missing=()
for pkg in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
done
if [ ${#missing[@]} -gt 0 ]; then
  say "installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The scheduler.
scheduler_up() { lpstat -r 2>/dev/null | grep -q 'is running'; }
if ! scheduler_up; then
  say "starting cupsd"
  if [ -d /run/systemd/system ]; then
    $sudo systemctl start cups
  elif [ -x /etc/init.d/cups ]; then
    $sudo /etc/init.d/cups start || true
  fi
  scheduler_up || $sudo cupsd
  for _ in $(seq 1 20); do scheduler_up && break; sleep 0.5; done
  scheduler_up || fail "cupsd does not answer"
fi

# The PDF queue, with the model the PDF driver ships.
if ! lpstat -p "$queue" >/dev/null 2>&1; then
  models=$(lpinfo -m 2>/dev/null | grep -i 'cups-pdf' | cut -d' ' -f1 || true)
  model=$(grep -m 1 'CUPS-PDF_opt' <<<"$models" || head -n 1 <<<"$models")
  [ -n "$model" ] || fail "no CUPS-PDF model in 'lpinfo -m'"
  say "creating queue $queue with model $model"
  $sudo lpadmin -p "$queue" -E -v cups-pdf:/ -m "$model"
fi
$sudo cupsenable "$queue"
$sudo cupsaccept "$queue"
lpoptions -d "$queue" >/dev/null
[ "$(lpstat -d 2>/dev/null | sed -n 's/^system default destination: //p')" = "$queue" ] \
  || fail "$queue is not the default destination: $(lpstat -d 2>&1)"

# The printing program.
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
ninja -C "$build" print_check >/dev/null
program="$build/tools/print_check"

last_job() { lpstat -W all -o "$queue" 2>/dev/null | awk '{print $1}' | sed 's/.*-//' | sort -n | tail -n 1; }
before=$(last_job)
before=${before:-0}
marker=$(mktemp)
trap 'rm -f "$marker"' EXIT

say "printing the memo pad to $queue"
QT_QPA_PLATFORM=offscreen "$program" || fail "print_check failed"

# The job: a new one, completed.
job=""
for _ in $(seq 1 60); do
  id=$(last_job)
  if [ -n "$id" ] && [ "$id" -gt "$before" ] \
     && lpstat -W completed -o "$queue" 2>/dev/null | awk '{print $1}' | grep -qx "$queue-$id"; then
    job=$id
    break
  fi
  sleep 1
done
echo "--- lpstat -W completed -o $queue"
lpstat -W completed -o "$queue" || true
[ -n "$job" ] || fail "no completed job after job $before"
say "job $queue-$job completed"

# Its title: the job-name of the job's control file, or the file the PDF driver wrote,
# which it names after the title with every byte outside ASCII written as octal digits
# and "_" (返済計算 becomes 350_277_224_346_...).
found=no
escaped=$(printf '%s' "$title" | od -An -to1 | tr -s ' \n' '_' | sed 's/^_//')
control=/var/spool/cups/$(printf 'c%05d' "$job")
# The scheduler writes a job's control file a little after the job ends.
for _ in $(seq 1 20); do
  if $sudo test -f "$control" && $sudo grep -aqF "$title" "$control"; then
    say "control file $control holds the job name $title"
    found=yes
    break
  fi
  sleep 0.5
done
for dir in "$HOME/PDF" /var/spool/cups-pdf/ANONYMOUS /var/spool/cups-pdf/*/; do
  [ -d "$dir" ] || continue
  while IFS= read -r pdf; do
    say "PDF driver output: $pdf"
    case "$(basename "$pdf")" in
      *"$title"* | *"$escaped"*) found=yes ;;
    esac
    command -v pdfinfo >/dev/null && $sudo pdfinfo "$pdf" 2>/dev/null | grep '^Pages:' || true
  done < <($sudo find "$dir" -maxdepth 1 -name '*.pdf' -newer "$marker" 2>/dev/null)
done
[ "$found" = yes ] || fail "job $queue-$job is not titled $title"
say "OK: job $queue-$job titled $title"
