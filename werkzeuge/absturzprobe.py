#!/usr/bin/env python3
"""Kills the command-line program at many points while it writes, fills its disk, and
checks that no album, cache or saved mosaic is lost.

  werkzeuge/absturzprobe.py [--bau ORDNER] [--kills N] [--volle-platte N] [--kurz]
                            [--ordner ORDNER] [--behalten]

Five phases, each started from a saved state: an album is created; an album is
refreshed after its folder changed; a cold run writes the caches and the picture list;
a large BMP and a large JPEG are saved over an earlier mosaic. Each phase is killed
with SIGKILL, half of the time at the Nth call of a file function (strace, when
installed), half after delays stepped over the length of a clean run. After each kill:

  * every file that was there is unchanged or replaced whole (an earlier mosaic byte
    for byte, or the new one whole), and no album or catalogue file is missing;
  * the next run succeeds, leaves no temporary file behind and ends with the same
    album files and the same mosaic, byte for byte, as a run never interrupted.

Full disks: each phase also runs with the file size limited (RLIMIT_FSIZE) at several
sizes, and, where a private mount namespace can be made (as root), on a small tmpfs
filled to several levels. The program must then say so in German and end with an
error (or succeed with everything written), and the checks above follow.

Needs Python 3 and the built program (cmake --build build/release --target tilvendo);
strace, when installed, for kills at exact calls.
Exit status 0 when no fault was found, 1 when one was, 2 when the probe could not run.
"""

import argparse
import collections
import hashlib
import math
import os
import random
import re
import resource
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time

# A run that takes this long hangs.
LAUFZEIT_GRENZE = 300
# The photos of the albums: small synthetic pictures.
FOTOS_ALT = 20
FOTOS_DEMO = 200
FOTOS_NEU = 10  # replace as many old ones before the refresh
FOTO_GROESSE = (80, 60)
VORLAGE_GROESSE = (400, 300)
# The large mosaics: the template zoomed to 2400 x 1800 pixels.
ZOOM_GROSS = "600"
FUELLER = "füller"  # the file that fills the tmpfs; not part of any state
# Temporary names: ours ("…tilvendo-PID-XXXXXX") and those of earlier builds.
TEMPORAER = re.compile(r"^\..+(\.tilvendo-\d+-|\.)[A-Za-z0-9]{6}$")
TEMPORAER_ENDE = re.compile(r"(\.tilvendo-\d+-|\.)[A-Za-z0-9]{6}$")
TEXTDATEIEN = (".nbx", ".nbd", ".nbf")
KATALOG = "Alben.nbx"
NUMMER_EINTRAG = re.compile(rb"^DN=([^\r\n]*)", re.MULTILINE)
CACHES = (".nba", ".nbf")
# The calls at which a kill is placed; renames and links are where files are replaced.
STRACE_AUFRUFE = ["rename", "renameat", "renameat2", "linkat", "unlink", "unlinkat", "fsync",
                  "openat", "write", "ftruncate"]
STRACE_SELTEN = {"rename", "renameat", "renameat2", "linkat", "unlink", "unlinkat", "ftruncate"}
NAMENSRAUM_MARKE = "TILVENDO_ABSTURZPROBE_NAMENSRAUM"
ENGLISCH = re.compile(r"No space|File too large|terminate called|what\(\)|std::|Abort|errno|"
                      r"Error|Cannot|writing",
                      re.IGNORECASE)
MELDUNG_ANFANG = ("tilvendo:", "Warnung:")
DEUTSCH = re.compile(r"nicht|kein|voll|Platz|Fehler", re.IGNORECASE)


# ---- synthetic pictures -------------------------------------------------------------

def bmp_schreiben(pfad, breite, hoehe, farbe):
    """A 24-bit BMP; farbe(x, y) gives (r, g, b)."""
    rest = b"\0" * ((-breite * 3) % 4)
    zeilen = []
    for y in range(hoehe - 1, -1, -1):
        zeile = bytearray()
        for x in range(breite):
            r, g, b = farbe(x, y)
            zeile += bytes((b, g, r))
        zeilen.append(bytes(zeile) + rest)
    daten = b"".join(zeilen)
    kopf = struct.pack("<2sIHHI", b"BM", 54 + len(daten), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, breite, hoehe, 1, 24, 0, len(daten), 2835, 2835, 0, 0)
    with open(pfad, "wb") as datei:
        datei.write(kopf + info + daten)


