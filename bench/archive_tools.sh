#!/usr/bin/env bash
# Whole-process figures of the archive tools against tar on the same files:
# tova extract of EXTRACT_FILES small entries vs tar xzf, tova pack of
# PACK_FILES small files vs tar czf, extraction of LINEAR_SMALL vs
# LINEAR_LARGE files in one folder (the CPU ratio should stay near the file
# ratio), and extraction of one deflated entry of BIG_MB MiB of zeros vs tar
# xzf of the same file (peak memory must not grow with the entry). Prints
# user+system seconds from /usr/bin/time and the ratios.
# Usage: bench/archive_tools.sh BUILD_DIR  (sizes from the environment)
set -euo pipefail
build=${1:-build}
tova="$(cd "$build" && pwd)/tools/tova/tova"
EXTRACT_FILES=${EXTRACT_FILES:-20000}
PACK_FILES=${PACK_FILES:-100000}
LINEAR_SMALL=${LINEAR_SMALL:-2000}
LINEAR_LARGE=${LINEAR_LARGE:-8000}
BIG_MB=${BIG_MB:-1024}
work=$(mktemp -d "${TMPDIR:-/tmp}/tova-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT

# count folder: small files of a few hundred varied bytes, 1000 per folder.
make_files() {
  python3 - "$1" "$2" "$3" <<'PY'
import os, sys
count, root, per = int(sys.argv[1]), sys.argv[2], int(sys.argv[3])
for i in range(count):
    folder = os.path.join(root, "d%03d" % (i // per))
    if i % per == 0: os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "f%06d.txt" % i), "w") as f:
        f.write(("line %d of file %d\n" % (i % 7, i)) * (5 + i % 20))
PY
}

# Prints the CPU seconds (user + system) of one command.
cpu() {
  /usr/bin/time -f "%U %S" -o "$work/time" "$@" > /dev/null 2>&1
  awk '{ printf "%.2f", $1 + $2 }' "$work/time"
}

# Prints the CPU seconds and the peak resident memory (MiB) of one command.
cpu_and_peak() {
  /usr/bin/time -f "%U %S %M" -o "$work/time" "$@" > /dev/null 2>&1
  awk '{ printf "%.2f %d", $1 + $2, $3 / 1024 }' "$work/time"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }

echo "processor: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2-)"

make_files "$EXTRACT_FILES" "$work/x" 1000
(cd "$work/x" && tar czf "$work/x.tgz" .)
"$tova" pack "$work/x.dat" "$work/x"
t_tar=$(cpu tar xzf "$work/x.tgz" -C "$(mkdir -p "$work/tx" && echo "$work/tx")")
t_tova=$(cpu "$tova" extract "$work/x.dat" "$work/vx")
echo "extract $EXTRACT_FILES files: tova ${t_tova}s, tar xzf ${t_tar}s, ratio $(ratio "$t_tova" "$t_tar") (target <= 1.5)"
rm -rf "$work/x" "$work/tx" "$work/vx"

make_files "$PACK_FILES" "$work/p" 1000
t_tar=$(cpu tar czf "$work/p.tgz" -C "$work/p" .)
t_tova=$(cpu "$tova" pack "$work/p.dat" "$work/p")
echo "pack $PACK_FILES files: tova ${t_tova}s, tar czf ${t_tar}s, ratio $(ratio "$t_tova" "$t_tar") (target <= 1.5)"
rm -rf "$work/p" "$work/p.dat" "$work/p.tgz"

for n in "$LINEAR_SMALL" "$LINEAR_LARGE"; do
  make_files "$n" "$work/l$n" 1000000
  "$tova" pack "$work/l$n.dat" "$work/l$n"
  rm -rf "$work/l$n"
done
t_small=$(cpu "$tova" extract "$work/l$LINEAR_SMALL.dat" "$work/s")
t_large=$(cpu "$tova" extract "$work/l$LINEAR_LARGE.dat" "$work/l")
echo "extract one folder: $LINEAR_SMALL files ${t_small}s, $LINEAR_LARGE files ${t_large}s," \
  "CPU ratio $(ratio "$t_large" "$t_small") for $(ratio "$LINEAR_LARGE" "$LINEAR_SMALL")x the files"

# One entry of BIG_MB MiB of zeros in an archive of version 0 (int32 count,
# the name, int32 offsets, then the zlib stream: every entry deflated).
python3 - "$work/big.dat" "$BIG_MB" <<'PY'
import struct, sys, zlib
path, mib = sys.argv[1], int(sys.argv[2])
name = b"big.bin"
head = 4 + 4 + len(name) + 8
packer, chunk, body = zlib.compressobj(9), bytes(1 << 20), []
for _ in range(mib):
    body.append(packer.compress(chunk))
body.append(packer.flush())
data = b"".join(body)
with open(path, "wb") as f:
    f.write(struct.pack("<i", 1) + struct.pack("<i", len(name)) + name)
    f.write(struct.pack("<ii", head, head + len(data)) + data)
PY
head -c "$((BIG_MB << 20))" /dev/zero > "$work/big.bin"
tar czf "$work/big.tgz" -C "$work" big.bin
rm "$work/big.bin"
read -r t_tar m_tar <<< "$(cpu_and_peak tar xzf "$work/big.tgz" -C "$(mkdir -p "$work/tb" && echo "$work/tb")")"
read -r t_tova m_tova <<< "$(cpu_and_peak "$tova" extract "$work/big.dat" "$work/vb")"
cmp -s "$work/tb/big.bin" "$work/vb/big.bin" || { echo "extract of one ${BIG_MB} MiB entry: wrong content"; exit 1; }
echo "extract one ${BIG_MB} MiB entry: tova ${t_tova}s ${m_tova} MiB peak, tar xzf ${t_tar}s ${m_tar} MiB peak," \
  "time ratio $(ratio "$t_tova" "$t_tar"), memory ratio $(ratio "$m_tova" "$m_tar") (target: tova <= 64 MiB)"
