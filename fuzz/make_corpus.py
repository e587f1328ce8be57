#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets (fuzz/corpus/<target>/): small files that
reach the readers' branches: tag versions, sizes, flags, encodings, frame headers."""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def be32(v):
    return struct.pack(">I", v)


def syncsafe(v):
    return bytes([(v >> 21) & 0x7F, (v >> 14) & 0x7F, (v >> 7) & 0x7F, v & 0x7F])


def f22(fid, body):
    return fid + len(body).to_bytes(3, "big") + body


def f23(fid, body, f0=0, f1=0):
    return fid + be32(len(body)) + bytes([f0, f1]) + body


def f24(fid, body, f0=0, f1=0):
    return fid + syncsafe(len(body)) + bytes([f0, f1]) + body


def tag(version, data, flags=0):
    return b"ID3" + bytes([version, 0, flags]) + syncsafe(len(data)) + data


def older(frames, area=2048):
    t = b"ID3\x03\x00\x00" + be32(area) + frames
    return t + b"\0" * (area - len(t))


def utf16(text):
    return b"\xff\xfe" + text.encode("utf-16-le")


def unsync(data):
    out = bytearray()
    for i, b in enumerate(data):
        out.append(b)
        if b == 0xFF and (i + 1 == len(data) or data[i + 1] == 0 or data[i + 1] >= 0xE0):
            out.append(0)
    return bytes(out)


def frame(kbps_index=1, rate_index=0, version_bits=3, layer_bits=1, pad=0, mode=1, length=None):
    header = bytes([0xFF, 0xE0 | version_bits << 3 | layer_bits << 1 | 1,
                    kbps_index << 4 | rate_index << 2 | pad << 1, mode << 6])
    if length is None:
        length = 104  # MPEG-1 Layer III, 32 kbit/s, 44.1 kHz
    return header + b"\0" * (length - 4)


def frames(n, **kw):
    return b"".join(frame(**kw) for _ in range(n))


def xing_frame(count, tag_id=b"Xing"):
    f = bytearray(frame(kbps_index=9, length=417))
    f[36:36 + 16] = tag_id + be32(3) + be32(count) + be32(count * 104)
    return bytes(f)


def vbri_frame(count):
    f = bytearray(frame(kbps_index=9, length=417))
    f[36:36 + 26] = b"VBRI" + b"\0\x01\0\0\0\x4b" + be32(count * 104) + be32(count) + b"\0" * 8
    return bytes(f)


def v1(title=b"Title", artist=b"Artist", album=b"Album", year=b"2001", comment=b"Comment", genre=17, fill=b" "):
    def pad(b, n):
        return (b + fill * n)[:n]
    return b"TAG" + pad(title, 30) + pad(artist, 30) + pad(album, 30) + pad(year, 4) + pad(comment, 30) + bytes([genre])


AUDIO = frames(3)

ID3V2 = {
    "v22_basic": tag(2, f22(b"TT2", b"\0Title") + f22(b"TP1", b"\0Artist") + f22(b"COM", b"\0eng\0Text")
                     + f22(b"PIC", b"\0JPG\x03\0\xff\xd8\xff") + f22(b"XYZ", b"\0x") + b"\0" * 20) + AUDIO,
    "v22_compressed_flag": tag(2, f22(b"TT2", b"\0T"), 0x40) + AUDIO,
    "v23_full": tag(3, be32(6) + b"\0\0" + be32(30)
                    + f23(b"TIT2", b"\x01" + utf16("Gr\u00fc\u00dfe \u6771")) + f23(b"TPE1", b"\x02\0A\0B")
                    + f23(b"TALB", b"\x03\xc3\xa9t\xc3\xa9") + f23(b"COMM", b"\x01eng" + utf16("d") + b"\0\0" + utf16("c"))
                    + f23(b"USLT", b"\0eng\0words") + f23(b"APIC", b"\0image/png\0\x03\0PNG")
                    + f23(b"WOAR", b"http://a") + f23(b"WXXX", b"\0d\0http://b") + f23(b"PCNT", b"\0\0\0\x05")
                    + f23(b"TXXX", b"\0k\0v") + f23(b"TCON", b"\0(17)", 0x40, 0x20) + b"\0" * 30, 0x40) + AUDIO,
    "v23_unsync": tag(3, unsync(f23(b"TIT2", b"\x01\xff\xfe\xff\x00x\x00") + b"\0" * 8), 0x80) + AUDIO,
    "v23_compressed": tag(3, f23(b"TPE2", be32(5) + zlib.compress(b"\0Comp"), 0, 0x80)
                          + f23(b"TIT2", b"\0T", 0, 0x40) + b"\0" * 8) + AUDIO,
    "v23_older_form": older(f23(b"TIT2", b"\0Old") + f23(b"COMM", b"\0\0\0old") + f23(b"USLT", b"\0\0" + b"l" * 1100)
                            + f23(b"PCNT", b"\x0042")) + AUDIO,
    "v23_older_high": older(f23(b"TIT2", b"\0High"), 32768)[:2200] + AUDIO,
    "v23_published_2048": tag(3, (f23(b"TIT2", b"\0P") + b"\0" * 2048)[:2048]) + AUDIO,
    "v23_truncated": tag(3, f23(b"TIT2", b"\0T" * 50))[:60],
    "v23_room": tag(3, f23(b"TIT2", b"\0x")) + b"\0" * 300 + AUDIO,
    "v24_full": tag(4, syncsafe(6) + b"\x01\0"
                    + f24(b"TIT2", b"\x03" + ("\u00e9" * 100).encode()) + f24(b"TDRC", b"\x002004-05-06")
                    + f24(b"TCON", b"\x03Rock\0Pop") + f24(b"TIPL", b"\x03role\0name\0")
                    + f24(b"TPE1", syncsafe(5) + unsync(b"\x01\xff\xfeA\x00"), 0x40, 0x03)
                    + f24(b"TPE2", syncsafe(5) + zlib.compress(b"\0Comp"), 0, 0x09)
                    + f24(b"APIC", b"\x03image/png\0\x03d\xc3\xbc\0PNG") + f24(b"TSOP", b"\0sort")
                    + f24(b"GEOB", b"\x03a/b\0f\0d\0data") + f24(b"SYLT", b"\x03eng\x02\x01d\0") + b"\0" * 20, 0x50)
                + b"3DI\x04\x00\x50" + syncsafe(0) + AUDIO,
    "v24_plain_sizes": tag(4, b"TIT2" + be32(256) + b"\0\0" + b"\0" + b"x" * 255 + f24(b"TPE1", b"\0A")) + AUDIO,
    "v25_not_a_tag": b"ID3\x05\x00\x00\x00\x00\x00\x10" + b"\0" * 16 + AUDIO,
    "id3_inside_audio": AUDIO + tag(3, f23(b"TIT2", b"\0In")) + AUDIO,
}

