#!/usr/bin/env python3
"""Makes the desktop entry or the AppStream metainfo from its German template.

    englisch_zuerst.py MSGFMT desktop|xml VORLAGE PO_ORDNER ZIEL

msgfmt merges the translations of every catalogue in PO_ORDNER into the template and
tags each with its language; the German texts of the template stay untagged. Software
centres and menus show untagged texts to everyone as the English ones, so the English
translation takes their place and the German text becomes the one tagged "de".
"""
import os
import re
import subprocess
import sys
import tempfile

QUELLSPRACHE = "de"
ENGLISCH = "en"


def msgfmt_aufrufen(msgfmt, art, vorlage, po_ordner, ziel):
    sprachen = sorted(
        name[:-3] for name in os.listdir(po_ordner) if name.endswith(".po"))
    with tempfile.TemporaryDirectory() as ordner:
        # msgfmt reads the languages from LINGUAS in the catalogue folder.
        for sprache in sprachen:
            os.symlink(os.path.join(os.path.abspath(po_ordner), sprache + ".po"),
                       os.path.join(ordner, sprache + ".po"))
        with open(os.path.join(ordner, "LINGUAS"), "w", encoding="utf-8") as linguas:
            linguas.write("\n".join(sprachen) + "\n")
        subprocess.run([msgfmt, "--" + art, "--template=" + vorlage, "-d", ordner,
                        "-o", ziel], check=True)


def desktop_umstellen(text):
    zeilen = text.splitlines()
    englisch = {}
    for zeile in zeilen:
        treffer = re.match(r"^([A-Za-z0-9-]+)\[" + ENGLISCH + r"\]=(.*)$", zeile)
        if treffer:
            englisch[treffer.group(1)] = treffer.group(2)
    ergebnis = []
    for zeile in zeilen:
        if re.match(r"^[A-Za-z0-9-]+\[" + ENGLISCH + r"\]=", zeile):
            continue
        treffer = re.match(r"^([A-Za-z0-9-]+)=(.*)$", zeile)
        if treffer and treffer.group(1) in englisch:
            schluessel = treffer.group(1)
            ergebnis.append(schluessel + "=" + englisch[schluessel])
            ergebnis.append(schluessel + "[" + QUELLSPRACHE + "]=" + treffer.group(2))
        else:
            ergebnis.append(zeile)
    return "\n".join(ergebnis) + "\n"


def xml_umstellen(text):
    # msgfmt writes each translation as a sibling right after the untagged element; the
    # translated elements hold text only.
    muster = re.compile(
        r"<(?P<tag>[a-z_]+)(?P<attr>(?:(?!xml:lang)[^>])*)>(?P<deutsch>[^<]*)</(?P=tag)>"
        r"(?P<zwischen>\s*)"
        r"<(?P=tag)(?P<attr2>[^>]*) xml:lang=\"" + ENGLISCH + r"\">(?P<englisch>[^<]*)</(?P=tag)>")

    def tauschen(treffer):
        deutsch = " ".join(treffer.group("deutsch").split())
        return ("<{tag}{attr}>{englisch}</{tag}>{zwischen}"
                "<{tag}{attr2} xml:lang=\"{de}\">{deutsch}</{tag}>").format(
                    tag=treffer.group("tag"), attr=treffer.group("attr"),
                    attr2=treffer.group("attr2"), englisch=treffer.group("englisch"),
                    zwischen=treffer.group("zwischen"), de=QUELLSPRACHE, deutsch=deutsch)

    return muster.sub(tauschen, text)


def main():
    msgfmt, art, vorlage, po_ordner, ziel = sys.argv[1:6]
    os.makedirs(os.path.dirname(ziel), exist_ok=True)
    zwischen = ziel + ".msgfmt"
    msgfmt_aufrufen(msgfmt, art, vorlage, po_ordner, zwischen)
    with open(zwischen, encoding="utf-8") as datei:
        text = datei.read()
    os.remove(zwischen)
    text = desktop_umstellen(text) if art == "desktop" else xml_umstellen(text)
    with open(ziel, "w", encoding="utf-8") as datei:
        datei.write(text)


if __name__ == "__main__":
    main()
