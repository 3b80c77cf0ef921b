# Hand-built raw deflate streams for flate_test, reaching the corners zlib never writes:
# distance codes 30 and 31, code sets of one code, an unknown block type, faults, and a bomb.
# Writes NAME.raw and, for streams that decode, NAME.out into the folder given, and cases.txt
# with one line a stream: "NAME same" (zlib and the decoder give NAME.out), "NAME ours" (the
# decoder gives NAME.out, zlib refuses the stream), "NAME error N" (zlib refuses it, the
# decoder raises error N), "NAME capped" (the decoder stops at its output cap).
import os
import random
import sys


class Bits:
    """The stream as a text of bits in the order they are read."""
    def __init__(self):
        self.text = ''

    def bits(self, value, count):  # extra bits and header fields: least significant first
        self.text += format(value, '0%db' % count)[::-1] if count else ''

    def code(self, code, length):  # Huffman codes: most significant first
        self.text += format(code, '0%db' % length)

    def byte(self, b):
        self.text += '0' * (-len(self.text) % 8)
        self.bits(b, 8)

    def fixed(self, symbol):  # fixed codes of RFC 1951 3.2.6
        if symbol < 144:
            self.code(0x30 + symbol, 8)
        elif symbol < 256:
            self.code(0x190 + symbol - 144, 9)
        elif symbol < 280:
            self.code(symbol - 256, 7)
        else:
            self.code(0xC0 + symbol - 280, 8)

    @property
    def data(self):
        text = self.text + '0' * (-len(self.text) % 8)
        return bytes(int(text[i:i + 8][::-1], 2) for i in range(0, len(text), 8))


def canonical(lengths):  # the codes RFC 1951 3.2.2 assigns to the lengths
    count = [0] * 16
    for n in lengths:
        count[n] += 1
    count[0], code, following = 0, 0, [0] * 16
    for n in range(1, 16):
        code = (code + count[n - 1]) << 1
        following[n] = code
    codes = []
    for n in lengths:
        codes.append(following[n] if n else 0)
        following[n] += 1 if n else 0
    return codes


def dynamic_header(w, literals, distances):
    """A final dynamic block whose code-length code gives the lengths 0..15 four bits each
    (their code is their value), every length written as its own symbol."""
    w.bits(1, 1), w.bits(2, 2)
    w.bits(len(literals) - 257, 5), w.bits(len(distances) - 1, 5), w.bits(15, 4)
    for symbol in (16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15):
        w.bits(4 if symbol < 16 else 0, 3)
    for n in literals + distances:
        w.code(n, 4)


folder = sys.argv[1]
cases = []


def case(name, raw, kind, output=b''):
    open(os.path.join(folder, name + '.raw'), 'wb').write(bytes(raw))
    open(os.path.join(folder, name + '.out'), 'wb').write(bytes(output))
    cases.append(name + ' ' + kind)


# A stored block of 65535 random bytes, then copies of 258 bytes from 40000 and 60000 back:
# beyond zlib's window, so zlib refusing it shows the far codes were reached.
data = bytes(random.Random(7).randrange(256) for _ in range(65535))
w = Bits()
w.bits(0, 1), w.bits(0, 2)
for b in (0xFF, 0xFF, 0x00, 0x00) + tuple(data):
    w.byte(b)
w.bits(1, 1), w.bits(1, 2)
w.fixed(285), w.code(30, 5), w.bits(40000 - 32769, 14)
w.fixed(285), w.code(31, 5), w.bits(60000 - 49153, 14)
w.fixed(256)
out = bytearray(data)
for back in (40000, 60000):
    out += out[len(out) - back:len(out) - back + 258]
case('far_distances', w.data, 'ours', out)

# One distance code of one bit; literals 0..253 eight bits, 254..257 nine.
literals = [8] * 254 + [9] * 4
codes = canonical(literals)
w = Bits()
dynamic_header(w, literals, [1])
w.code(codes[ord('A')], 8), w.code(codes[257], 9), w.code(0, 1), w.code(codes[256], 9)
case('one_distance_code', w.data, 'same', b'AAAA')

# A block that holds its end only: one literal/length code, no distance code.
w = Bits()
dynamic_header(w, [0] * 256 + [1], [0])
w.code(0, 1)
case('end_only', w.data, 'same')

# A type-3 block passes; zlib refuses it.
w = Bits()
w.bits(0, 1), w.bits(3, 2), w.bits(1, 1), w.bits(0, 2)
for b in (0x02, 0x00, 0xFD, 0xFF, ord('o'), ord('k')):
    w.byte(b)
case('block_type_3', w.data, 'ours', b'ok')

# A distance before the first byte; length symbol 286.
for name, symbol, distance in (('distance_before_start', 257, 1), ('length_286', 286, 0)):
    w = Bits()
    w.bits(1, 1), w.bits(1, 2)
    w.fixed(ord('a')), w.fixed(symbol), w.code(distance, 5), w.fixed(256)
    case(name, w.data, 'error 5')

# A code-length repeat (symbol 16) with no length before it to repeat: the code-length code
# gives symbols 0 and 16 one bit each, and 16 comes first.
w = Bits()
w.bits(1, 1), w.bits(2, 2), w.bits(0, 5), w.bits(0, 5), w.bits(15, 4)
for symbol in (16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15):
    w.bits(1 if symbol in (0, 16) else 0, 3)
w.code(1, 1), w.bits(0, 2)
case('repeat_first', w.data, 'error 5')

# A stored block claiming more bytes than follow.
case('stored_too_short', b'\x01\xff\xff\x00\x00ab', 'error 9')

# A few hundred kilobytes of copies of length 258 at distance 1 that would expand past the
# 64 MB output cap.
w = Bits()
w.bits(1, 1), w.bits(1, 2)
w.fixed(0)
copy = Bits()
copy.fixed(285), copy.code(0, 5)
w.text += copy.text * len(range(1, (64 << 20) + 1, 258))
w.fixed(256)
case('bomb', w.data, 'capped')

open(os.path.join(folder, 'cases.txt'), 'w').write('\n'.join(cases) + '\n')
