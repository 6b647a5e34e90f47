#!/usr/bin/env python3
"""The checks of werkzeuge/katalog.py on entries made to fail them, one each."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))),
                                "werkzeuge"))
import katalog  # noqa: E402


def eintrag(msgid, msgstr, plural=None, flags=()):
    uebersetzungen = msgstr if isinstance(msgstr, list) else [msgstr]
    return {"flags": set(flags), "msgctxt": None, "msgid": msgid, "msgid_plural": plural,
            "msgstr": dict(enumerate(uebersetzungen)), "obsolet": False}


FAELLE = [
    # (German, translation, plural, flags, whether the checker must object)
    ("{} von {}", "{} of {}", None, (), False),
    ("{} von {}", "{1} of {0}", None, (), False),
    ("{} von {}", "{} of", None, (), True),
    ("{} von", "{} of {}", None, (), True),
    ("%1 % gespeichert", "%1 % saved", None, (), False),
    ("%1 % gespeichert", "% saved", None, (), True),
    ("%1 von %2", "%2 of %1", None, (), False),
    ("%d Bilder", "%s pictures", None, (), True),
    ("50 % der Vorlage", "50 % of the template", None, (), False),
    ("{{}} bleibt", "{} stays", None, (), True),
    ("Text", "", None, (), True),
    ("Text", "text", None, ("fuzzy",), True),
    (" Zusatz", "addition", None, (), True),
    ("Vorsatz: ", "Prefix:", None, (), True),
    ("\nZeile\n", "\nline\n", None, (), False),
    ("{} Bild", ["{} picture", "{} pictures"], "{} Bilder", (), False),
    ("{} Bild", ["a picture", "{} pictures"], "{} Bilder", (), True),
    ("{} Bild", ["{} picture", "pictures"], "{} Bilder", (), True),
    ("{} Bild", ["{} picture", ""], "{} Bilder", (), True),
]

fehler = 0
for deutsch, uebersetzung, plural, flags, einwand in FAELLE:
    gefunden = katalog.pruefen_eintrag(eintrag(deutsch, uebersetzung, plural, flags))
    if bool(gefunden) != einwand:
        print("FEHLER: {!r} -> {!r}: erwartet {}, erhalten {}".format(
            deutsch, uebersetzung, "Einwand" if einwand else "keinen", gefunden))
        fehler = 1
sys.exit(fehler)
