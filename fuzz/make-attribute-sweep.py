# A PCL XL seed for the fuzzer and the listing snapshot:
#   python3 fuzz/make-attribute-sweep.py > fuzz/corpus/pclxl/attribute-sweep.pxl
# Builds a PCL XL job that gives every attribute identifier 0..255 (and some
# 16-bit ones) a value, every enumerated value plus one past each list, and a
# spread of value forms, each batch under the nameless operator 0x45.
import struct, sys

out = bytearray(b"\x1b%-12345X@PJL ENTER LANGUAGE=PCLXL\r\n) HP-PCL XL;2;0;attribute sweep\n")
batch = []

def flush():
    global batch
    for item in batch:
        out.extend(item)
    out.append(0x45)
    batch = []

def push(value_bytes, attr):
    if len(batch) == 31:
        flush()
    ident = bytes([0xF8, attr]) if attr < 256 else b"\xf9" + struct.pack("<H", attr)
    batch.append(value_bytes + ident)

def ubyte(v): return bytes([0xC0, v & 0xFF])
def uint16(v): return b"\xc1" + struct.pack("<H", v)
def uint32(v): return b"\xc2" + struct.pack("<I", v)
def sint16(v): return b"\xc3" + struct.pack("<h", v)
def sint32(v): return b"\xc4" + struct.pack("<i", v)
def real(v): return b"\xc5" + struct.pack("<f", v)
def ubyte_array(vals): return bytes([0xC8, 0xC0, len(vals)]) + bytes(vals)
def uint16_array(vals): return bytes([0xC9, 0xC0, len(vals)]) + b"".join(struct.pack("<H", v) for v in vals)
def sint16_array(vals): return bytes([0xCB, 0xC0, len(vals)]) + b"".join(struct.pack("<h", v) for v in vals)
def real_array(vals): return bytes([0xCD, 0xC0, len(vals)]) + b"".join(struct.pack("<f", v) for v in vals)
def ubyte_xy(x, y): return bytes([0xD0, x, y])
def sint16_box(a, b, c, d): return b"\xe3" + struct.pack("<hhhh", a, b, c, d)
def real_xy(x, y): return b"\xd5" + struct.pack("<ff", x, y)

# Every 8-bit identifier, with small and larger values.
for ident in range(256):
    push(ubyte(ident % 12), ident)
for ident in range(256):
    push(uint16(ident * 7), ident)
# Enumerated attributes: every value up to two past the longest list.
enumerated = [2, 3, 33, 37, 38, 40, 45, 48, 52, 53, 54, 65, 70, 71, 72, 80, 83, 84, 98, 100, 101,
              104, 130, 134, 136, 143]
for ident in enumerated:
    for v in range(18):
        push(ubyte(v), ident)
    push(sint16(-1), ident)
    push(uint32(1), ident)
    push(sint32(2), ident)
    push(real(1.0), ident)
    push(ubyte_array([1]), ident)
    push(sint16_array([2]), ident)
    push(ubyte_array([]), ident)
    push(ubyte_array([1, 2]), ident)
    push(ubyte_xy(1, 2), ident)
# Text attributes and their neighbours.
for ident in [128, 129, 130, 167, 168, 169, 170, 171, 172, 139]:
    push(ubyte_array(list(b"Hello\x00\x7f\x1f~")), ident)
    push(uint16_array([65, 300, 0x7F, 9]), ident)
    push(real_array([1.5]), ident)
    push(ubyte_array([]), ident)
# Other forms on assorted identifiers.
for ident in [1, 11, 42, 66, 102, 145, 146, 152, 177, 178, 255]:
    push(ubyte_xy(3, 250), ident)
    push(real_xy(0.25, -2.5), ident)
    push(sint16_box(-1, 2, -3, 400), ident)
    push(real(-3.75), ident)
    push(sint32(-70000), ident)
# 16-bit identifiers, inside and outside 0..255.
for ident in [0, 40, 171, 255, 256, 500, 0xFFFF]:
    push(ubyte(1), ident)
    push(ubyte_array(list(b"AB")), ident)
flush()
out.extend(b"\x1b%-12345X")
sys.stdout.buffer.write(out)
