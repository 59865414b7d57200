#!/bin/bash
# Times tabrel-cli sync against a Radicale on the loopback holding N cards
# (default 32767): the first sync down into an empty data set, a sync with
# nothing changed, and one with ten changes on each side. Prints for each
# the wall time, tabrel-cli's own processor time (user + system) and its
# peak memory; the wall time less the processor time is mostly the server's.
#   bench/carddav_sync.sh path/to/tabrel-cli [N]
set -euo pipefail
cli=$1
n=${2:-32767}
work=$(mktemp -d)
trap 'kill $server 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT
book=$work/collections/collection-root/bench/contacts
mkdir -p "$book" "$work/data"
echo '{"tag": "VADDRESSBOOK"}' > "$book/.Radicale.props"
echo 'bench:bench' > "$work/users"
python3 - "$book" "$n" <<'PY'
import sys
book, n = sys.argv[1], int(sys.argv[2])
for i in range(n):
    with open(f"{book}/c{i}.vcf", "w", newline="") as f:
        f.write(f"BEGIN:VCARD\r\nVERSION:3.0\r\nUID:c{i}\r\nN:Name{i};Ann;;;\r\nFN:Ann Name{i}\r\n"
                f"ORG:Firm {i % 97}\r\nEMAIL:c{i}@example.org\r\nTEL;TYPE=WORK:555-{i}\r\n"
                f"ADR;TYPE=WORK:;;{i} High Street;Town;;{10000 + i};\r\nEND:VCARD\r\n")
PY
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
cat > "$work/config" <<EOF
[server]
hosts = 127.0.0.1:$port
[auth]
type = htpasswd
htpasswd_filename = $work/users
htpasswd_encryption = plain
[storage]
filesystem_folder = $work/collections
[logging]
level = error
EOF
radicale --config "$work/config" & server=$!
until python3 -c "import socket; socket.create_connection(('127.0.0.1',$port))" 2>/dev/null; do sleep 0.2; done
: > "$work/data/tabrel.dat"
printf 'url = http://127.0.0.1:%s/bench/contacts/\nuser = bench\npassword-command = printf %%s bench\n' "$port" > "$work/data/carddav.ini"
run() {
  /usr/bin/time -f "$1: %e s wall, %U s user + %S s system (tabrel-cli), %M kB peak" \
    "$cli" --data "$work/data" sync > "$work/out.txt"
}
# Radicale reads every card the first time it lists them; done once so the
# first sync's figure is not mostly that.
curl -s -o /dev/null -u bench:bench -X PROPFIND -H 'Depth: 1' "http://127.0.0.1:$port/bench/contacts/"
# The server alone answering what a sync with nothing changed asks (the
# listing since the stored sync token): its share of the wall times below.
server_alone() {
  local token
  token=$(sed -n 's/^token //p' "$work/data/carddav.state" | head -1)
  /usr/bin/time -f "%e s wall (the server alone)" curl -s -o /dev/null -w "$1: HTTP %{http_code}, " -u bench:bench \
    -X REPORT -H 'Depth: 1' -H 'Content-Type: application/xml' --data-binary \
    "<?xml version=\"1.0\"?><sync-collection xmlns=\"DAV:\"><sync-token>$token</sync-token><sync-level>1</sync-level><prop><getetag/></prop></sync-collection>" \
    "http://127.0.0.1:$port/bench/contacts/"
}
run "first sync of $n cards"
server_alone "listing since the token"
run "no change"
python3 - "$work/data/tabrel.dat" "$book" "$n" <<'PY'
import sys, os, glob
dat, book, n = sys.argv[1], sys.argv[2], int(sys.argv[3])
data = bytearray(open(dat, "rb").read())
for i in range(10):  # ten records changed here (title)
    at = i * (n // 10) * 1047 + 41
    data[at:at + 40] = b"Changed here".ljust(40)
open(dat, "wb").write(data)
for i in range(10):  # ten cards changed there
    path = f"{book}/c{i * (n // 10) + 5}.vcf"
    text = open(path, newline="").read().replace("Ann;;;", "Anna;;;")
    open(path, "w", newline="").write(text)
PY
run "ten changes on each side"
cat "$work/out.txt"