def muster(nummer):
    """Colour waves, different for each number."""
    zufall = random.Random(nummer)
    wellen = [(zufall.uniform(0.005, 0.05), zufall.uniform(0.005, 0.05), zufall.uniform(0, 6))
              for _ in range(3)]

    def farbe(x, y):
        return tuple(int(127.5 + 127.5 * math.sin(fx * x + fy * y + phase))
                     for fx, fy, phase in wellen)
    return farbe


# ---- running the program ------------------------------------------------------------

class Ergebnis:
    def __init__(self, rc, fehler="", getoetet=False):
        self.rc = rc
        self.fehler = fehler
        self.getoetet = getoetet


def vorbereiten_fuer(dateigrenze):
    def vorbereiten():
        # A real full disk gives an error, not a signal: let the limit do the same.
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        if dateigrenze is not None:
            resource.setrlimit(resource.RLIMIT_FSIZE, (dateigrenze, dateigrenze))
    return vorbereiten


def ausfuehren(befehl, dateigrenze=None):
    try:
        p = subprocess.run(befehl, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                           stderr=subprocess.PIPE, timeout=LAUFZEIT_GRENZE,
                           preexec_fn=vorbereiten_fuer(dateigrenze))
    except subprocess.TimeoutExpired:
        return Ergebnis(-signal.SIGKILL, f"hängt länger als {LAUFZEIT_GRENZE} s")
    return Ergebnis(p.returncode, p.stderr.decode("utf-8", "replace").strip())


def nach_verzoegerung_toeten(befehl, sekunden):
    p = subprocess.Popen(befehl, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                         stderr=subprocess.DEVNULL, preexec_fn=vorbereiten_fuer(None))
    time.sleep(sekunden)
    getoetet = p.poll() is None
    if getoetet:
        os.kill(p.pid, signal.SIGKILL)
    p.wait(timeout=LAUFZEIT_GRENZE)
    return Ergebnis(p.returncode, getoetet=getoetet)


def strace_befehl(befehl, protokoll, aufrufe, einspritzen=None):
    liste = ",".join(aufrufe)
    argumente = ["strace", "-f", "-o", protokoll, "-e", "trace=" + liste]
    if einspritzen:
        aufruf, n = einspritzen
        argumente += ["-e", f"inject={aufruf}:signal=SIGKILL:when={n}"]
    return argumente + ["--"] + befehl


def bei_aufruf_toeten(befehl, aufruf, n, arbeit):
    protokoll = os.path.join(arbeit, "strace.log")
    p = subprocess.run(strace_befehl(befehl, protokoll, [aufruf], (aufruf, n)),
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=LAUFZEIT_GRENZE,
                       preexec_fn=vorbereiten_fuer(None))
    with open(protokoll, encoding="utf-8", errors="replace") as datei:
        getoetet = "killed by SIGKILL" in datei.read()
    return Ergebnis(p.returncode, getoetet=getoetet)


def aufrufe_zaehlen(befehl, arbeit):
    """How often each thread makes each call in a clean run: the highest count per call."""
    protokoll = os.path.join(arbeit, "zaehlen.log")
    subprocess.run(strace_befehl(befehl, protokoll, STRACE_AUFRUFE), stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=LAUFZEIT_GRENZE,
                   check=True)
    zaehler = collections.Counter()
    aufruf = re.compile(r"^(\d+)\s+(\w+)\(")
    with open(protokoll, encoding="utf-8", errors="replace") as datei:
        for zeile in datei:
            treffer = aufruf.match(zeile)
            if treffer:
                zaehler[(treffer.group(1), treffer.group(2))] += 1
    hoechste = collections.Counter()
    for (_, name), anzahl in zaehler.items():
        hoechste[name] = max(hoechste[name], anzahl)
    return hoechste


