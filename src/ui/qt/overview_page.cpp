#include "ui/qt/overview_page.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/qt/help_window.h"

namespace kelvarine {

OverViewPage::OverViewPage(QWidget* parent) : QWidget(parent) {
  setObjectName("PageOverView");
  auto* text = new QLabel(
      "<h3>Overview</h3>"
      "<p>Kelvarine compares a New and an Old file, or the files of a New and an Old directory.</p>"
      "<ol>"
      "<li>Type the New and Old names on the Main Panel, pick them from the histories, drop them on the "
      "window, or browse for them with <b>DirSelect</b> and <b>FileSelect</b>.</li>"
      "<li>Choose the <b>Listing Type</b>: Chng (changes with some context), Delta (changed blocks), Long "
      "(every line) or Ovsum (totals only).</li>"
      "<li>Choose the <b>Compare Type</b>: two files; all like-named files of two directories; a "
      "selection from the like-named files; or free pairs from two directory lists.</li>"
      "<li>Set the <b>Preferences</b> and the <b>Dp Options</b> (lines not to process) if needed.</li>"
      "<li>Press <b>Start</b>. The report opens in a viewer, from which it can be printed or saved. "
      "<b>Halt</b> stops a long run.</li>"
      "</ol>"
      "<p>The choices are kept in a settings file when the program ends, unless <i>Bypass Ini Update On "
      "Exit</i> is checked; <b>Load User Ini</b> and <b>Sv User Ini</b> read and write other settings "
      "files.</p>",
      this);
  text->setObjectName("OvLblText");
  text->setWordWrap(true);
  text->setTextFormat(Qt::RichText);
  text->setAlignment(Qt::AlignTop | Qt::AlignLeft);

  auto* helpButton = new QPushButton("Open &Help File", this);
  helpButton->setObjectName("OvButHelp");
  helpButton->setToolTip("Show the help file Brisolan.hlp");
  connect(helpButton, &QPushButton::clicked, this, &OverViewPage::openHelp);
  auto* returnButton = new QPushButton("&Return", this);
  returnButton->setObjectName("OvButReturn");
  returnButton->setToolTip("Back to the Main Panel");
  connect(returnButton, &QPushButton::clicked, this, &OverViewPage::returnRequested);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(helpButton);
  buttons->addStretch(1);
  buttons->addWidget(returnButton);

  auto* page = new QVBoxLayout(this);
  page->addWidget(text);
  page->addStretch(1);
  page->addLayout(buttons);
}

void OverViewPage::openHelp() {
  if (help_ == nullptr) {
    help_ = new HelpWindow(window());
  } else {
    help_->reload();
  }
  help_->show();
  help_->raise();
  help_->activateWindow();
}

}  // namespace kelvarine
