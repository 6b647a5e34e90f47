#!/usr/bin/env python3
"""Opens a saved web page in headless Chromium or Firefox and compares what it shows with
the mosaic file of the same settings: the whole view, and one cell at full zoom reached
through the page's # address; in Chromium, whose debugging pipe moves the pointer, also
the photo named under the pointer. Skipped (exit 77) when the browser is not installed.

Usage: webseite_im_browser.py TILVENDO ARBEITSORDNER chromium|firefox
"""
import csv
import json
import os
import shutil
import struct
import subprocess
import sys
import time
import zlib

UEBERSPRUNGEN = 77
# The mosaic: 8 × 4 cells of 128 pixels, so the whole view of a 512 × 256 window shows it
# at half its size, and one cell at full zoom fills the middle of the window.
BREITE, HOEHE = 1024, 512
KACHELN_X, KACHELN_Y = 8, 4
FENSTER = (512, 256)
# Headless Chromium lays the page out in the window less its (invisible) bars and takes the
# screenshot of the whole window: the page gets their height added, and the view, fitted
# before, lies somewhere in it. The test finds where. Firefox shows the page in the whole
# window: it gets a margin around the half-size mosaic, so that the whole view shows it
# apart from the page's black.
GROESSE = {"chromium": (FENSTER[0], FENSTER[1] + 87), "firefox": (FENSTER[0] + 88, FENSTER[1] + 44)}
# The zoom buttons in the top left corner, left out where the test looks for the mosaic.
ZOOMKNOEPFE = (48, 80)
# Mean difference per channel the whole view may have: the halving, JPEG's rounding and
# the zoom buttons over a corner.
GRENZE_GANZ = 12.0
# One cell at full zoom: JPEG's rounding only.
GRENZE_ZELLE = 8.0


def bmp_lesen(pfad):
    """A 24-bit bottom-up BMP as rows of (r, g, b)."""
    with open(pfad, "rb") as f:
        daten = f.read()
    anfang = struct.unpack_from("<I", daten, 10)[0]
    breite, hoehe = struct.unpack_from("<ii", daten, 18)
    tiefe = struct.unpack_from("<H", daten, 28)[0]
    assert tiefe == 24, tiefe
    abstand = (breite * 3 + 3) // 4 * 4
    zeilen = []
    for y in range(abs(hoehe)):
        quelle = hoehe - 1 - y if hoehe > 0 else y
        z = daten[anfang + quelle * abstand: anfang + quelle * abstand + breite * 3]
        zeilen.append([(z[3 * x + 2], z[3 * x + 1], z[3 * x]) for x in range(breite)])
    return zeilen