def direkt_geschrieben(befehl, arbeit, lauf):
    """Files in the run's folder that a clean run opens for writing under their own
    name, so that a kill could leave them half written."""
    protokoll = os.path.join(arbeit, "direkt.log")
    subprocess.run(strace_befehl(befehl, protokoll, ["open", "openat", "creat", "truncate"]),
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=LAUFZEIT_GRENZE, check=True)
    gefunden = set()
    oeffnen = re.compile(r'(?:open|openat)\((?:AT_FDCWD, )?"([^"]*)", ([A-Z_|]+)')
    with open(protokoll, encoding="utf-8", errors="replace") as datei:
        for zeile in datei:
            treffer = oeffnen.search(zeile)
            if treffer:
                pfad, flaggen = treffer.groups()
                schreibend = "O_WRONLY" in flaggen or "O_RDWR" in flaggen or "O_TRUNC" in flaggen
                if not schreibend or "O_TMPFILE" in flaggen:
                    continue
            elif "creat(" in zeile or "truncate(" in zeile:
                pfad = zeile.split('"')[1] if '"' in zeile else ""
            else:
                continue
            voll = os.path.abspath(pfad)
            if voll.startswith(lauf + os.sep) and not TEMPORAER.match(os.path.basename(voll)):
                gefunden.add(os.path.relpath(voll, lauf))
    return gefunden


# ---- states of the run's folder -----------------------------------------------------

class Zustand(dict):
    """name → sha256 of every file below the run's folder (the tmpfs filler left out).

    Album files are named after their album, not after their number: which free number
    a new album gets does not matter, only that the catalogue names its files.
    `pfade` gives the real path of each name."""

    def __init__(self, ordner):
        super().__init__()
        self.pfade = {}
        katalog = os.path.join(ordner, "alben", KATALOG)
        nummern = katalog_nummern(katalog) if os.path.exists(katalog) else {}
        for wurzel, _, dateien in os.walk(ordner):
            for name in dateien:
                pfad = os.path.join(wurzel, name)
                relativ = os.path.relpath(pfad, ordner)
                if relativ == FUELLER:
                    continue
                with open(pfad, "rb") as datei:
                    inhalt = datei.read()
                if relativ == os.path.join("alben", KATALOG):
                    inhalt = NUMMER_EINTRAG.sub(lambda t: b"DN=" + nummern.get(
                        t.group(1).decode("utf-8", "replace"), "?").encode(), inhalt)
                for nummer, album in nummern.items():
                    if os.path.dirname(relativ) == "alben" and re.match(
                            re.escape(nummer) + r"[ .]", name):
                        relativ = os.path.join("alben", album + name[len(nummer):])
                self[relativ] = hashlib.sha256(inhalt).hexdigest()
                self.pfade[relativ] = pfad


def katalog_nummern(pfad):
    """The file base of each album in the catalogue → "«album»"."""
    nummern = {}
    album = None
    with open(pfad, "rb") as datei:
        for zeile in datei.read().decode("utf-8", "replace").splitlines():
            if zeile.startswith("[") and zeile.endswith("]"):
                album = zeile[1:-1]
            elif zeile.startswith("DN=") and album:
                nummern[zeile[3:]] = "«" + album + "»"
    return nummern


def ganz_wirkend(pfad):
    """Whether a text file of the program looks whole: ends at a line end, reads as text."""
    if not pfad.endswith(TEXTDATEIEN):
        return False
    with open(pfad, "rb") as datei:
        inhalt = datei.read()
    try:
        inhalt.decode("utf-8")
    except UnicodeDecodeError:
        return False
    return inhalt == b"" or inhalt.endswith(b"\r\n")


def ist_temporaer(relativ):
    return bool(TEMPORAER.match(os.path.basename(relativ)))


# ---- the phases ---------------------------------------------------------------------

