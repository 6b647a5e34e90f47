#include "ui/medium_name_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/translate.h"
#include "ui/bausteine.h"
#include "ui/glyphen.h"

namespace tilvendo::ui {
namespace {

constexpr int kBreite = 340;

}  // namespace

MediumNameDialog::MediumNameDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(Text(_(kMediumNameTitel)));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  auto* frage = FettesLabel(Text(_(kMediumNameFrage)), this);
  frage->setWordWrap(true);
  layout->addWidget(frage);
  name_ = new QLineEdit(this);
  name_->setObjectName(QStringLiteral("Name"));
  layout->addWidget(name_);
  auto* knoepfe = new QHBoxLayout;
  knoepfe->addStretch(1);
  ok_ = new QPushButton(GlyphIcon(Glyphe::OK), QStringLiteral("OK"), this);
  ok_->setObjectName(QStringLiteral("OK"));
  ok_->setDefault(true);
  knoepfe->addWidget(ok_);
  knoepfe->addStretch(1);
  layout->addLayout(knoepfe);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  setFixedWidth(kBreite);
  setFixedHeight(sizeHint().height());
}

std::string MediumNameDialog::Erfragen() {
  name_->selectAll();
  name_->setFocus();
  exec();
  return name_->text().toStdString();
}

}  // namespace tilvendo::ui
