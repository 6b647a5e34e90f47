#include "wizard/hilfetexte_inhalt.h"

#include <array>

#include "platform/translate.h"

namespace tilvendo::wizard {
namespace {

// Help popups (kind 5) of pages 1–8 and 10, and the information page's texts (kind 6).
// "^" ends a line, "^^" leaves an empty one; the popup wraps each line at its width.
constexpr std::array<HilfeEintrag, 16> kInhalt = {{
    {1151,
     N_("Wählen Sie hier die Vorlage: das Bild, das Ihr Fotomosaik aus der Entfernung zeigen "
        "soll.^^"
        "Klicken Sie auf „Bild laden“ und öffnen Sie eine Bilddatei (.bmp, .jpg, .jpeg, .png, "
        ".webp, "
        ".tif, .tiff, .heic oder .heif). "
        "Danach sehen Sie eine Vorschau und die Breite und Höhe des Bildes.^^"
        "Gut eignen sich Bilder mit starkem Kontrast zwischen Vordergrund und Hintergrund, "
        "zum Beispiel ein Porträt vor einem ruhigen Hintergrund. Große, klare Formen bleiben im "
        "Mosaik gut erkennbar, feine Einzelheiten gehen verloren.^^"
        "Mit „weiter“ bestimmen Sie anschließend die Größe des Mosaiks.")},
    {2151,
     N_("Hier legen Sie fest, wie groß das fertige Fotomosaik wird.^^"
        "Geben Sie die Größe entweder in Prozent der Vorlage an oder direkt in Pixeln. "
        "Die übrigen Werte passt das Programm sofort an.^^"
        "Ist „Seitenverhältnis beibehalten“ angekreuzt, behalten Breite und Höhe das Verhältnis "
        "der Vorlage, und das Mosaik wird nicht verzerrt. Ohne Haken wählen Sie Breite und Höhe "
        "unabhängig voneinander.^^"
        "Die Pixelfelder reichen bis 2500 Pixel je Seite. Ein größeres Mosaik zeigt die "
        "einzelnen Fotos deutlicher, braucht aber mehr Speicher und Rechenzeit.^^"
        "Eine Zahl über der Grenze eines Feldes wird zur Grenze; der Hinweis unter den Feldern "
        "sagt, warum.^^"
        "Für ein Poster kreuzen Sie „Großformat für den Druck“ an: Dann reichen die Felder bis "
        "60000 Pixel, und Sie wählen ein Papierformat und die Auflösung des Drucks. Das Papier "
        "steht zunächst wie die Vorlage; „drehen“ tauscht Hoch- und Querformat.^^"
        "Hat das Papier eine andere Form als die Vorlage, wählen Sie „Papier füllen“: Die "
        "Vorlage wird mittig auf die Form des Papiers zugeschnitten, die Vorschau zeigt "
        "abgedunkelt, was wegfällt. Oder „ganze Vorlage“: Das Mosaik behält die Form der "
        "Vorlage und passt mit einem Rand auf das Papier. Ohne „Seitenverhältnis beibehalten“ "
        "wird die Vorlage auf das Papier gestreckt.^^"
        "Darunter stehen Druckgröße, Rand und wie groß eine Kachel gedruckt wird. Als "
        "Faustregel sind etwa 10 mm je Kachel auf Armlänge gut zu erkennen.")},
    {3151,
     N_("Hier bestimmen Sie, aus wie vielen Kacheln das Mosaik besteht: wie viele in der Breite "
        "und wie viele in der Höhe. Jede Kachel wird später durch eines Ihrer Fotos ersetzt; die "
        "Vorschau zeigt das Raster über der Vorlage.^^"
        "Je mehr Kacheln, desto genauer gibt das Mosaik die Vorlage wieder, desto kleiner wird "
        "aber jedes einzelne Foto. Wenige Kacheln zeigen die Fotos groß und die Vorlage grob.^^"
        "Mit eingeschalteter Formanalyse vergleicht das Programm nicht nur die Farben einer "
        "Kachel, sondern auch, wie sie in ihr verteilt sind. Das dauert etwas länger, gibt Kanten "
        "und Formen aber deutlich besser wieder. Wir empfehlen sie.^^"
        "Im Großformat steht unter der Anzahl, wie groß eine Kachel gedruckt wird. Etwa 10 mm "
        "je Kachel lassen die Fotos auf Armlänge erkennen.")},
    {4151,
     N_("Die Fotos für Ihr Mosaik stammen aus Alben. Ein Album fasst Ordner mit Fotos auf einer "
        "Festplatte oder einem Wechselmedium zusammen.^^"
        "„neu“ legt ein Album an; danach wählen Sie seine Ordner.^^"
        "Ein Haken in der Liste heißt: Das Mosaik verwendet die Fotos dieses Albums. Ein "
        "Doppelklick setzt oder entfernt ihn. Die beiden obersten Einträge zählen die Bilder "
        "aller Alben und der gewählten.^^"
        "Ein Album auf CD oder USB-Stick lässt sich nur wählen und verwenden, wenn das Medium "
        "eingelegt ist.^^"
        "„bearbeiten“ ändert ein gewähltes Album. „löschen“ entfernt ein Album ohne Rückfrage; "
        "die Fotos selbst bleiben erhalten.")},
    {5151,
     N_("Hier stellen Sie ein, wie gründlich das Mosaik berechnet wird.^^"
        "Art der Berechnung: „Schnell“ vergleicht wenige Fotos je Kachel, „Gründlich“ und "
        "„Optimal“ viel mehr. Das findet oft besser passende Fotos, dauert aber länger. "
        "„Standard“ ist ein guter Mittelweg.^^"
        "Minimaler Abstand: So viele Kacheln liegen mindestens zwischen zwei gleichen Fotos. In "
        "der Vorschau kehrt das Foto der roten Ecke im blauen Feld nicht wieder, frühestens in "
        "den roten Kacheln.^^"
        "Musterbildung: Gegen sichtbare Muster gleicher Fotos vergrößert das Programm den "
        "Abstand zufällig, von „ignorieren“ (gar nicht) bis „unterdrücken“ (am meisten).^^"
        "Mehr Abstand braucht mehr verschiedene Fotos; wie viele, zeigt „benötigte Bilder“.^^")},
    {5251,
     N_("Lesen und Vergleichen der Fotos:^^"
        "„Fotos aufrecht stellen“ dreht Fotos so, wie die Kamera sie gehalten hat. Ohne den "
        "Haken liegen hochkant aufgenommene Handyfotos oft auf der Seite.^^"
        "„schnell einlesen“ liest große JPEG-Fotos verkleinert. Das erste Einlesen eines Albums "
        "geht so deutlich schneller; die Kacheln sehen fast gleich aus.^^"
        "„Farben vergleichen wie das Auge“ sucht Fotos nach dem Farbeindruck aus. Das Mosaik "
        "wird der Vorlage oft ähnlicher.^^"
        "„zuschneiden statt stauchen“ schneidet Fotos auf die Form der Kacheln zu, statt sie zu "
        "verzerren.^^"
        "„Farben angleichen“ tönt jede Kachel um den gewählten Anteil zur Farbe ihrer Stelle in "
        "der Vorlage hin; 0 % lässt die Fotos unverändert.^^"
        "„höchstens so oft verwenden“ begrenzt, wie oft ein Foto im ganzen Mosaik vorkommt. Dann "
        "braucht das Mosaik mehr verschiedene Fotos.^^"
        "„Jedes Foto mindestens einmal“ bringt jedes gewählte Foto ins Mosaik, etwa wenn bei "
        "einem Fest jeder Gast darin vorkommen soll. Das Mosaik braucht dann mindestens so viele "
        "Kacheln wie Fotos, und kein Foto kommt öfter vor als nötig.^^"
        "„für möglichst ähnliche Mosaike“ schaltet „Farben vergleichen wie das Auge“ und "
        "„zuschneiden statt stauchen“ ein und stellt „Farben angleichen“ auf 50 %. Zusammen "
        "kommt das Mosaik der Vorlage so am nächsten, ohne länger zu rechnen. Jede dieser "
        "Einstellungen können Sie danach wieder ändern.^^"
        "Jede Art zu lesen hat ihren eigenen Zwischenspeicher im Album; ein Wechsel liest die "
        "Fotos einmal neu ein.")},
    {6151,
     N_("Hier sehen Sie das fertige Fotomosaik, verkleinert auf die Größe des Bildschirms. Die "
        "Überschrift nennt den Maßstab und die volle Größe in Pixeln.^^"
        "Mit dem Schieberegler blenden Sie die Vorlage in das Mosaik ein: ganz links gar nicht, "
        "ganz rechts vollständig. Eine leichte Einblendung lässt das Motiv deutlicher "
        "hervortreten, ohne die Fotos zu verdecken.^^"
        "Mit dem Mausrad oder der „Lupe“ vergrößern Sie die Stelle unter dem Mauszeiger bis zur "
        "vollen Auflösung; mit gedrückter Maustaste verschieben Sie den Ausschnitt. Stark "
        "vergrößert nennt die Statuszeile das Foto unter dem Mauszeiger, ein Doppelklick öffnet "
        "es in der Bildanzeige.^^"
        "„Speichern“ schreibt das Mosaik in voller Größe und mit der gewählten Einblendung als "
        "BMP-, JPEG-, PNG- oder TIFF-Datei. „Platzierungsliste speichern …“ schreibt zu jeder "
        "Kachel das Foto, das sie zeigt, in eine Tabelle.^^"
        "„zurück“ führt zur Übersicht. Dort können Sie Einstellungen ändern und neu berechnen.")},
    {7151,
     N_("Diese Seite fasst alle Einstellungen zusammen.^^"
        "Ein Klick auf einen Eintrag der Liste zeigt die Einzelheiten dieses Abschnitts. Um etwas "
        "zu ändern, doppelklicken Sie auf den Eintrag oder klicken auf den kleinen Knopf daneben; "
        "„weiter“ bringt Sie von dort direkt hierher zurück.^^"
        "„Neubeginn“ fängt wieder bei der Wahl der Vorlage an.^^"
        "„starten“ beginnt die Berechnung; ihr Fortschritt wird hier angezeigt. Während sie "
        "läuft, heißt der Knopf „abbrechen“ und bricht sie auf Klick ab. Ist das Mosaik fertig, "
        "erscheint es auf der nächsten Seite.")},
    {8151,
     N_("Hier legen Sie fest, welche Fotos zum Album gehören.^^"
        "Geben Sie dem Album einen Namen, den kein anderes Album trägt.^^"
        "Suchen Sie im Ordnerbaum einen Ordner mit Fotos (Doppelklick öffnet ihn) und nehmen Sie "
        "ihn mit „hinzufügen“ oder der Einfg-Taste auf, oder ziehen Sie ihn in die Liste des "
        "Albums. Alle Bilder darin gehören dann dazu (.bmp, .jpg, .jpeg, .png, .webp, .tif, .tiff, "
        ".heic und .heif); „Anzahl der Bilder“ zählt sie.^^"
        "„Unterverzeichnisse miteinbeziehen“ nimmt die Unterordner mit.^^"
        "„entfernen“ oder die Entf-Taste nimmt den markierten Ordner heraus, „aktualisieren“ "
        "zählt nach Änderungen auf der Festplatte neu.^^"
        "Bei einem Wechselmedium geben Sie dem Medium einen Namen, an dem Sie es wiedererkennen.")},
    {10151,
     N_("Wählen Sie, wie das Mosaik gespeichert wird.^^"
        "„BMP (unkomprimiert)“ speichert jedes Pixel unverändert, die Datei wird groß. Die "
        "„Farbtiefe“ reicht von 256 Farben bis Truecolor; für Fotos empfiehlt sich Truecolor.^^"
        "„JPEG (komprimiert)“ ergibt viel kleinere Dateien. Der Regler stellt die Qualität von 1 "
        "bis 100 ein: je höher, desto schöner und größer. Um 90 liegt meist ein guter Wert.^^"
        "„PNG“ und „TIFF“ speichern verlustfrei in Truecolor, wie es Druckereien meist wünschen; "
        "die Auflösung des Drucks wird in die Datei geschrieben.^^"
        "„Vorschau“ zeigt das Bild, wie es gespeichert wird, und schätzt die Dateigröße. "
        "„Speichern“ fragt nach dem Dateinamen, „Abbrechen“ speichert nichts.")},

    {1161,
     N_("Nubo Tilvendo macht aus Ihren eigenen Fotos ein Fotomosaik.^^"
        "Ein Bild Ihrer Wahl, die Vorlage, wird in ein Raster aus Kacheln geteilt, und jede "
        "Kachel wird durch eines Ihrer Fotos ersetzt, dessen Farben an dieser Stelle passen. Aus "
        "der Entfernung sehen Sie die Vorlage, aus der Nähe Hunderte oder Tausende Ihrer Fotos.^^"
        "Ein Assistent führt Sie Seite für Seite durch alle Schritte: Vorlage wählen, Größe "
        "bestimmen, Kachelung festlegen, Alben auswählen, weitere Einstellungen treffen, "
        "berechnen und speichern. Zu jeder Seite erklärt „Hilfe“, was dort einzustellen ist.^^"
        "Ihre Fotos verwalten Sie in Alben. Einmal gelesene Fotos merkt sich das Programm, so "
        "dass die nächste Berechnung mit demselben Album schneller geht.^^"
        "Wer lieber ohne Fenster arbeitet, findet dieselben Berechnungen im Befehl „tilvendo“ "
        "für die Kommandozeile.^^"
        "Nubo Tilvendo wird vom Nubo-Tilvendo-Team entwickelt. Es ist freie Software unter der "
        "GNU General Public License, Version 3 oder später.")},
    {2161,
     N_("Ihre Meinung ist uns wichtig.^^"
        "Was gefällt Ihnen an Nubo Tilvendo, was stört Sie, was vermissen Sie? Jede Rückmeldung "
        "hilft uns, das Programm besser zu machen: Lob, Kritik, ein Fehlerbericht oder eine Idee "
        "für eine neue Funktion.^^"
        "Besonders interessiert uns:^"
        "- bei welchen Vorlagen das Mosaik anders aussieht, als Sie erwartet hatten,^"
        "- an welcher Stelle Sie nicht wussten, wie es weitergeht,^"
        "- welche Berechnungen Ihnen zu lange dauern.^^"
        "Wie Sie uns erreichen, lesen Sie unter „Kontakt“.")},
    {3161,
     N_("So entsteht ein Fotomosaik:^^"
        "1. Einlesen: Das Programm liest die Fotos der gewählten Alben, verkleinert jedes auf "
        "wenige Pixel und merkt sich seine Farben: die mittlere Farbe, die Helligkeit und, mit "
        "Formanalyse, die Farben seiner Teilflächen. Diese Signaturen speichert es beim Album, so "
        "dass ein Foto beim nächsten Mal nicht noch einmal geöffnet werden muss.^^"
        "2. Vorlage vorbereiten: Die Vorlage wird in das Raster der Kacheln geteilt, und für jede "
        "Zelle entsteht dieselbe Art Signatur.^^"
        "3. Zuordnen: Für jede Zelle sucht das Programm unter den Fotos ähnlicher Helligkeit das "
        "Foto, dessen Signatur am besten passt. Ein Foto darf erst in einem Mindestabstand "
        "wieder vorkommen, damit keine auffälligen Wiederholungen entstehen.^^"
        "4. Zusammensetzen: Jedes gewählte Foto wird auf die Größe einer Kachel gebracht und an "
        "all seine Stellen gesetzt.^^"
        "Zum Schluss können Sie die Vorlage leicht über das Mosaik blenden. Das verstärkt die "
        "Ähnlichkeit, ohne die Fotos zu verdecken.")},
    {4161,
     N_("Nubo Tilvendo wird weiterentwickelt. Was als Nächstes kommt, hängt auch von Ihren "
        "Rückmeldungen ab.^^"
        "Poster lassen sich inzwischen in Zentimetern bestellen: Mit „Großformat für den "
        "Druck“ wählen Sie Papier und Auflösung, und die Vorlage füllt das Papier oder passt "
        "ganz darauf.^^"
        "Ein möglicher nächster Schritt sind noch schnellere Berechnungen großer Mosaike.^^"
        "Eine eigene Website hat das Programm noch nicht. Sobald es eine gibt, finden Sie den "
        "Verweis darauf unter „Kontakt“.")},
    {5161,
     N_("Das Nubo-Tilvendo-Team freut sich über Ihre Nachricht.^^"
        "Eigene Mail-Adressen und eine Website gibt es noch nicht. Bis dahin öffnet der Verweis "
        "unter „Website:“ die Beschreibung des Programms; sie erklärt Einrichtung, Start und die "
        "Kommandozeile.^^"
        "Wenn Sie einen Fehler melden, helfen uns diese Angaben:^"
        "- die Versionsnummer aus der Titelzeile der Fenster,^"
        "- was Sie getan haben und was dann geschah,^"
        "- der genaue Wortlaut einer Meldung,^"
        "- die Größe der Vorlage, die Zahl der Kacheln und ungefähr die Zahl der Fotos.^^"
        "Bricht das Programm beim Einlesen der Fotos ab, starten Sie es mit „nubo-tilvendo L“. "
        "Es schreibt dann vor jedem Foto dessen Namen in die Datei „tilvendo file list.txt“ in "
        "Ihrem persönlichen Ordner; das zuletzt genannte Foto hat den Abbruch verursacht.")},
    {6161,
     N_("Gute Vorlagen:^"
        "- Motive mit großen, klaren Formen und starkem Kontrast, etwa ein Gesicht vor ruhigem "
        "Hintergrund.^"
        "- Kleine Schrift und feine Muster gehen im Mosaik verloren.^"
        "- Sehr dunkle oder sehr helle Vorlagen brauchen viele dunkle oder helle Fotos.^^"
        "Gute Fotosammlungen:^"
        "- Je mehr Fotos, desto besser: einige hundert mindestens, besser einige tausend.^"
        "- Fotos vieler Farben und Helligkeiten finden für jede Stelle der Vorlage ein passendes.^"
        "- Sehr ähnliche Fotos führen leicht zu Wiederholungen.^^"
        "Einstellungen:^"
        "- Die Formanalyse lohnt sich fast immer.^"
        "- Einige tausend Kacheln von mindestens 30 bis 40 Pixeln Kantenlänge sind ein guter "
        "Anfang.^"
        "- Treten Muster aus gleichen Fotos hervor, erhöhen Sie den Mindestabstand oder stellen "
        "die Musterbildung auf „unterdrücken“.^"
        "- Blenden Sie die Vorlage nur leicht ein: Ein wenig macht das Motiv deutlicher, zu viel "
        "verdeckt die Fotos.^"
        "- Für den Druck: 2500 Pixel ergeben bei 300 dpi etwa 21 cm.")},
}};

}  // namespace

std::span<const HilfeEintrag> HilfeInhalt() {
  return kInhalt;
}

}  // namespace tilvendo::wizard