class Phase:
    def __init__(self, name, start, befehl, erholung):
        self.name = name
        self.start = start          # the saved state it starts from
        self.befehl = befehl        # the command that is killed
        self.erholung = erholung    # the runs after it: a list of commands, or a function
        self.nach_befehl = {}       # state after a clean run of befehl
        self.referenz = {}          # state after a clean run and its recovery
        self.unbestaendig = set()   # files that differ between two clean runs
        self.groesste = 0           # largest file the command writes
        self.aufrufe = collections.Counter()
        self.dauer = 0.0            # seconds of a clean run of befehl


class Probe:
    def __init__(self, optionen):
        self.o = optionen
        self.basis = os.path.abspath(optionen.ordner) if optionen.ordner else tempfile.mkdtemp(
            prefix="tilvendo-absturzprobe-")
        os.makedirs(self.basis, exist_ok=True)
        self.lauf = os.path.join(self.basis, "lauf")
        self.staende = os.path.join(self.basis, "staende")
        self.arbeit = os.path.join(self.basis, "arbeit")
        os.makedirs(self.arbeit, exist_ok=True)
        bau = os.path.abspath(optionen.bau)
        self.tilvendo = os.path.join(bau, "cli", "tilvendo")
        self.strace = shutil.which("strace") is not None
        self.tmpfs = os.environ.get(NAMENSRAUM_MARKE) == "1"
        self.fehler = collections.OrderedDict()  # (phase, art, datei) → [count, first case]
        self.zahlen = collections.OrderedDict()

    # -- commands

    def t(self, *argumente):
        return [self.tilvendo, "--alben-pfad", os.path.join(self.lauf, "alben"), *argumente]

    def mosaik(self, ausgabe, seed, gross, album="Demo"):
        befehl = self.t("mosaik", os.path.join(self.basis, "vorlage.bmp"),
                        os.path.join(self.lauf, ausgabe), "--album", album, "--seed", str(seed))
        if gross:
            befehl += ["--kacheln", "40x30", "--zoom", ZOOM_GROSS]
        else:
            befehl += ["--kacheln", "24x18"]
        return befehl

    def anlegen(self, album, fotos):
        return self.t("album", "anlegen", album, os.path.join(self.basis, fotos))

    # -- preparation

    def sauber(self, befehl):
        ergebnis = ausfuehren(befehl)
        if ergebnis.rc != 0:
            raise RuntimeError(f"{' '.join(befehl)} scheitert ({ergebnis.rc}): {ergebnis.fehler}")

    def lauf_leeren(self):
        if os.path.ismount(self.lauf):
            for name in os.listdir(self.lauf):
                pfad = os.path.join(self.lauf, name)
                shutil.rmtree(pfad) if os.path.isdir(pfad) else os.remove(pfad)
        else:
            shutil.rmtree(self.lauf, ignore_errors=True)
            os.makedirs(self.lauf)

    def stand_laden(self, name):
        self.lauf_leeren()
        shutil.copytree(os.path.join(self.staende, name), self.lauf, dirs_exist_ok=True)

    def stand_sichern(self, name):
        shutil.copytree(self.lauf, os.path.join(self.staende, name))

    def einrichten(self):
        print(f"== Bereite die Probe in {self.basis} vor")
        for ordner in ("alle", "fotos", "fotos_alt", "staende"):
            shutil.rmtree(os.path.join(self.basis, ordner), ignore_errors=True)
        bmp_schreiben(os.path.join(self.basis, "vorlage.bmp"), *VORLAGE_GROESSE, muster(0))
        alle = os.path.join(self.basis, "alle")
        os.makedirs(alle, exist_ok=True)
        for nummer in range(1, FOTOS_ALT + FOTOS_DEMO + FOTOS_NEU + 1):
            bmp_schreiben(os.path.join(alle, f"foto-{nummer:04}.bmp"), *FOTO_GROESSE,
                          muster(nummer))
        namen = sorted(os.listdir(alle))
        for ordner, auswahl in (("fotos_alt", namen[:FOTOS_ALT]),
                                ("fotos", namen[FOTOS_ALT:FOTOS_ALT + FOTOS_DEMO])):
            os.makedirs(os.path.join(self.basis, ordner))
            for name in auswahl:
                shutil.copy(os.path.join(alle, name), os.path.join(self.basis, ordner))
        os.makedirs(self.staende)

        # Another album beside the one the phases work on: it must survive every kill.
        self.lauf_leeren()
        self.sauber(self.anlegen("Alt", "fotos_alt"))
        self.sauber(self.mosaik("klein.jpg", 1, False, album="Alt"))
        os.remove(os.path.join(self.lauf, "klein.jpg"))
        self.stand_sichern("leer")
        self.sauber(self.anlegen("Demo", "fotos"))
        self.sauber(self.mosaik("klein.jpg", 1, False))
        os.remove(os.path.join(self.lauf, "klein.jpg"))
        self.stand_sichern("vor_aktualisieren")

        # The folder changes: some photos go, new ones come.
        fotos = os.path.join(self.basis, "fotos")
        for name in sorted(os.listdir(fotos))[:FOTOS_NEU]:
            os.remove(os.path.join(fotos, name))
        for name in namen[FOTOS_ALT + FOTOS_DEMO:]:
            shutil.copy(os.path.join(alle, name), fotos)

        self.stand_laden("leer")
        self.sauber(self.anlegen("Demo", "fotos"))
        self.stand_sichern("kalt")
        self.sauber(self.mosaik("klein.jpg", 1, False))
        os.remove(os.path.join(self.lauf, "klein.jpg"))
        # The earlier mosaics that the saves replace.
        self.sauber(self.mosaik("gross.bmp", 2, True))
        self.sauber(self.mosaik("gross.jpg", 2, True))
        self.stand_sichern("warm")

    def phasen(self):
        def album_wieder():
            zeigen = ausfuehren(self.t("album", "zeigen", "Demo"))
            if zeigen.rc == 0:
                return [self.t("album", "aktualisieren", "Demo")]
            return [self.anlegen("Demo", "fotos")]

        klein = self.mosaik("klein.jpg", 1, False)
        return [
            Phase("Album anlegen", "leer", self.anlegen("Demo", "fotos"),
                  lambda: album_wieder() + [klein]),
            Phase("Album aktualisieren", "vor_aktualisieren",
                  self.t("album", "aktualisieren", "Demo"),
                  lambda: [self.t("album", "aktualisieren", "Demo"), klein]),
            Phase("Kalter Lauf", "kalt", klein, lambda: [klein]),
            Phase("BMP speichern", "warm", self.mosaik("gross.bmp", 1, True),
                  lambda: [self.mosaik("gross.bmp", 1, True)]),
            Phase("JPEG speichern", "warm", self.mosaik("gross.jpg", 1, True),
                  lambda: [self.mosaik("gross.jpg", 1, True)]),
        ]

    def referenz(self, phase):
        """The states of clean runs, twice, to know which files a run always writes alike."""
        staende = []
        for _ in range(2):
            self.stand_laden(phase.start)
            vorher = Zustand(self.lauf)
            start = time.monotonic()
            self.sauber(phase.befehl)
            phase.dauer = time.monotonic() - start
            phase.nach_befehl = Zustand(self.lauf)
            phase.groesste = max([os.path.getsize(phase.nach_befehl.pfade[f])
                                  for f, h in phase.nach_befehl.items() if vorher.get(f) != h]
                                 + [0])
            for befehl in phase.erholung():
                self.sauber(befehl)
            staende.append(Zustand(self.lauf))
        erster, zweiter = staende
        phase.referenz = erster
        phase.unbestaendig = {f for f in set(erster) | set(zweiter) if erster.get(f) != zweiter.get(f)}
        for datei in sorted(phase.unbestaendig):
            self.melden(phase, "zwei saubere Läufe enden verschieden", datei, "Referenz")
        if self.strace:
            self.stand_laden(phase.start)
            phase.aufrufe = aufrufe_zaehlen(phase.befehl, self.arbeit)
            self.stand_laden(phase.start)
            for datei in sorted(direkt_geschrieben(phase.befehl, self.arbeit, self.lauf)):
                self.melden(phase, "wird unter eigenem Namen geschrieben (ein Kill lässt sie halb)",
                            datei, "Ablauf")

    # -- findings

    def melden(self, phase, art, datei, fall):
        # Temporary files differ only in pid and letters: one finding for all of them.
        if ist_temporaer(datei):
            datei = TEMPORAER_ENDE.sub(".…", datei)
        schluessel = (phase.name, art, datei)
        if schluessel not in self.fehler:
            self.fehler[schluessel] = [0, fall]
        self.fehler[schluessel][0] += 1

    def zaehlen(self, phase, art, anzahl=1):
        self.zahlen.setdefault(phase.name, collections.Counter())[art] += anzahl

    def nach_abbruch_pruefen(self, phase, vorher, fall):
        """Right after the kill or failure: nothing that was there is lost or torn."""
        jetzt = Zustand(self.lauf)
        for datei, inhalt in vorher.items():
            if datei not in jetzt:
                if not datei.endswith(CACHES):
                    self.melden(phase, "verschwunden", datei, fall)
                continue
            gueltig = {inhalt, phase.nach_befehl.get(datei), phase.referenz.get(datei)}
            if jetzt[datei] not in gueltig and not ganz_wirkend(jetzt.pfade[datei]):
                self.melden(phase, "zerrissen oder verändert", datei, fall)
        for datei in set(jetzt) - set(vorher):
            if ist_temporaer(datei):
                self.zaehlen(phase, "temporäre Reste direkt danach")
                self.zaehlen(phase, "ihre Bytes", os.path.getsize(jetzt.pfade[datei]))
                continue
            gueltig = {phase.nach_befehl.get(datei), phase.referenz.get(datei)}
            if jetzt[datei] not in gueltig and not ganz_wirkend(jetzt.pfade[datei]):
                self.melden(phase, "neu und unvollständig", datei, fall)

    def erholen_und_pruefen(self, phase, fall):
        """The next runs must succeed and end exactly where clean runs end."""
        for befehl in phase.erholung():
            ergebnis = ausfuehren(befehl)
            if ergebnis.rc != 0:
                self.melden(phase, f"der nächste Lauf scheitert: {ergebnis.fehler[:160]}",
                            befehl[3], fall)
                return
        jetzt = Zustand(self.lauf)
        for datei in sorted(set(jetzt) | set(phase.referenz)):
            if datei in phase.unbestaendig:
                continue
            if datei not in phase.referenz:
                art = "temporäre Datei bleibt liegen" if ist_temporaer(datei) else "bleibt übrig"
                self.melden(phase, art + " nach dem nächsten Lauf", datei, fall)
            elif datei not in jetzt:
                self.melden(phase, "fehlt nach dem nächsten Lauf", datei, fall)
            elif jetzt[datei] != phase.referenz[datei]:
                self.melden(phase, "weicht nach dem nächsten Lauf vom sauberen Lauf ab", datei, fall)

    # -- kills

    def todespunkte(self, phase, anzahl):
        """(call, n) spread over the clean run; every rename and link first."""
        selten = [(a, n) for a in STRACE_AUFRUFE if a in STRACE_SELTEN
                  for n in range(1, phase.aufrufe[a] + 1)]
        haeufig = [(a, n) for a in STRACE_AUFRUFE if a not in STRACE_SELTEN
                   for n in range(1, phase.aufrufe[a] + 1)]
        if len(selten) >= anzahl:
            schritt = len(selten) / anzahl
            return [selten[int(i * schritt)] for i in range(anzahl)]
        rest = anzahl - len(selten)
        schritt = len(haeufig) / rest if rest and haeufig else 0
        return selten + [haeufig[int(i * schritt)] for i in range(min(rest, len(haeufig)))]

    def toeten(self, phase, anzahl):
        faelle = []
        mit_strace = anzahl // 2 if self.strace else 0
        for aufruf, n in self.todespunkte(phase, mit_strace) if mit_strace else []:
            faelle.append((f"beim {n}. {aufruf}", lambda a=aufruf, n=n: bei_aufruf_toeten(
                phase.befehl, a, n, self.arbeit)))
        verzoegert = anzahl - len(faelle)
        for i in range(verzoegert):
            sekunden = phase.dauer * (i + 0.5) / verzoegert
            faelle.append((f"nach {sekunden * 1000:.0f} ms", lambda s=sekunden: (
                nach_verzoegerung_toeten(phase.befehl, s))))
        for fall, toeten in faelle:
            self.stand_laden(phase.start)
            vorher = Zustand(self.lauf)
            ergebnis = toeten()
            if not ergebnis.getoetet:
                self.zaehlen(phase, "Lauf schon fertig (kein Kill)")
                continue
            self.zaehlen(phase, "Kills")
            self.nach_abbruch_pruefen(phase, vorher, fall)
            self.erholen_und_pruefen(phase, fall)

    # -- full disks

    def voll_pruefen(self, phase, vorher, ergebnis, fall):
        meldungen = [z for z in ergebnis.fehler.splitlines() if z.startswith(MELDUNG_ANFANG)]
        if ergebnis.rc < 0:
            self.melden(phase, f"stürzt ab (Signal {-ergebnis.rc})", "", fall)
        elif ergebnis.rc == 0 and Zustand(self.lauf) == phase.nach_befehl:
            self.zaehlen(phase, "volle Platte: alles passte")
        elif ergebnis.rc == 0 and meldungen:
            # A cache that cannot be written does not make the saved mosaic wrong.
            self.zaehlen(phase, "volle Platte: gewarnt, Mosaik gespeichert")
        elif ergebnis.rc == 0:
            self.melden(phase, "meldet Erfolg, obwohl nicht alles geschrieben wurde", "", fall)
        else:
            self.zaehlen(phase, "volle Platte: Fehler gemeldet")
            if not meldungen:
                self.melden(phase, "endet mit Fehler, sagt aber nichts", "", fall)
        for meldung in meldungen:
            if ENGLISCH.search(meldung) or not DEUTSCH.search(meldung):
                self.melden(phase, f"Meldung nicht deutsch: „{meldung}“", "", fall)
        self.nach_abbruch_pruefen(phase, vorher, fall)

    def dateigrenzen(self, phase, anzahl):
        groesste = max(phase.groesste, 1)
        kandidaten = [0, 100, 4096] + [groesste * i // anzahl for i in range(1, anzahl)] + [
            groesste - 1]
        kandidaten = sorted(set(k for k in kandidaten if k < groesste))
        if anzahl <= 1 or len(kandidaten) <= anzahl:
            return kandidaten[:max(anzahl, 0)]
        return [kandidaten[round(i * (len(kandidaten) - 1) / (anzahl - 1))] for i in range(anzahl)]

    def grenze_fsize(self, phase, anzahl):
        for grenze in self.dateigrenzen(phase, anzahl):
            fall = f"Dateigrenze {grenze} Bytes"
            self.stand_laden(phase.start)
            vorher = Zustand(self.lauf)
            self.zaehlen(phase, "volle Platte (Dateigrenze)")
            self.voll_pruefen(phase, vorher, ausfuehren(phase.befehl, dateigrenze=grenze), fall)
            self.erholen_und_pruefen(phase, fall)

    def tmpfs_fuellen(self, phase, frei):
        """The run's folder on a tmpfs with `frei` bytes left."""
        start = os.path.join(self.staende, phase.start)
        groesse = sum(os.path.getsize(os.path.join(w, d)) for w, _, ds in os.walk(start)
                      for d in ds)
        groesse += 3 * phase.groesste + (16 << 20)
        if os.path.ismount(self.lauf):
            subprocess.run(["umount", self.lauf], check=True)
        shutil.rmtree(self.lauf, ignore_errors=True)
        os.makedirs(self.lauf)
        subprocess.run(["mount", "-t", "tmpfs", "-o", f"size={groesse}", "tmpfs", self.lauf],
                       check=True)
        self.stand_laden(phase.start)
        platz = os.statvfs(self.lauf)
        fuellen = max(platz.f_bavail * platz.f_frsize - frei, 0)
        with open(os.path.join(self.lauf, FUELLER), "wb") as datei:
            block = b"\0" * (1 << 20)
            while fuellen > 0:
                try:
                    fuellen -= datei.write(block[:min(fuellen, len(block))])
                except OSError:
                    break

    def tmpfs_proben(self, phase, anzahl):
        try:
            for frei in self.dateigrenzen(phase, anzahl):
                fall = f"tmpfs mit {frei} Bytes frei"
                self.tmpfs_fuellen(phase, frei)
                vorher = Zustand(self.lauf)
                self.zaehlen(phase, "volle Platte (tmpfs)")
                self.voll_pruefen(phase, vorher, ausfuehren(phase.befehl), fall)
                os.remove(os.path.join(self.lauf, FUELLER))
                self.erholen_und_pruefen(phase, fall)
        finally:
            if os.path.ismount(self.lauf):
                subprocess.run(["umount", self.lauf], check=True)

    # -- the whole probe

    def laufen(self):
        self.einrichten()
        for phase in self.phasen():
            print(f"== {phase.name}", flush=True)
            self.referenz(phase)
            self.toeten(phase, self.o.kills)
            self.grenze_fsize(phase, self.o.volle_platte)
            if self.tmpfs:
                self.tmpfs_proben(phase, self.o.volle_platte)
        return self.bericht()

    def bericht(self):
        print()
        print("Zahlen je Phase:")
        kills = 0
        for name, zahlen in self.zahlen.items():
            kills += zahlen["Kills"]
            teile = ", ".join(f"{art} {anzahl}" for art, anzahl in zahlen.items())
            print(f"  {name}: {teile}")
        print(f"Kills insgesamt: {kills}" + ("" if self.strace else " (ohne strace: nur Verzögerungen)"))
        if not self.tmpfs:
            print("Volle Platte nur über die Dateigrenze (kein eigener Namensraum für ein tmpfs).")
        if not self.fehler:
            print("Keine Fehler gefunden.")
            return 0
        print(f"Fehler gefunden ({sum(n for n, _ in self.fehler.values())} Fälle):")
        for (phase, art, datei), (anzahl, fall) in self.fehler.items():
            print(f"  [{phase}] {datei}: {art} — {anzahl}×, zuerst {fall}")
        return 1


