#include "ui/qt/preferences_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kelvarine {

namespace {

// The description beside each check box, by tag (Subc, Xtab and Ccol have fields inside theirs).
const std::array<const char*, kPrefCount> kDescriptions = {
    ":  Ignore Ascii Case. Use case insensitive compare on text lines.",        // Icas
    ":  Reformat overide.  Reclassify reformatted lines as matched.",           // Rovr
    ":  Flag insert moved (IM) and delete moved (DM) matching lines.",          // Fmvl
    ":  Exclude Dp and Comment lines plus Part Cmts from final listing.",       // Xdpl
    "",                                                                         // Xtab
    ":  List old reformat line as next/side-by-side to new reformat line.",     // Lorl
    ":  Exclude individual totals summary. Only list final totals sect.",       // Noss
    ":  Ignore binary EOF character as text file \"end\" character.",           // Ieof
    "",                                                                         // Subc
    ":  Side-by-side (verticle or hort).  Separate delete and insert lists. ",  // Sbsl
    ":  Treat all files as CR/LF/EOF text lines. Override bin inspect.",        // Txal
    ":  All files processed as binary.  Overrides Txal and Txfo Options.",      // Abin
    ":  Accept \"=\"  length/file-date stamps as matching  text/bin files.",    // Aeqf
    ":  Full source up to 128 cols displayed . Normal ref# cols omitted. ",     // Fscl
    ":  Report changed files only in \"Overall Summary\" report.",              // Chgo
    ":  Include Not Proc file list in \"All Dir LN File Compare\" Summary.",    // Inpn
    ":  Process Only Text Files. Omit files detected as Binary.",               // Txfo
    "",                                                                         // Ccol
};

// The object name of each check box, by tag.
const std::array<const char*, kPrefCount> kBoxNames = {
    "PrCkIcas", "PrCkRovr", "PrCkFmvl", "PrCkXdpl", "PrCkXtab", "PrCkLorl",
    "PrCkNoss", "PrCkIeof", "PrCkSubc", "PrCkSbsl", "PrCkTxal", "PrCkProcAllBin",
    "PrCkAeqf", "PrCkFscl", "PrCkChgo", "PrCkInpn", "PrCkTxfo", "PrCkCcol"};

// A row of labels and fields, packed to the left.
QHBoxLayout* packedRow(std::initializer_list<QWidget*> widgets) {
  auto* row = new QHBoxLayout;
  row->setContentsMargins(0, 0, 0, 0);
  for (QWidget* widget : widgets)
    row->addWidget(widget);
  row->addStretch(1);
  return row;
}

}  // namespace

QLineEdit* PreferencesPage::makeEdit(const char* name, std::string CompareChoices::*field,
                                     const QString& hint) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(name);
  edit->setToolTip(hint);
  edit->setMaximumWidth(fontMetrics().horizontalAdvance("0000:0000") + 16);
  connect(edit, &QLineEdit::textChanged, this, [this, field](const QString& text) {
    if (!showing_) session_.app.choices.*field = text.toStdString();
  });
  return edit;
}

