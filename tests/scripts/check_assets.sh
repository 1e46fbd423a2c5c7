#!/usr/bin/env bash
# Checks the generated image assets against the formats the program relies on.
#
#   assets/exercise.jpg  baseline JFIF 1.01 JPEG, 518x339, 8-bit YCbCr 4:2:0,
#                        72 dpi, no EXIF, 10-40 KB
#   assets/app.ico       exactly three 4-bit (16-colour) BMP-style images:
#                        16x16, 32x32 and 48x48
#
# ImageMagick's identify reads the files with a decoder other than the
# program's own; the byte-level details (JFIF version, APP/SOF markers, icon
# directory and BITMAPINFOHEADER fields) are read with a little Python.
#
# Usage: tests/scripts/check_assets.sh   (run from anywhere)
# Exits non-zero if any check fails.

set -u

ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
JPG="$ROOT/assets/exercise.jpg"
ICO="$ROOT/assets/app.ico"
PY=/usr/bin/python3

passed=0
failed=0

# check NAME EXPECTED ACTUAL
check() {
    if [ "$2" == "$3" ]; then
        passed=$((passed + 1))
        echo "ok   $1: $3"
    else
        failed=$((failed + 1))
        echo "FAIL $1: expected '$2', saw '$3'"
    fi
}

# check_range NAME MIN MAX ACTUAL  (integers, inclusive)
check_range() {
    if [[ "$4" =~ ^[0-9]+$ ]] && [ "$4" -ge "$2" ] && [ "$4" -le "$3" ]; then
        passed=$((passed + 1))
        echo "ok   $1: $4"
    else
        failed=$((failed + 1))
        echo "FAIL $1: expected $2..$3, saw '$4'"
    fi
}

for tool in identify "$PY"; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "FAIL tools: expected $tool to be installed, saw it missing"
        echo "check_assets: $passed passed, 1 failed"
        exit 1
    fi
done

# ---------------------------------------------------------------- exercise.jpg
if [ ! -f "$JPG" ]; then
    check "exercise.jpg exists" "yes" "no ($JPG)"
else
    id_jpg() { identify -format "$1" "$JPG" 2>&1; }
    check "exercise.jpg format" "JPEG" "$(id_jpg '%m')"
    check "exercise.jpg size" "518x339" "$(id_jpg '%wx%h')"
    check "exercise.jpg bit depth" "8" "$(id_jpg '%z')"
    check "exercise.jpg colourspace" "sRGB" "$(id_jpg '%[colorspace]')"
    # libjpeg colour space 2 is YCbCr (ImageMagick reports the image as sRGB).
    check "exercise.jpg JPEG colour space (2 = YCbCr)" "2" \
        "$(id_jpg '%[jpeg:colorspace]')"
    check "exercise.jpg sampling factor" "2x2,1x1,1x1" \
        "$(id_jpg '%[jpeg:sampling-factor]')"
    check "exercise.jpg interlace" "None" "$(id_jpg '%[interlace]')"
    # %x/%y print "72" or "72 PixelsPerInch" depending on the ImageMagick
    # version; keep the number only.
    density="$(id_jpg '%x %y %U' | awk '{ printf "%gx%g %s", $1, $(NF>3 ? 3 : 2), $NF }')"
    check "exercise.jpg density" "72x72 PixelsPerInch" "$density"

    bytes="$(stat -c %s "$JPG")"
    check_range "exercise.jpg file size (bytes)" 10240 40960 "$bytes"

    # Marker-level checks: JFIF APP0 version, no EXIF APP1, baseline SOF0
    # with three 8-bit components and luma sampled 2x2.
    markers="$("$PY" - "$JPG" <<'EOF' 2>&1
