#include "ui/qt/about_page.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "kelvarine_version.h"

namespace kelvarine {

AboutPage::AboutPage(QWidget* parent) : QWidget(parent) {
  setObjectName("PageAbout");
  auto* title = new QLabel("Kelvarn - V1.8", this);
  QFont titleFont = title->font();
  titleFont.setBold(true);
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
  title->setFont(titleFont);
  title->setAlignment(Qt::AlignCenter);
  auto* version = new QLabel(QString("Kelvarine version %1").arg(KELVARINE_VERSION), this);
  version->setObjectName("AbLblVersion");
  version->setAlignment(Qt::AlignCenter);
  auto* about = new QLabel(
      "Compares a New and an Old file, or the like-named files of a New and an Old directory, and "
      "lists matched, inserted, deleted, reformatted and moved lines with their reference numbers, "
      "per-pair totals and a grouped summary.\n\nThe files compared are only read, never changed.",
      this);
  about->setWordWrap(true);
  about->setAlignment(Qt::AlignCenter);

  auto* returnButton = new QPushButton("&Return", this);
  returnButton->setObjectName("AbButReturn");
  returnButton->setToolTip("Back to the Main Panel");
  connect(returnButton, &QPushButton::clicked, this, &AboutPage::returnRequested);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(returnButton);

  auto* page = new QVBoxLayout(this);
  page->addStretch(1);
  page->addWidget(title);
  page->addWidget(version);
  page->addSpacing(fontMetrics().height());
  page->addWidget(about);
  page->addStretch(2);
  page->addLayout(buttons);
}

}  // namespace kelvarine
