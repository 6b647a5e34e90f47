// Page 4, "Auswahl der verwendeten Alben": every album of the catalogue with a check mark
// for those used in the mosaic, the picture count of the selected one, and the ways to
// create, edit and delete albums.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "ui/seite.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace tilvendo::ui {

class AlbumEditorSeite;

class AlbenSeite : public Seite {
  Q_OBJECT

 public:
  explicit AlbenSeite(Assistent& assistent);
  ~AlbenSeite() override;

  // The album editor this page opens (made on first use, kept for the program's life).
  AlbumEditorSeite* Editor();

  QTreeWidget* Alben() const { return alben_; }
  QPushButton* Neu() const { return neu_; }
  QPushButton* Loeschen() const { return loeschen_; }
  QPushButton* BearbeitenKnopf() const { return bearbeiten_; }
  QLabel* AktAlbum() const { return aktAlbum_; }
  QLabel* BilderGesamt() const { return bilderGesamt_; }
  QWidget* AktMediumHG() const { return aktMediumHG_; }
  QLabel* AktMedium() const { return aktMedium_; }
  int Tag() const { return tag_; }

  // The handlers of the page's controls.
  void ListeFuellen();
  // Refills the list with the album `auswahlName` selected (none: nothing selected).
  void ListeFuellen(const std::optional<std::string>& auswahlName);
  void AlbenChange();
  void AlbenDblClick();
  void neuClick();
  void bearbeitenClick();
  void loeschenClick();

 protected:
  void FormShow() override;
  void FormClose() override;

 private:
  std::optional<std::string> Auswahl() const;
  void Ausfuehren(bool mitSanduhr, const std::function<void()>& schritt);

  QTreeWidget* alben_ = nullptr;
  QPushButton* neu_ = nullptr;
  QPushButton* loeschen_ = nullptr;
  QPushButton* bearbeiten_ = nullptr;
  QPushButton* importieren_ = nullptr;
  QPushButton* exportieren_ = nullptr;
  QLabel* aktAlbum_ = nullptr;
  QLabel* bilderGesamt_ = nullptr;
  QLabel* bilderQuer_ = nullptr;
  QLabel* bilderHoch_ = nullptr;
  QLabel* bilderQuadrat_ = nullptr;
  QWidget* aktMediumHG_ = nullptr;
  QLabel* aktMedium_ = nullptr;
  std::unique_ptr<AlbumEditorSeite> editor_;
  int tag_ = -1;  // position of the selected album in AlbenAuswahl
  bool beschaeftigt_ = false;
};

}  // namespace tilvendo::ui