ID3V1 = {
    "tag_only": v1(),
    "nul_padded_track": v1(fill=b"\0", comment=b"Nice") [:125] + b"\0\x07\x08",
    "windows1252": b"audio" * 10 + v1(title=b"Caf\xe9 \x80", genre=147),
    "genre_255": b"x" * 200 + v1(genre=255),
    "short_127": v1()[:127],
    "no_tag": b"TAX" + b"y" * 300,
}

MPEG = {
    "cbr_44k": frames(20),
    "cbr_48k_padding": frames(10, kbps_index=9, rate_index=1, length=384) + frames(2, pad=1, length=105),
    "xing": xing_frame(40) + frames(40),
    "info": xing_frame(12, b"Info") + frames(12),
    "vbri": vbri_frame(30) + frames(30),
    "mpeg2_22k": frames(10, version_bits=2, kbps_index=8, length=208),
    "mpeg25_mono": frames(10, version_bits=0, kbps_index=2, rate_index=2, mode=3, length=144),
    "layer1": frames(5, layer_bits=3, kbps_index=1, length=32),
    "layer2": frames(5, layer_bits=2, kbps_index=1, length=104),
    "nibble_shifted": bytes([0x0F, 0xFF, 0xB9, 0x06]) + b"\0" * 400,
    "junk_then_frames": bytes([0x3F, 0xFF, 0xE3, 0x18, 0, 0x7F, 0xFF, 0xFB, 0x50, 0]) + b"j" * 100 + frames(8),
    "tag_then_frames": tag(3, f23(b"TIT2", b"\0T") + b"\0" * 50) + b"\0" * 200 + frames(8) + v1(),
    "older_tag_then_frames": older(f23(b"TIT2", b"\0T")) + frames(6),
    "two_tags": tag(3, f23(b"TIT2", b"\0A")) + b"\0" * 10 + tag(4, f24(b"TIT2", b"\0B") + b"\0" * 300) + frames(6),
    "reserved_values": bytes([0xFF, 0xFB, 0xF0, 0x64, 0xFF, 0xFB, 0x0C, 0x00, 0xFF, 0xEB, 0x90, 0x00]) + b"\0" * 64,
    "empty": b"",
}

# List files: the first byte also picks the record size (1 + byte % 9 cells).
LISTFILE = {
    "playlist_9": b"\x08" + b"".join(b'"%s"\r\n' % c for c in [b"1", b"Play", b"/m/a b.mp3", b"Art", b"Tit", b"Alb", b"2001", b"3:01", b"Rock"] * 2),
    "volumes_2": b'\x01"/m/a.mp3"\r\n"-300"\r\n"/m/b, c.mp3"\r\n"0"\r\n',
    "unquoted_commas": b"\x02a, b ,c\r\n\"d\"e\",f\n",
    "cr_only": b"\x01\"a\"\r\"b\"\r\r\"c\"",
    "utf16le": b"\xff\xfe" + '"caf\u00e9"\r\n"\u263a"\r\n'.encode("utf-16-le"),
    "windows1252": b"\x00\"Caf\xe9\"\r\n\"\xc3\xa9\"\r\n",
    "nul_bytes": b"\x01\"a\x00b\"\r\n\x00\x00\r\n",
    "lone_quote": b'\x03"\r\n""\r\n"""\r\n',
    "empty": b"",
}

SETTINGS = {
    "plain": b"[Settings]\r\nVolume=80\r\nBalance=0\r\n[Window]\r\nLeft=100\r\n",
    "duplicates": b"[Settings]\r\nVolume=1\r\nVolume=2\r\n[settings]\r\nVolume=3\r\n[Window]\r\nLeft=-32000\r\n",
    "quoted": b"[Settings]\r\nVolume=\"  7 \"\r\n  Balance = '4'\r\n; Volume=9\r\n",
    "truncated": b"[Settings]\r\nVolume=8\r\n[Win",
    "binary": bytes(range(256)) * 2,
    "utf16be": b"\xfe\xff" + "[Settings]\r\nVolume=3\r\n".encode("utf-16-be"),
    "no_section": b"Volume=5\r\nKey=1\r\n[]\r\n[Fuzz\r\nKey=2\r\n",
    "cr_only": b"[Window]\rLeft=1\r[Settings]\rVolume=2\r",
    "empty": b"",
}


def write(target, seeds):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    write("id3v2", ID3V2)
    write("id3v1", ID3V1)
    write("mpeg", MPEG)
    write("listfile", LISTFILE)
    write("settings", SETTINGS)
