#include "ui/qt/help_window.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFontDatabase>
#include <QStringList>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <system_error>

#include "ui/settings_file.h"

namespace kelvarine {

namespace fs = std::filesystem;

std::vector<fs::path> HelpFileCandidates() {
  std::vector<fs::path> candidates;
  if (const fs::path bin = ExecutableDirectory(); !bin.empty()) {
    candidates.push_back((bin / ".." / "share" / "kelvarine" / "Brisolan.hlp").lexically_normal());
    candidates.push_back(bin / "Brisolan.hlp");
  }
  candidates.push_back(fs::path(KELVARINE_SOURCE_DATA_DIR) / "Brisolan.hlp");
  return candidates;
}

fs::path FindHelpFile() {
  for (const fs::path& candidate : HelpFileCandidates()) {
    std::error_code code;
    if (fs::is_regular_file(candidate, code)) return candidate.lexically_normal();
  }
  return {};
}

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent) {
  setObjectName("HelpWindow");
  setWindowTitle("Kelvarn - V1.8 Help");
  text_ = new QTextBrowser(this);
  text_->setObjectName("HelpText");
  text_->setReadOnly(true);
  text_->setLineWrapMode(QTextEdit::NoWrap);
  text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addWidget(buttons);
  const QFontMetrics metrics(text_->font());
  resize(metrics.horizontalAdvance(QString(104, 'x')), metrics.height() * 40);
  reload();
}

void HelpWindow::reload() {
  const fs::path path = FindHelpFile();
  QFile file(QString::fromStdString(path.string()));
  if (path.empty() || !file.open(QIODevice::ReadOnly)) {
    QStringList places;
    for (const fs::path& candidate : HelpFileCandidates())
      places << QString::fromStdString(candidate.string());
    text_->setPlainText("help file not found: " + places.join(", "));
    return;
  }
  text_->setPlainText(QString::fromUtf8(file.readAll()));
}

}  // namespace kelvarine
