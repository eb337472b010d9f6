#include "ui/qt/dp_options_page.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "engine/compare_choices.h"

namespace kelvarine {

namespace {

// The description of each Dp option, by radio index.
const std::array<const char*, kDpOptionCount> kDescriptions = {
    ":  Default.  No special processing option required.",
    ":  Don't process semicolon (eg. ini files) leading lines.",
    ":  Don't process REM (eg. bat files) leading lines.",
    ":  Don't process blank lines.",
    ":  Don't process Delphi 1 or Pascal ( {...} and (*...*) ) comments.",
    ":  Don't process Delphi 2+  ({...}, (*...*) and ...//) comments. ",
    ":  Don't process C++, Java, or JavaScript ( // and /*..*/ ) comments.",
    ":  Don't process VB-3 ( Quote\" ' \" leading and embedded to EOL) comments.",
    ":  Don't process HTML (<!-- ... -->) comment lines.",
    ":  Don't process Cobol comment lines having \"*\" in Column 7 (Abs.).",
    ":                   Leading comment tag.  Embedded as tag to EOL.",
};

}  // namespace

DpOptionsPage::DpOptionsPage(GuiSession& session, QWidget* parent) : QWidget(parent), session_(session) {
  setObjectName("PageDpOptions");

  auto* box =
      new QGroupBox("Don't Process Options -- Limits Compare Set by Filtering Out Source Lines ", this);
  box->setObjectName("DpRadioGroup1");
  auto* grid = new QGridLayout(box);
  grid->setVerticalSpacing(2);
  grid->setColumnStretch(1, 1);
  group_ = new QButtonGroup(this);
  udcTag_ = new QLineEdit(box);
  udcTag_->setObjectName("DpEdUdc");
  udcTag_->setToolTip("One or more characters that start a Dudc comment");
  udcTag_->setMaximumWidth(fontMetrics().horizontalAdvance("MMMMMMMM") + 16);
  udcYesNo_ = new QComboBox(box);
  udcYesNo_->setObjectName("DpCbUdcYN");
  udcYesNo_->setEditable(true);
  udcYesNo_->setInsertPolicy(QComboBox::NoInsert);
  udcYesNo_->addItems({"Yes", "No"});
  udcYesNo_->setToolTip("Yes: the tag also starts a comment inside a line, up to its end");

  for (int index = 0; index < kDpOptionCount; ++index) {
    const char* name = kDpOptionNames[static_cast<std::size_t>(index)];
    auto* radio = new QRadioButton(name, box);
    radio->setObjectName(QString("DpRb") + name);
    radio->setToolTip(QString("%1: select this Don't Process option").arg(name));
    group_->addButton(radio, index);
    grid->addWidget(radio, index, 0);
    auto* description = new QLabel(kDescriptions[static_cast<std::size_t>(index)], box);
    if (index + 1 < kDpOptionCount) {
      grid->addWidget(description, index, 1);
      continue;
    }
    auto* row = new QHBoxLayout;
    row->addWidget(udcTag_);
    row->addWidget(description);
    row->addWidget(udcYesNo_);
    row->addStretch(1);
    grid->addLayout(row, index, 1);
  }
  grid->addWidget(new QLabel("One or more char(s) as start or embedded tags of Dp comments.", box),
                  kDpOptionCount, 1);

  auto* note = new QLabel(
      "Most Dp Options include blank lines as comment lines. These blank lines are not processed but "
      "totaled in the Dp line count.",
      this);
  note->setWordWrap(true);

  auto* returnButton = new QPushButton("&Return", this);
  returnButton->setObjectName("DpButReturn");
  returnButton->setToolTip("Back to the Main Panel with this option");
  auto* cancelButton = new QPushButton("&Cancel", this);
  cancelButton->setObjectName("DpButCancel");
  cancelButton->setToolTip("Back to the Main Panel with the option as it was on entering this page");
  connect(returnButton, &QPushButton::clicked, this, &DpOptionsPage::returnRequested);
  connect(cancelButton, &QPushButton::clicked, this, &DpOptionsPage::cancelRequested);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(returnButton);
  buttons->addWidget(cancelButton);

  auto* page = new QVBoxLayout(this);
  page->addWidget(box);
  page->addWidget(note);
  page->addStretch(1);
  page->addLayout(buttons);

  connect(group_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
    if (on && !showing_) session_.app.choices.dpIndex = id;
  });
  connect(udcTag_, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (!showing_) session_.app.choices.dudcTag = text.toStdString();
  });
  connect(udcYesNo_, &QComboBox::editTextChanged, this, [this](const QString& text) {
    if (!showing_) session_.app.choices.dudcYesNo = text.toStdString();
  });
  showState();
}

void DpOptionsPage::showState() {
  showing_ = true;
  const CompareChoices& choices = session_.app.choices;
  // No selection counts as "None": its radio shows it.
  QAbstractButton* selected = group_->button(choices.dpIndex);
  (selected != nullptr ? selected : group_->button(0))->setChecked(true);
  udcTag_->setText(QString::fromStdString(choices.dudcTag));
  const QString yesNo = QString::fromStdString(choices.dudcYesNo);
  if (const int index = udcYesNo_->findText(yesNo); index >= 0) udcYesNo_->setCurrentIndex(index);
  udcYesNo_->setEditText(yesNo);
  showing_ = false;
}

}  // namespace kelvarine
