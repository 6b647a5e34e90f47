#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into korpus/<target>/.

Everything is made here from scratch: bitmaps byte by byte, JPEGs by cjpeg (from
libjpeg-turbo-progs) out of small generated PPM/PGM pictures, profile, album and
cache files as text and bytes. PNG, WebP, TIFF and HEIF files come from the program
fuzz_fremdbild_saat of a test build, which writes them through the libraries' own
encoders:
    python3 tests/fuzz/korpus_erzeugen.py [BUILD-ORDNER]   (default build/test)
Run it again after changing it; the output is stable.
"""
import os
import struct
import subprocess
import sys
import tempfile

WURZEL = os.path.join(os.path.dirname(os.path.abspath(__file__)), "korpus")
TEILER = b"\n#----#\n"  # as katalog_ziel.cpp splits its input


def schreiben(ziel, name, daten):
    ordner = os.path.join(WURZEL, ziel)
    os.makedirs(ordner, exist_ok=True)
    with open(os.path.join(ordner, name), "wb") as f:
        f.write(daten)


# ---- bitmaps ------------------------------------------------------------------------

def zeile_auffuellen(zeile):
    return zeile + b"\0" * (-len(zeile) % 4)


def pixelzeilen(breite, hoehe, bits):
    zeilen = []
    for y in range(hoehe):
        if bits == 24:
            z = b"".join(bytes([(x * 40) & 255, (y * 60) & 255, (x * y * 20) & 255])
                         for x in range(breite))
        elif bits == 32:
            z = b"".join(bytes([(x * 40) & 255, (y * 60) & 255, 128, 255]) for x in range(breite))
        elif bits == 16:
            z = b"".join(struct.pack("<H", (x * 2113 + y * 517) & 0xFFFF) for x in range(breite))
        elif bits == 8:
            z = bytes((x + y * breite) & 255 for x in range(breite))
        elif bits == 4:
            werte = [(x + y) & 15 for x in range(breite)] + [0]
            z = bytes((werte[i] << 4) | werte[i + 1] for i in range(0, breite, 2))
        elif bits == 2:
            werte = [(x + y) & 3 for x in range(breite)] + [0, 0, 0]
            z = bytes((werte[i] << 6) | (werte[i + 1] << 4) | (werte[i + 2] << 2) | werte[i + 3]
                      for i in range(0, breite, 4))
        else:  # 1
            bitsatz = "".join("1" if (x + y) % 2 else "0" for x in range(breite))
            bitsatz += "0" * (-len(bitsatz) % 8)
            z = bytes(int(bitsatz[i:i + 8], 2) for i in range(0, len(bitsatz), 8))
        zeilen.append(zeile_auffuellen(z))
    return b"".join(zeilen)


def palette(anzahl, eintrag=4):
    return b"".join(bytes([i * 7 & 255, i * 13 & 255, i * 29 & 255] + [0] * (eintrag - 3))
                    for i in range(anzahl))


def bmp(kopf, farben, pixel):
    start = 14 + len(kopf) + len(farben)
    datei = b"BM" + struct.pack("<IHHI", start + len(pixel), 0, 0, start)
    return datei + kopf + farben + pixel


def info_kopf(breite, hoehe, bits, kompression=0, groesse=40, bildbytes=0, farben=0, masken=b""):
    kopf = struct.pack("<IiiHHIIiiII", groesse, breite, hoehe, 1, bits, kompression, bildbytes,
                       2835, 2835, farben, 0)
    kopf += masken
    return kopf + b"\0" * (groesse - len(kopf))


def bitmaps():
    b, h = 5, 3
    for bits in (1, 2, 4, 8):
        n = 1 << bits
        schreiben("bmp", f"info_{bits}bit.bmp",
                  bmp(info_kopf(b, h, bits), palette(n), pixelzeilen(b, h, bits)))
    for bits in (16, 24, 32):
        schreiben("bmp", f"info_{bits}bit.bmp", bmp(info_kopf(b, h, bits), b"", pixelzeilen(b, h, bits)))
    schreiben("bmp", "info_24bit_oben_nach_unten.bmp",
              bmp(info_kopf(b, -h, 24), b"", pixelzeilen(b, h, 24)))
    schreiben("bmp", "info_8bit_kurze_palette.bmp",
              bmp(info_kopf(b, h, 8, farben=6), palette(6), pixelzeilen(b, h, 8)))
    # The OS/2 1.x core header: 16-bit sizes and three-byte palette entries.
    kern = struct.pack("<IHHHH", 12, b, h, 1, 8)
    schreiben("bmp", "os2_kern_8bit.bmp", bmp(kern, palette(256, 3), pixelzeilen(b, h, 8)))
    kern24 = struct.pack("<IHHHH", 12, b, h, 1, 24)
    schreiben("bmp", "os2_kern_24bit.bmp", bmp(kern24, b"", pixelzeilen(b, h, 24)))
    # OS/2 2.x headers of 16 and 64 bytes.
    schreiben("bmp", "os2_16_4bit.bmp",
              bmp(struct.pack("<IiiHH", 16, b, h, 1, 4), palette(16), pixelzeilen(b, h, 4)))
    schreiben("bmp", "os2_64_24bit.bmp", bmp(info_kopf(b, h, 24, groesse=64), b"",
                                              pixelzeilen(b, h, 24)))
    # Bit fields: 5-6-5 after a 40-byte header, 32 bits with alpha in a 108-byte header,
    # and the 52- and 56-byte headers that carry the masks themselves.
    masken565 = struct.pack("<III", 0xF800, 0x07E0, 0x001F)
    schreiben("bmp", "felder_565.bmp",
              bmp(info_kopf(b, h, 16, kompression=3), masken565, pixelzeilen(b, h, 16)))
    masken32 = struct.pack("<IIII", 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000)
    schreiben("bmp", "v4_felder_32bit_alpha.bmp",
              bmp(info_kopf(b, h, 32, kompression=3, groesse=108, masken=masken32), b"",
                  pixelzeilen(b, h, 32)))
    schreiben("bmp", "v5_24bit.bmp", bmp(info_kopf(b, h, 24, groesse=124), b"", pixelzeilen(b, h, 24)))
    schreiben("bmp", "kopf52_felder_16bit.bmp",
              bmp(info_kopf(b, h, 16, kompression=3, groesse=52, masken=masken565), b"",
                  pixelzeilen(b, h, 16)))
    schreiben("bmp", "kopf56_felder_32bit.bmp",
              bmp(info_kopf(b, h, 32, kompression=3, groesse=56, masken=masken32), b"",
                  pixelzeilen(b, h, 32)))
    # Run-length data: runs, an absolute run, a line end, a delta jump and the end.
    rle8 = bytes([3, 7, 0, 3, 1, 2, 3, 0, 0, 0, 2, 1, 0, 2, 9, 0, 1])
    schreiben("bmp", "rle8.bmp", bmp(info_kopf(b, h, 8, kompression=1, bildbytes=len(rle8)),
                                     palette(256), rle8))
    rle4 = bytes([4, 0x12, 0, 3, 0x34, 0x50, 0, 0, 5, 0x77, 0, 0, 0, 1])
    schreiben("bmp", "rle4.bmp", bmp(info_kopf(b, h, 4, kompression=2, bildbytes=len(rle4)),
                                     palette(16), rle4))
    # Refused on purpose: embedded JPEG and a picture cut off in its pixels.
    schreiben("bmp", "eingebettetes_jpeg.bmp",
              bmp(info_kopf(b, h, 0, kompression=4, bildbytes=4), b"", b"\xff\xd8\xff\xd9"))
    schreiben("bmp", "abgeschnitten.bmp",
              bmp(info_kopf(b, h, 24), b"", pixelzeilen(b, h, 24))[:-7])


# ---- JPEG ---------------------------------------------------------------------------

def jpegs():
    breite, hoehe = 19, 13
    farbig = b"P6\n%d %d\n255\n" % (breite, hoehe) + bytes(
        v for y in range(hoehe) for x in range(breite)
        for v in ((x * 13) & 255, (y * 19) & 255, ((x + y) * 7) & 255))
    grau = b"P5\n%d %d\n255\n" % (breite, hoehe) + bytes(
        ((x * 11) ^ (y * 17)) & 255 for y in range(hoehe) for x in range(breite))
    varianten = {
        "baseline.jpg": (farbig, ["-quality", "75"]),
        "progressiv.jpg": (farbig, ["-progressive"]),
        "arithmetisch.jpg": (farbig, ["-arithmetic"]),
        "progressiv_arithmetisch.jpg": (farbig, ["-progressive", "-arithmetic"]),
        "grau.jpg": (grau, ["-grayscale"]),
        "grau_progressiv.jpg": (grau, ["-progressive"]),
        "neustart_optimiert.jpg": (farbig, ["-restart", "1", "-optimize"]),
        "abtastung_1x1.jpg": (farbig, ["-sample", "1x1", "-quality", "95"]),
        "abtastung_2x1_rgb.jpg": (farbig, ["-sample", "2x1", "-rgb"]),
    }
    with tempfile.TemporaryDirectory() as tmp:
        for name, (bild, optionen) in varianten.items():
            quelle = os.path.join(tmp, "quelle.pnm")
            with open(quelle, "wb") as f:
                f.write(bild)
            daten = subprocess.run(["cjpeg", *optionen, quelle], check=True,
                                   stdout=subprocess.PIPE).stdout
            schreiben("jpeg", name, daten)
            if name == "baseline.jpg":
                schreiben("jpeg", "abgeschnitten.jpg", daten[: len(daten) * 2 // 3])
                schreiben("jpeg", "ohne_endmarke.jpg", daten[:-2])


# ---- profile files, albums, caches --------------------------------------------------

def profile():
    schreiben("profil", "katalog.ini",
              b"[Alben]\r\n1=Urlaub\r\n2=\r\n3=Familie\r\n[Urlaub]\r\nDN=Album 1\r\nVe=1.9\r\n"
              b"AG=0x10\r\nAH=-3\r\nAk3=0\r\n\r\n[Familie]\r\nDN=Album 2\r\nAG=+42\r\n")
    schreiben("profil", "windows1252_bom.ini",
              b"\xef\xbb\xbf; Kommentar\n[alben]\n1=M\xfcnchen\n[M\xfcnchen]\n  mUV = 1 \nWM=0\n")
    schreiben("profil", "gemischte_zeilenenden.ini",
              b"vorweg\r[Alben]\r1=A\n1=doppelt\r\n[ A ]\rx==y\r=leer\rk=" + b"w" * 40 + b"\n")
    schreiben("profil", "unsinn.ini", b"[ohne Ende\n]\n[]\n==\n[Alben\n0x=0x\n\x00\xff\xfe")


def kataloge():
    katalog = (b"[Alben]\r\n1=Urlaub\r\n2=\r\n3=Zweites\r\n[Urlaub]\r\nDN=Album 1\r\nVe=1.9\r\n"
               b"MN=Stick\r\nSN=0012-ABCD\r\nMB=/media/stick\r\nAG=3\r\nAH=1\r\nAQ=1\r\nAS=1\r\n"
               b"WM=1\r\nmUV=0\r\nAk2=0\r\nAk5=1\r\n[Zweites]\r\nDN=../weg\r\n")
    ordner = b"/bilder/\r\n/bilder/mehr/\r\n<<<<<---------->>>>>\r\n/bilder/\r\n/bilder/mehr/\r\n"
    liste = b"/bilder/a.jpg\r\n/bilder/mehr/b.JPEG\r\n/bilder/c.bmp\r\n"
    schreiben("katalog", "album_vollstaendig", TEILER.join([katalog, ordner, liste]))
    schreiben("katalog", "nur_katalog", b"[Alben]\n1=A\n[A]\nDN=Album 1\n")
    schreiben("katalog", "ohne_trennzeile",
              TEILER.join([b"[Alben]\r\n1=X\r\n[X]\r\nDN=Album 1\r\n", b"/a/\r\n\r\n/b/", b"x\rz\n"]))


def satz(nummer, r, g, b):
    return struct.pack("<IH", nummer, r + g + b) + bytes([r, g, b, 0, 0, 0])


def signaturen():
    for stufe in (1, 3, 10):
        daten = bytearray([stufe - 1])  # the target reads level = 1 + first byte % 10
        for nummer in range(2):
            daten += satz(nummer, 10 * nummer, 20, 30)
            for feld in range(stufe * stufe):
                daten += satz(nummer, feld & 255, 200, 7)
        schreiben("signaturen", f"stufe_{stufe}.nba", bytes(daten))
    schreiben("signaturen", "abgeschnitten.nba", bytes([0]) + satz(0, 1, 2, 3) + b"\1\2")
    schreiben("signaturen", "falsche_summe.nba",
              bytes([0]) + struct.pack("<IH", 0, 999) + bytes([1, 2, 3, 0, 0, 0]) + satz(0, 1, 1, 1))


def fremdbilder(build_ordner):
    ordner = os.path.join(WURZEL, "fremdbild")
    os.makedirs(ordner, exist_ok=True)
    subprocess.run([os.path.join(build_ordner, "tests", "fuzz", "fuzz_fremdbild_saat"), ordner],
                   check=True)


if __name__ == "__main__":
    fremdbilder(sys.argv[1] if len(sys.argv) > 1 else "build/test")
    bitmaps()
    jpegs()
    profile()
    kataloge()
    signaturen()
    sys.exit(0)
