#include "ui/qt/legend_window.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/viewer_model.h"

namespace kelvarine {
namespace {

struct LegendRow {
  const char* code;
  const char* meaning;
  RowColour colour;
};

constexpr LegendRow kRows[] = {
    {"\"Blank\"", "Matched line. Both new and old file lines compare equal. ", RowColour::Black},
    {" I -", "Inserted line in new file.  Absent (sequentially) from \"old\" file.", RowColour::Blue},
    {" D -", "Deleted line in old file.  Absent (sequentially ) from \"new\" file.", RowColour::Red},
    {" IM-", "Inserted new file moved line.  Matched but out of sequence. See Ref# @Eol.", RowColour::Blue},
    {" DM-", "Deleted old file moved line.  Matched but out of sequence. See Ref# @Eol.", RowColour::Red},
    {" RN-", "Reformatted new file line.  Same data content as old line. Blank pos. differ.",
     RowColour::Teal},
    {" RO-", "Reformatted old file line. Same data content as new line. Blank pos. differ.",
     RowColour::Maroon},
};

}  // namespace

LegendWindow::LegendWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("CfWindow"));
  setWindowTitle(QStringLiteral("Kelvarine Change Flagging Legend"));
  auto* layout = new QVBoxLayout(this);
  auto* title = new QLabel(QStringLiteral("Change Flagging ID Column  Keys :"), this);
  title->setObjectName(QStringLiteral("CfLbTitle"));
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  layout->addWidget(title);
  auto* grid = new QGridLayout;
  int row = 0;
  for (const LegendRow& entry : kRows) {
    auto* code = new QLabel(QString::fromLatin1(entry.code), this);
    code->setObjectName(QStringLiteral("CfLbCode%1").arg(row));
    code->setTextFormat(Qt::PlainText);
    code->setFont(bold);
    code->setStyleSheet(
        QStringLiteral("color: #%1").arg(RowColourRgb(entry.colour), 6, 16, QLatin1Char('0')));
    auto* meaning = new QLabel(QString::fromLatin1(entry.meaning), this);
    meaning->setObjectName(QStringLiteral("CfLbMeaning%1").arg(row));
    meaning->setTextFormat(Qt::PlainText);
    grid->addWidget(code, row, 0);
    grid->addWidget(meaning, row, 1);
    ++row;
  }
  layout->addLayout(grid);
  auto* close = new QPushButton(QStringLiteral("Close"), this);
  close->setObjectName(QStringLiteral("CfButClose"));
  layout->addWidget(close, 0, Qt::AlignRight);
  connect(close, &QPushButton::clicked, this, &QWidget::close);
}

}  // namespace kelvarine
