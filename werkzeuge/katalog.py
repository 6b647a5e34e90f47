#!/usr/bin/env python3
"""The translation catalogues in po/.

    python3 werkzeuge/katalog.py pruefen        # what the test "katalog" runs
    python3 werkzeuge/katalog.py aktualisieren  # brings po/*.po up to the sources

Both collect every text the sources mark for translation (_, P_, NG_, N_ in the code,
the desktop entry and the AppStream template in ui/daten/) with xgettext.

"pruefen" merges the texts with each catalogue and fails, naming the entries, when one
is untranslated or fuzzy, or when a translation lacks a placeholder of its German text
or adds one ("{}", "{1}", Qt's "%1", printf's "%d" and "%s" …), or begins or ends with
other white space. So a text cannot reach a user untranslated or with a missing value.

"aktualisieren" merges the texts into po/*.po: new ones come in empty (or fuzzy where
msgmerge finds a similar old one), texts no longer in the sources become obsolete.
Translate the empty and fuzzy entries, remove the fuzzy marks, and run "pruefen".
"""
import collections
import glob
import os
import re
import subprocess
import sys
import tempfile

WURZEL = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
QUELLORDNER = ["platform", "pictures", "albums", "engine", "wizard", "cli", "ui"]
DATEN = ["ui/daten/org.example.NuboTilvendo.desktop.in",
         "ui/daten/org.example.NuboTilvendo.metainfo.xml.in"]
DOMAENE = "nubo-tilvendo"
STICHWOERTER = ["_", "N_", "P_:1c,2", "NG_:1,2"]

# printf's conversions (without the space flag: "50 % der" is German, not "% d"), then
# Qt's numbered arguments, then the positional and automatic ones of Format.
PRINTF = re.compile(
    r"%(?:\d+\$)?[-+#0]*(?:\d+|\*)?(?:\.(?:\d+|\*))?(?:hh|h|ll|l|L|z|j|t)?[diouxXeEfFgGcsp]")
QT = re.compile(r"%L?\d+")
FORMAT = re.compile(r"\{(\d*)\}")
# The escapes of a quoted text in a catalogue.
ESCAPE = re.compile(r"\\(.)")
ZEICHEN = {"n": "\n", "t": "\t", "r": "\r"}


def quellen():
    """The source files, relative to the project folder."""
    dateien = []
    for ordner in QUELLORDNER:
        for endung in ("*.cpp", "*.h"):
            dateien += glob.glob(os.path.join(WURZEL, ordner, endung))
    return sorted(os.path.relpath(datei, WURZEL) for datei in dateien)


def vorlage_erzeugen(ziel):
    """Writes the texts of the sources as a template (.pot) to `ziel`."""
    cpp = ["xgettext", "--from-code=UTF-8", "--language=C++", "--no-wrap",
           "--sort-by-file", "--add-location=file", "--package-name=" + DOMAENE,
           "--msgid-bugs-address=nubo-tilvendo@localhost", "-k"]
    cpp += ["--keyword=" + wort for wort in STICHWOERTER]
    subprocess.run(cpp + ["-o", ziel] + quellen(), cwd=WURZEL, check=True)
    # xgettext takes "50 % der" for printf's "% d" and marks it as a C format; no text of
    # the program is one (the placeholders are checked below instead).
    with open(ziel, encoding="utf-8") as datei:
        text = datei.read()
    with open(ziel, "w", encoding="utf-8") as datei:
        datei.write(text.replace("#, c-format\n", ""))
    # The templates of the desktop data, appended with their own language.
    subprocess.run(["xgettext", "--from-code=UTF-8", "--no-wrap", "--add-location=file",
                    "--join-existing", "-o", ziel] + DATEN, cwd=WURZEL, check=True)


def po_lesen(pfad):
    """The entries of a catalogue: dicts with flags, msgctxt, msgid, msgid_plural, msgstr
    (a list) and whether it is obsolete."""
    eintraege = []
    eintrag = None
    feld = None

    def neu():
        return {"flags": set(), "msgctxt": None, "msgid": None, "msgid_plural": None,
                "msgstr": {}, "obsolet": False}

    def text(zeile):
        return ESCAPE.sub(lambda t: ZEICHEN.get(t.group(1), t.group(1)),
                          zeile[zeile.index('"') + 1:zeile.rindex('"')])

    with open(pfad, encoding="utf-8") as datei:
        for roh in datei:
            zeile = roh.rstrip("\n")
            obsolet = zeile.startswith("#~")
            if obsolet:
                zeile = zeile[2:].lstrip()
            if not zeile.strip():
                if eintrag and eintrag["msgid"] is not None:
                    eintraege.append(eintrag)
                eintrag, feld = None, None
                continue
            if eintrag is None:
                eintrag = neu()
            eintrag["obsolet"] = eintrag["obsolet"] or obsolet
            if zeile.startswith("#,"):
                eintrag["flags"] |= {f.strip() for f in zeile[2:].split(",")}
            elif zeile.startswith("#"):
                continue
            elif zeile.startswith('"'):
                if feld[0] == "msgstr":
                    eintrag["msgstr"][feld[1]] += text(zeile)
                else:
                    eintrag[feld[0]] += text(zeile)
            else:
                schluessel = zeile.split()[0]
                treffer = re.match(r"msgstr\[(\d+)\]", schluessel)
                if treffer:
                    feld = ("msgstr", int(treffer.group(1)))
                    eintrag["msgstr"][feld[1]] = text(zeile)
                elif schluessel == "msgstr":
                    feld = ("msgstr", 0)
                    eintrag["msgstr"][0] = text(zeile)
                else:
                    feld = (schluessel, None)
                    eintrag[schluessel] = text(zeile)
    if eintrag and eintrag["msgid"] is not None:
        eintraege.append(eintrag)
    return eintraege