def im_namensraum_neu_starten():
    """Runs this probe again in a private mount namespace, where it may mount tmpfs
    without anyone else seeing it; false when that is not allowed here."""
    if os.environ.get(NAMENSRAUM_MARKE) or os.geteuid() != 0 or not shutil.which("unshare"):
        return False
    if subprocess.run(["unshare", "-m", "--propagation", "private", "true"],
                      stderr=subprocess.DEVNULL).returncode != 0:
        return False
    umgebung = dict(os.environ, **{NAMENSRAUM_MARKE: "1"})
    befehl = ["unshare", "-m", "--propagation", "private", sys.executable, *sys.argv]
    sys.exit(subprocess.run(befehl, env=umgebung).returncode)


def main():
    # The messages are checked for German, the language they are written in.
    os.environ["LANGUAGE"] = "de"
    teile = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    teile.add_argument("--bau", default="build/release", help="Bauordner mit cli/tilvendo")
    teile.add_argument("--kills", type=int, default=24, help="Kills je Phase (Standard 24)")
    teile.add_argument("--volle-platte", type=int, default=4,
                       help="Füllstände je Phase und Art (Standard 4)")
    teile.add_argument("--kurz", action="store_true", help="wenige Fälle (für die CI)")
    teile.add_argument("--ordner", help="Arbeitsordner (sonst ein neuer in $TMPDIR)")
    teile.add_argument("--behalten", action="store_true", help="Arbeitsordner nicht löschen")
    optionen = teile.parse_args()
    if optionen.kurz:
        optionen.kills, optionen.volle_platte = 4, 2
    im_namensraum_neu_starten()
    probe = Probe(optionen)
    if not os.access(probe.tilvendo, os.X_OK):
        print(f"{probe.tilvendo} fehlt; bitte zuerst bauen:\n  cmake --build {optionen.bau} "
              "--target tilvendo", file=sys.stderr)
        return 2
    try:
        return probe.laufen()
    finally:
        if not optionen.behalten:
            shutil.rmtree(probe.basis, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