import struct, sys
data = open(sys.argv[1], "rb").read()
out = {}
out["soi"] = data[:2].hex()
i = 2
app_markers = []
while i + 4 <= len(data) and data[i] == 0xFF:
    marker = data[i + 1]
    length = struct.unpack(">H", data[i + 2:i + 4])[0]
    body = data[i + 4:i + 2 + length]
    if 0xE0 <= marker <= 0xEF:
        app_markers.append("APP%d" % (marker - 0xE0))
        if marker == 0xE0 and body[:5] == b"JFIF\0":
            out["jfif"] = "%d.%02d" % (body[5], body[6])
        if marker == 0xE1 and body[:6] == b"Exif\0\0":
            out["exif"] = "present"
    if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
        out["sof"] = "SOF%d" % (marker - 0xC0)
        precision, h, w, ncomp = struct.unpack(">BHHB", body[:6])
        comps = []
        for c in range(ncomp):
            cid, samp, _ = body[6 + 3 * c:9 + 3 * c]
            comps.append("%dx%d" % (samp >> 4, samp & 15))
        out["sof_detail"] = "%d-bit %dx%d %s" % (precision, w, h,
                                                 ",".join(comps))
    if marker == 0xDA:
        break
    i += 2 + length
out.setdefault("jfif", "missing")
out.setdefault("exif", "absent")
out.setdefault("sof", "missing")
out.setdefault("sof_detail", "missing")
out["app"] = " ".join(app_markers) or "none"
for k in ("soi", "jfif", "exif", "app", "sof", "sof_detail"):
    print("%s=%s" % (k, out[k]))
EOF
)"
    get() { printf '%s\n' "$markers" | sed -n "s/^$1=//p"; }
    check "exercise.jpg starts with SOI" "ffd8" "$(get soi)"
    check "exercise.jpg JFIF version" "1.01" "$(get jfif)"
    check "exercise.jpg EXIF" "absent" "$(get exif)"
    check "exercise.jpg APP segments" "APP0" "$(get app)"
    check "exercise.jpg frame type (SOF0 = baseline)" "SOF0" "$(get sof)"
    check "exercise.jpg frame header" "8-bit 518x339 2x2,1x1,1x1" \
        "$(get sof_detail)"
fi

# ---------------------------------------------------------------- app.ico
if [ ! -f "$ICO" ]; then
    check "app.ico exists" "yes" "no ($ICO)"
else
    check "app.ico format (identify)" "ICO ICO ICO" \
        "$(identify -format '%m ' "$ICO" 2>&1 | sed 's/ $//')"
    check "app.ico image sizes (identify)" "16x16 32x32 48x48" \
        "$(identify -format '%wx%h ' "$ICO" 2>&1 | sed 's/ $//')"

    entries="$("$PY" - "$ICO" <<'EOF' 2>&1
import struct, sys
data = open(sys.argv[1], "rb").read()
reserved, kind, count = struct.unpack("<HHH", data[:6])
print("header=%d %d" % (reserved, kind))
print("count=%d" % count)
for n in range(count):
    (w, h, colours, _res, planes, bits, size,
     offset) = struct.unpack("<BBBBHHII", data[6 + 16 * n:22 + 16 * n])
    w = w or 256
    h = h or 256
    image = data[offset:offset + size]
    if image[:8] == b"\x89PNG\r\n\x1a\n":
        print("entry%d=%dx%d dir-bits=%d PNG" % (n, w, h, bits))
        continue
    (bi_size, bi_w, bi_h, bi_planes, bi_bits,
     bi_comp) = struct.unpack("<IiiHHI", image[:20])
    # 4-bit rows and the 1-bit mask rows are padded to 4 bytes.
    xor = ((bi_w * bi_bits + 31) // 32) * 4 * (bi_h // 2)
    mask = ((bi_w + 31) // 32) * 4 * (bi_h // 2)
    palette = 4 * (1 << bi_bits) if bi_bits <= 8 else 0
    expect = bi_size + palette + xor + mask
    print("entry%d=%dx%d dir-colours=%d dir-bits=%d bmp=%dx%d bits=%d "
          "compression=%d bytes=%s" % (
              n, w, h, colours, bits, bi_w, bi_h // 2, bi_bits, bi_comp,
              "ok" if size == expect else "%d, want %d" % (size, expect)))
EOF
)"
    get() { printf '%s\n' "$entries" | sed -n "s/^$1=//p"; }
    check "app.ico directory header (reserved, type)" "0 1" "$(get header)"
    check "app.ico image count" "3" "$(get count)"
    n=0
    for size in 16 32 48; do
        seen="$(get entry$n)"
        check "app.ico image $n" \
            "${size}x${size} dir-colours=16 dir-bits=4 bmp=${size}x${size} bits=4 compression=0 bytes=ok" \
            "${seen:-missing}"
        n=$((n + 1))
    done
fi

echo "check_assets: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