def platzhalter(text):
    """The placeholders of a text, in a form two texts can be compared by."""
    ohne_klammern = text.replace("{{", "").replace("}}", "")
    printf = PRINTF.findall(ohne_klammern.replace("%%", ""))
    rest = PRINTF.sub("", ohne_klammern.replace("%%", ""))
    qt = sorted(QT.findall(rest))
    automatisch = 0
    format_stellen = []
    for nummer in FORMAT.findall(ohne_klammern):
        if nummer == "":
            format_stellen.append(automatisch)
            automatisch += 1
        else:
            format_stellen.append(int(nummer))
    return {"printf": printf, "Qt": qt, "{}": sorted(format_stellen)}


def rand(text):
    return (text[:len(text) - len(text.lstrip())], text[len(text.rstrip()):])


def name(eintrag):
    kontext = "[" + eintrag["msgctxt"] + "] " if eintrag["msgctxt"] else ""
    msgid = eintrag["msgid"]
    return kontext + (msgid if len(msgid) <= 70 else msgid[:67] + "...")


def pruefen_eintrag(eintrag):
    if eintrag["msgid"] == "":
        return []
    fehler = []
    if "fuzzy" in eintrag["flags"]:
        fehler.append("unsicher (fuzzy)")
    uebersetzungen = [eintrag["msgstr"][i] for i in sorted(eintrag["msgstr"])]
    if not uebersetzungen or any(u == "" for u in uebersetzungen):
        fehler.append("nicht übersetzt")
        return fehler
    for i, uebersetzung in enumerate(uebersetzungen):
        quelle = eintrag["msgid"] if i == 0 or eintrag["msgid_plural"] is None \
            else eintrag["msgid_plural"]
        soll, ist = platzhalter(quelle), platzhalter(uebersetzung)
        for art in soll:
            if soll[art] != ist[art]:
                fehler.append("Platzhalter {}: {} statt {}".format(art, ist[art], soll[art]))
        if rand(quelle) != rand(uebersetzung):
            fehler.append("Leerraum am Rand: {!r} statt {!r}".format(rand(uebersetzung),
                                                                     rand(quelle)))
    return fehler


def pruefen():
    kataloge = sorted(glob.glob(os.path.join(WURZEL, "po", "*.po")))
    if not kataloge:
        print("Kein Katalog in po/.")
        return 1
    gescheitert = 0
    with tempfile.TemporaryDirectory() as ordner:
        vorlage = os.path.join(ordner, DOMAENE + ".pot")
        vorlage_erzeugen(vorlage)
        texte = sum(1 for e in po_lesen(vorlage) if e["msgid"])
        for katalog in kataloge:
            sprache = os.path.basename(katalog)[:-3]
            subprocess.run(["msgfmt", "--check-header", "--check-domain", "-o", os.devnull,
                            katalog], check=True)
            vereint = os.path.join(ordner, sprache + ".po")
            subprocess.run(["msgmerge", "--quiet", "--no-fuzzy-matching", "--no-wrap",
                            "-o", vereint, katalog, vorlage], check=True)
            probleme = collections.OrderedDict()
            veraltet = 0
            for eintrag in po_lesen(vereint):
                if eintrag["obsolet"]:
                    veraltet += 1
                    continue
                fehler = pruefen_eintrag(eintrag)
                if fehler:
                    probleme[name(eintrag)] = fehler
            print("{}: {} Texte, {} fehlerhaft, {} nicht mehr in den Quellen".format(
                sprache, texte, len(probleme), veraltet))
            for text, fehler in probleme.items():
                print("  {!r}: {}".format(text, "; ".join(fehler)))
            if probleme:
                gescheitert += 1
    if gescheitert:
        print("Abhilfe: python3 werkzeuge/katalog.py aktualisieren, dann übersetzen.")
    return 1 if gescheitert else 0


def aktualisieren():
    with tempfile.TemporaryDirectory() as ordner:
        vorlage = os.path.join(ordner, DOMAENE + ".pot")
        vorlage_erzeugen(vorlage)
        for katalog in sorted(glob.glob(os.path.join(WURZEL, "po", "*.po"))):
            subprocess.run(["msgmerge", "--quiet", "--update", "--backup=none", "--no-wrap",
                            "--add-location=file", katalog, vorlage], check=True)
            print(katalog)
    return pruefen()


def main():
    befehle = {"pruefen": pruefen, "aktualisieren": aktualisieren}
    if len(sys.argv) != 2 or sys.argv[1] not in befehle:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    return befehle[sys.argv[1]]()


if __name__ == "__main__":
    sys.exit(main())