PreferencesPage::PreferencesPage(GuiSession& session, QWidget* parent) : QWidget(parent), session_(session) {
  setObjectName("PagePreferences");

  auto* title = new QLabel("Preference Options --- Affects Compare and Generated Results", this);
  QFont titleFont = title->font();
  titleFont.setBold(true);
  title->setFont(titleFont);

  auto* panel = new QGroupBox(this);
  panel->setObjectName("PrPanPreferences");
  auto* grid = new QGridLayout(panel);
  grid->setVerticalSpacing(2);
  grid->setColumnStretch(1, 1);

  subc_ = makeEdit("PrEdSubC", &CompareChoices::subcText, "The replacement character, between double quotes");
  subc_->setMaximumWidth(fontMetrics().horizontalAdvance("\"W\"") + 16);
  subc_->installEventFilter(this);
  xtab_ = new QComboBox(this);
  xtab_->setObjectName("PrCbXTab");
  xtab_->setEditable(true);
  xtab_->setInsertPolicy(QComboBox::NoInsert);
  for (int width = 1; width <= 8; ++width)
    xtab_->addItem(QString::number(width));
  xtab_->setToolTip("Tab width");
  connect(xtab_, &QComboBox::editTextChanged, this, [this](const QString& text) {
    if (!showing_) session_.app.choices.xtabText = text.toStdString();
  });
  ccolNew1_ = makeEdit("PrEdCcolNw1", &CompareChoices::ccolNew1,
                       "New file 1st compare columns: start:stop or start:eol");
  ccolNew2_ = makeEdit("PrEdCcolNw2", &CompareChoices::ccolNew2, "New file 2nd compare columns (optional)");
  ccolOld1_ = makeEdit("PrEdCcolOd1", &CompareChoices::ccolOld1,
                       "Old file 1st compare columns: start:stop or start:eol");
  ccolOld2_ = makeEdit("PrEdCcolOd2", &CompareChoices::ccolOld2, "Old file 2nd compare columns (optional)");

  int row = 0;
  for (Pref pref : kPanelOrder) {
    const auto tag = static_cast<std::size_t>(pref);
    auto* box = new QCheckBox(kPrefKeywords[tag], panel);
    box->setObjectName(kBoxNames[tag]);
    boxes_[tag] = box;
    connect(box, &QCheckBox::toggled, this, [this, pref](bool on) {
      if (!showing_) session_.app.choices.setChecked(pref, on);
    });
    grid->addWidget(box, row, 0, Qt::AlignTop);
    switch (pref) {
      case Pref::Subc:
        grid->addLayout(packedRow({new QLabel(":  Use a ", panel), subc_,
                                   new QLabel("character as the control replacement character.", panel)}),
                        row, 1);
        break;
      case Pref::Xtab:
        grid->addLayout(packedRow({new QLabel(":  Expand tabs characters mod \" ", panel), xtab_,
                                   new QLabel("\" spaces.", panel)}),
                        row, 1);
        break;
      case Pref::Ccol: {
        auto* ranges = new QGridLayout;
        ranges->addWidget(new QLabel(" St-Col : Sp-Col (1st)                 (2nd)", panel), 0, 1, 1, 2);
        ranges->addWidget(new QLabel(":  Compare New File", panel), 1, 0);
        ranges->addWidget(ccolNew1_, 1, 1);
        ranges->addWidget(ccolNew2_, 1, 2);
        ranges->addWidget(new QLabel(":  Compare Old File", panel), 2, 0);
        ranges->addWidget(ccolOld1_, 2, 1);
        ranges->addWidget(ccolOld2_, 2, 2);
        ranges->setColumnStretch(3, 1);
        grid->addLayout(ranges, row, 1);
        break;
      }
      default: {
        grid->addWidget(new QLabel(kDescriptions[tag], panel), row, 1);
      }
    }
    box->setToolTip(QString("%1: check to use this preference").arg(kPrefKeywords[tag]));
    ++row;
  }

  auto* memo = new QLabel(
      "A file with up to \n9 invalid Ascii \nchar in the first \ntext line is \nconsidered a \n"
      "binary file when \nnot overriden \nby TXAL pref.",
      this);
  memo->setObjectName("PrMemo");
  memo->setFrameShape(QFrame::StyledPanel);
  memo->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  memo->setMargin(4);

  auto* returnButton = new QPushButton("&Return", this);
  returnButton->setObjectName("PrButReturn");
  returnButton->setToolTip("Back to the Main Panel with these preferences");
  auto* cancelButton = new QPushButton("&Cancel", this);
  cancelButton->setObjectName("PrButCancel");
  cancelButton->setToolTip("Back to the Main Panel with the preferences as they were on entering this page");
  auto* resetButton = new QPushButton("R&eset", this);
  resetButton->setObjectName("PrButReset");
  resetButton->setToolTip("Uncheck every preference");
  connect(returnButton, &QPushButton::clicked, this, &PreferencesPage::returnRequested);
  connect(cancelButton, &QPushButton::clicked, this, &PreferencesPage::cancelRequested);
  connect(resetButton, &QPushButton::clicked, this, &PreferencesPage::resetRequested);

  auto* side = new QVBoxLayout;
  side->addWidget(memo);
  side->addStretch(1);
  side->addWidget(returnButton);
  side->addWidget(cancelButton);
  side->addWidget(resetButton);
  auto* body = new QHBoxLayout;
  body->addWidget(panel, 1);
  body->addLayout(side);
  auto* page = new QVBoxLayout(this);
  page->addWidget(title);
  page->addLayout(body, 1);
  showState();
}

void PreferencesPage::showState() {
  showing_ = true;
  const CompareChoices& choices = session_.app.choices;
  for (std::size_t tag = 0; tag < kPrefCount; ++tag)
    boxes_[tag]->setChecked(choices.checked[tag]);
  subc_->setText(QString::fromStdString(choices.subcText));
  const QString width = QString::fromStdString(choices.xtabText);
  if (const int index = xtab_->findText(width); index >= 0) xtab_->setCurrentIndex(index);
  xtab_->setEditText(width);
  ccolNew1_->setText(QString::fromStdString(choices.ccolNew1));
  ccolNew2_->setText(QString::fromStdString(choices.ccolNew2));
  ccolOld1_->setText(QString::fromStdString(choices.ccolOld1));
  ccolOld2_->setText(QString::fromStdString(choices.ccolOld2));
  showing_ = false;
}

void PreferencesPage::normaliseSubc() {
  session_.app.choices.subcText = NormaliseSubcText(subc_->text().toStdString());
  showing_ = true;
  subc_->setText(QString::fromStdString(session_.app.choices.subcText));
  showing_ = false;
}

bool PreferencesPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == subc_ && event->type() == QEvent::FocusOut) normaliseSubc();
  return QWidget::eventFilter(watched, event);
}

}  // namespace kelvarine