def png_lesen(pfad):
    """An 8-bit RGB or RGBA PNG as rows of (r, g, b)."""
    with open(pfad, "rb") as f:
        daten = f.read()
    pos, idat = 8, b""
    while pos < len(daten):
        laenge, art = struct.unpack_from(">I4s", daten, pos)
        inhalt = daten[pos + 8: pos + 8 + laenge]
        if art == b"IHDR":
            breite, hoehe, bits, farbtyp = struct.unpack_from(">IIBB", inhalt)
            assert bits == 8 and farbtyp in (2, 6), (bits, farbtyp)
        elif art == b"IDAT":
            idat += inhalt
        pos += 12 + laenge
    kanaele = 3 if farbtyp == 2 else 4
    roh = zlib.decompress(idat)
    abstand = breite * kanaele
    zeilen, vorige = [], bytearray(abstand)
    for y in range(hoehe):
        filter_art = roh[y * (abstand + 1)]
        z = bytearray(roh[y * (abstand + 1) + 1:(y + 1) * (abstand + 1)])
        for i in range(abstand):
            a = z[i - kanaele] if i >= kanaele else 0
            b = vorige[i]
            c = vorige[i - kanaele] if i >= kanaele else 0
            if filter_art == 1:
                z[i] = (z[i] + a) & 255
            elif filter_art == 2:
                z[i] = (z[i] + b) & 255
            elif filter_art == 3:
                z[i] = (z[i] + (a + b) // 2) & 255
            elif filter_art == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                z[i] = (z[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        zeilen.append([tuple(z[x * kanaele: x * kanaele + 3]) for x in range(breite)])
        vorige = z
    return zeilen


def mittlerer_fehler(a, b):
    summe = n = 0
    for za, zb in zip(a, b):
        for pa, pb in zip(za, zb):
            summe += sum(abs(x - y) for x, y in zip(pa, pb))
            n += 3
    return summe / n


def halbiert(zeilen):
    aus = []
    for y in range(0, len(zeilen) - 1, 2):
        aus.append([tuple((zeilen[y][x][k] + zeilen[y][x + 1][k] + zeilen[y + 1][x][k] +
                           zeilen[y + 1][x + 1][k] + 2) // 4 for k in range(3))
                    for x in range(0, len(zeilen[y]) - 1, 2)])
    return aus


def bemalt(zeilen):
    """The box (x0, y0, x1, y1) of the pixels that are not the page's black."""
    xs, ys = [], []
    for y, z in enumerate(zeilen):
        for x, p in enumerate(z):
            if sum(p) > 24 and not (x < ZOOMKNOEPFE[0] and y < ZOOMKNOEPFE[1]):
                xs.append(x)
                ys.append(y)
    return (min(xs), min(ys), max(xs) + 1, max(ys) + 1) if xs else (0, 0, 0, 0)


def verkleinert(zeilen, breite, hoehe):
    """The picture reduced to breite × hoehe, each pixel the mean of its footprint."""
    fx, fy = len(zeilen[0]) / breite, len(zeilen) / hoehe
    aus = []
    for y in range(hoehe):
        y0, y1 = int(y * fy), max(int(y * fy) + 1, int((y + 1) * fy))
        zeile = []
        for x in range(breite):
            x0, x1 = int(x * fx), max(int(x * fx) + 1, int((x + 1) * fx))
            summe, n = [0, 0, 0], 0
            for yy in range(y0, y1, max(1, (y1 - y0) // 2)):
                for xx in range(x0, x1, max(1, (x1 - x0) // 2)):
                    for k in range(3):
                        summe[k] += zeilen[yy][xx][k]
                    n += 1
            zeile.append(tuple(v // n for v in summe))
        aus.append(zeile)
    return aus


def bester_versatz(foto, mosaik, mx, my, bereich):
    """Where in `foto` a 16 × 16 block of `mosaik` around (mx, my) shows, near the middle:
    (mittlere Abweichung, x, y) of the best place."""
    block = [(dx, dy, mosaik[my + dy][mx + dx]) for dy in range(-8, 8, 2) for dx in range(-8, 8, 2)]
    fx, fy = len(foto[0]) // 2, len(foto) // 2
    bestes = (1e9, 0, 0)
    for vy in range(-bereich[1], bereich[1] + 1):
        for vx in range(-bereich[0], bereich[0] + 1):
            summe = 0
            for dx, dy, p in block:
                q = foto[fy + vy + dy][fx + vx + dx]
                summe += abs(p[0] - q[0]) + abs(p[1] - q[1]) + abs(p[2] - q[2])
            bestes = min(bestes, (summe / (3 * len(block)), fx + vx, fy + vy))
    return bestes


def ausschnitt(zeilen, x0, y0, breite, hoehe):
    return [z[x0:x0 + breite] for z in zeilen[y0:y0 + hoehe]]


def bmp_schreiben(pfad, breite, hoehe, farbe):
    """A 24-bit BMP of `farbe(x, y)` -> (r, g, b)."""
    abstand = (breite * 3 + 3) // 4 * 4
    pixel = bytearray()
    for y in range(hoehe - 1, -1, -1):
        zeile = bytearray()
        for x in range(breite):
            r, g, b = farbe(x, y)
            zeile += bytes((b, g, r))
        pixel += zeile + bytes(abstand - len(zeile))
    kopf = struct.pack("<2sIHHI", b"BM", 54 + len(pixel), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, breite, hoehe, 1, 24, 0, len(pixel), 2835, 2835, 0, 0)
    with open(pfad, "wb") as f:
        f.write(kopf + info + pixel)


PROGRAMME = {"chromium": ("chromium", "chromium-browser", "google-chrome"),
             "firefox": ("firefox-esr", "firefox")}


def browser(art):
    for name in PROGRAMME[art]:
        pfad = shutil.which(name)
        if pfad:
            return pfad
    return None


def bildschirmfoto(art, programm, seite, ziel, profil):
    if art == "chromium":
        befehl = [programm, "--headless", "--no-sandbox", "--disable-gpu", "--hide-scrollbars",
                  "--user-data-dir=" + profil, "--no-first-run",
                  "--window-size=%d,%d" % GROESSE[art],
                  "--virtual-time-budget=5000", "--screenshot=" + ziel, seite]
    else:
        # A profile of its own, so that no running Firefox and no earlier run takes part.
        os.makedirs(profil, exist_ok=True)
        befehl = [programm, "--headless", "--no-remote", "-profile", profil,
                  "--window-size=%d,%d" % GROESSE[art], "--screenshot", ziel, seite]
    subprocess.run(befehl, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   timeout=60)
    return png_lesen(ziel)


class Devtools:
    """Chromium driven through its debugging pipe (fd 3 in, fd 4 out, JSON ending in NUL)."""

    def __init__(self, chromium, profil):
        self.hin_lesen, self.hin = os.pipe()
        self.zurueck, self.zurueck_schreiben = os.pipe()
        befehl = [chromium, "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                  "--user-data-dir=" + profil, "--remote-debugging-pipe",
                  "--window-size=%d,%d" % GROESSE["chromium"]]
        def fds():
            os.dup2(self.hin_lesen, 3)
            os.dup2(self.zurueck_schreiben, 4)
        self.prozess = subprocess.Popen(befehl, pass_fds=(3, 4), preexec_fn=fds,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(self.hin_lesen)
        os.close(self.zurueck_schreiben)
        self.nummer = 0
        self.rest = b""

    def senden(self, methode, sitzung=None, **werte):
        self.nummer += 1
        nachricht = {"id": self.nummer, "method": methode, "params": werte}
        if sitzung:
            nachricht["sessionId"] = sitzung
        os.write(self.hin, json.dumps(nachricht).encode() + b"\0")
        while True:
            while b"\0" not in self.rest:
                teil = os.read(self.zurueck, 65536)
                if not teil:
                    raise RuntimeError("Chromium hat die Verbindung beendet")
                self.rest += teil
            text, self.rest = self.rest.split(b"\0", 1)
            antwort = json.loads(text)
            if antwort.get("id") == self.nummer:
                if "error" in antwort:
                    raise RuntimeError(str(antwort["error"]))
                return antwort.get("result", {})

    def auswerten(self, sitzung, ausdruck):
        return self.senden("Runtime.evaluate", sitzung, expression=ausdruck,
                           returnByValue=True)["result"].get("value")

    def schliessen(self):
        try:
            self.senden("Browser.close")
        except (RuntimeError, OSError):
            pass
        try:
            self.prozess.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.prozess.kill()


def name_unter_zeiger(chromium, adresse, profil):
    """The text the page shows with the pointer in the middle of its window."""
    browser_ = Devtools(chromium, profil)
    try:
        ziel = browser_.senden("Target.createTarget", url=adresse)["targetId"]
        sitzung = browser_.senden("Target.attachToTarget", targetId=ziel,
                                  flatten=True)["sessionId"]
        # The new tab shows an empty page first, complete at once.
        for _ in range(200):
            if browser_.auswerten(sitzung, "location.protocol === 'file:' && "
                                           "document.readyState === 'complete' && "
                                           "!!window.tilvendoMosaik"):
                break
            time.sleep(0.1)
        breite = browser_.auswerten(sitzung, "window.innerWidth")
        hoehe = browser_.auswerten(sitzung, "window.innerHeight")
        browser_.senden("Input.dispatchMouseEvent", sitzung, type="mouseMoved",
                        x=breite / 2, y=hoehe / 2)
        time.sleep(0.2)
        return browser_.auswerten(
            sitzung, "(function(){var n=document.getElementById('name');"
                     "return n.hidden ? '' : n.textContent;})()")
    finally:
        browser_.schliessen()


def main():
    tilvendo, arbeit, art = sys.argv[1], sys.argv[2], sys.argv[3]
    programm = browser(art)
    if programm is None:
        print("ÜBERSPRUNGEN: %s ist nicht installiert (werkzeuge/einrichten.sh installiert es)."
              % " oder ".join(PROGRAMME[art]))
        return UEBERSPRUNGEN
    shutil.rmtree(arbeit, ignore_errors=True)
    fotos = os.path.join(arbeit, "fotos")
    os.makedirs(fotos)
    # Photos of clearly different colours and a gradient each, so a cell shows which one
    # stands in it.
    for i in range(24):
        grund = ((i * 97) % 256, (i * 53 + 40) % 256, (i * 151 + 90) % 256)
        bmp_schreiben(os.path.join(fotos, "foto%02d.bmp" % i), 64, 64,
                      lambda x, y, g=grund: (g[0], (g[1] + x) % 256, (g[2] + y) % 256))
    vorlage = os.path.join(arbeit, "vorlage.bmp")
    bmp_schreiben(vorlage, 256, 128, lambda x, y: (x, y * 2, 255 - x))
    umgebung = dict(os.environ, LANGUAGE="de")
    alben = os.path.join(arbeit, "alben")
    subprocess.run([tilvendo, "--alben-pfad", alben, "album", "anlegen", "Test", fotos],
                   check=True, env=umgebung, stdout=subprocess.DEVNULL)
    gemeinsam = ["--album", "Test", "--kacheln", "%dx%d" % (KACHELN_X, KACHELN_Y),
                 "--groesse", "%dx%d" % (BREITE, HOEHE), "--seed", "7", "--einblenden", "25", "--mindestabstand", "0"]
    datei = os.path.join(arbeit, "mosaik.bmp")
    seite = os.path.join(arbeit, "mosaik.html")
    subprocess.run([tilvendo, "--alben-pfad", alben, "mosaik", vorlage, datei, "--farbtiefe", "24"]
                   + gemeinsam, check=True, env=umgebung, stdout=subprocess.DEVNULL)
    liste = os.path.join(arbeit, "liste.csv")
    subprocess.run([tilvendo, "--alben-pfad", alben, "mosaik", vorlage, seite, "--qualitaet", "95",
                    "--liste", liste]
                   + gemeinsam, check=True, env=umgebung, stdout=subprocess.DEVNULL)
    mosaik = bmp_lesen(datei)
    assert len(mosaik) == HOEHE and len(mosaik[0]) == BREITE, "Mosaik hat nicht die erwartete Größe"
    profil = os.path.join(arbeit, "profil")
    fehler = 0

    ganz = bildschirmfoto(art, programm, "file://" + seite, os.path.join(arbeit, "ganz.png"), profil)
    x0, y0, x1, y1 = bemalt(ganz)
    print("Ganze Ansicht: Mosaik bei %d,%d bis %d,%d" % (x0, y0, x1, y1))
    # The whole mosaic, in its own proportions, large in the window.
    breite, hoehe = x1 - x0, y1 - y0
    if breite < FENSTER[0] // 2 or abs(breite - 2 * hoehe) > 3 or x0 <= 0 or x1 >= len(ganz[0]):
        print("FEHLER: die ganze Ansicht zeigt nicht das ganze Mosaik")
        fehler += 1
        breite, hoehe = max(breite, 1), max(hoehe, 1)
    abweichung = mittlerer_fehler(ausschnitt(ganz, x0, y0, breite, hoehe),
                                  verkleinert(mosaik, breite, hoehe))
    print("Ganze Ansicht: mittlere Abweichung %.2f (Grenze %.1f)" % (abweichung, GRENZE_GANZ))
    if abweichung > GRENZE_GANZ:
        fehler += 1

    # The cell in column 6, row 3 (from 1), its centre in the middle of the window.
    kachel = BREITE // KACHELN_X
    mitte_x, mitte_y = 5 * kachel + kachel // 2, 2 * kachel + kachel // 2
    adresse = "file://%s#2/%d/%d" % (seite, mitte_x, mitte_y)
    zelle = bildschirmfoto(art, programm, adresse, os.path.join(arbeit, "zelle.png"), profil)
    # The cell's middle lies in the middle of the view, the view somewhere in the window
    # (see GROESSE): found where the mosaic's pixels match best, then compared over the
    # cell's inner part pixel by pixel.
    _, fx, fy = bester_versatz(zelle, mosaik, mitte_x, mitte_y,
                               (8, GROESSE[art][1] - FENSTER[1]))
    rand = 24  # inside the cell, clear of its neighbours
    gezeigt = ausschnitt(zelle, fx - kachel // 2 + rand, fy - kachel // 2 + rand,
                         kachel - 2 * rand, kachel - 2 * rand)
    soll = ausschnitt(mosaik, mitte_x - kachel // 2 + rand, mitte_y - kachel // 2 + rand,
                      kachel - 2 * rand, kachel - 2 * rand)
    abweichung = mittlerer_fehler(gezeigt, soll)
    if abs(fx - len(zelle[0]) // 2) > 2:
        print("FEHLER: die Zelle steht nicht in der Mitte (x = %d)" % fx)
        fehler += 1
    print("Eine Zelle in voller Größe: mittlere Abweichung %.2f (Grenze %.1f)"
          % (abweichung, GRENZE_ZELLE))
    if abweichung > GRENZE_ZELLE:
        fehler += 1

    # The pointer over that cell names its photo: file name and album (its folder).
    if art != "chromium":
        print("Der Name unter dem Zeiger wird nur in Chromium geprüft.")
        return 1 if fehler else 0
    # The list is written in the language's own separator (";" in German).
    with open(liste, encoding="utf-8-sig", newline="") as f:
        zeilen = list(csv.reader(f, delimiter=";" if ";" in f.readline() else ","))
    foto = None
    for z in zeilen:
        if len(z) >= 3 and z[0].strip() == "6" and z[1].strip() == "3":
            foto = os.path.basename(z[2])
    genannt = name_unter_zeiger(programm, adresse, profil)
    print("Unter dem Zeiger: %r (erwartet %r)" % (genannt, foto))
    if foto is None or not genannt.startswith(foto + " \u2014 fotos"):
        fehler += 1
    return 1 if fehler else 0


if __name__ == "__main__":
    sys.exit(main())
