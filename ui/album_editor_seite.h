// Page 8, "Album bearbeiten": naming an album, browsing the folders of a medium, adding
// folders to the album and removing them, with the picture count of every change. The
// album page opens it modally for the album in its working copy.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "albums/alben_operationen.h"
#include "albums/album_bearbeitung.h"
#include "platform/medien_beobachter.h"
#include "ui/seite.h"

class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeView;

namespace tilvendo::ui {

class MediumNameDialog;
class MedienMelder;

class AlbumEditorSeite : public Seite {
  Q_OBJECT

 public:
  explicit AlbumEditorSeite(Assistent& assistent);
  ~AlbumEditorSeite() override;

  // Shows the editor modally for the album in AktAlbum; returns when "Schließen" was
  // pressed, with the name field and the counts in `editor`.
  void Bearbeiten(AlbumImEditor& editor);

  // Watches the mount table through `beobachter` from now on (the tests feed their own).
  void MedienBeobachterSetzen(std::unique_ptr<MedienBeobachter> beobachter);

  // The drive the folder tree shows, and its current folder.
  const std::string& AktuellesLaufwerk() const { return laufwerk_; }
  std::string AktuellerOrdner() const;
  // Moves the folder tree to `ordner` (switching the drive when it lies on another).
  void OrdnerZeigen(const std::string& ordner);

  QLineEdit* Albenname() const { return albenname_; }
  QLabel* NamensHinweis() const { return namensHinweis_; }
  QTreeView* VerzListe() const { return verzListe_; }
  QComboBox* LaufwListe() const { return laufwListe_; }
  QListWidget* AktListe() const { return aktListe_; }
  QCheckBox* Unterverz() const { return unterverz_; }
  QPushButton* Hinzufuegen() const { return hinzufuegen_; }
  QPushButton* Entfernen() const { return entfernen_; }
  QPushButton* Aktualisieren() const { return aktualisieren_; }
  QPushButton* Schliessen() const { return schliessen_; }
  QLabel* BilderZahl() const { return bilderZahl_; }
  QLabel* AktVerz() const { return aktVerz_; }
  QWidget* MediumNameHG() const { return mediumNameHG_; }
  QLineEdit* MediumName() const { return mediumName_; }
  MediumNameDialog* MediumNameFrage() const { return mediumNameDialog_; }

  // The handlers of the page's controls.
  void HinzufuegenClick();
  void entfernenClick();
  void UnterverzClick(bool mit);
  void aktualisierenClick();
  void SchliessenClick();
  void AlbennameChange();
  void LaufwListeChange();
  void GeraeteAenderung();

 protected:
  void FormShow() override;
  void FormClose() override;
  void keyPressEvent(QKeyEvent* ereignis) override;
  void closeEvent(QCloseEvent* ereignis) override;

 public slots:
  void done(int ergebnis) override;

 private:
  // Runs one change of the album with a busy cursor (and the page disabled).
  void Ausfuehren(bool deaktivieren, const std::function<void()>& schritt);
  // Lets the page's controls be used, or not while a folder is being added.
  void BedienungFreigeben(bool frei);

  Bearbeitungsumgebung Umgebung();
  TGalerieGlobal& Album();
  void ListeAnzeigen(std::optional<size_t> auswahl);
  void MediumAnzeigen();
  void BilderZahlAnzeigen();
  // Fills the drive chooser and shows `zeigen` in it.
  void LaufwerkeFuellen(const std::string& zeigen);
  void LaufwerkZeigen(const std::string& punkt);
  void LaufwerkVersuchen(const std::string& punkt, int versuche);
  void ChooserAufLaufwerk();
  void ChooserZeigen(const std::string& punkt);
  void ScanOrdnerZeigen(std::string_view ordner);
  void ScanAnzahlZeigen(int32_t anzahl);
  bool AnzeigeFaellig();

  AlbumImEditor* editor_ = nullptr;
  bool beschaeftigt_ = false;
  bool schliessenErlaubt_ = false;

  QLineEdit* albenname_ = nullptr;
  QLabel* namensHinweis_ = nullptr;
  QTreeView* verzListe_ = nullptr;
  QFileSystemModel* modell_ = nullptr;
  QComboBox* laufwListe_ = nullptr;
  QListWidget* aktListe_ = nullptr;
  QCheckBox* unterverz_ = nullptr;
  QPushButton* hinzufuegen_ = nullptr;
  QPushButton* entfernen_ = nullptr;
  QPushButton* aktualisieren_ = nullptr;
  QPushButton* schliessen_ = nullptr;
  QPushButton* hilfe_ = nullptr;
  QLabel* bilderZahl_ = nullptr;
  QLabel* aktVerz_ = nullptr;
  QWidget* mediumNameHG_ = nullptr;
  QLineEdit* mediumName_ = nullptr;
  MediumNameDialog* mediumNameDialog_ = nullptr;
  MedienMelder* melder_ = nullptr;

  std::string laufwerk_;                      // mount point the tree shows
  std::string ordner_;                        // the tree's current folder
  std::string heim_;                          // the drive of the home folder
  std::vector<std::string> einhaengepunkte_;  // the mount table as last seen
  QElapsedTimer anzeigeTakt_;                 // last repaint of the scan's labels
};

}  // namespace tilvendo::ui
