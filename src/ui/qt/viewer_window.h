#pragma once

#include <QDialog>
#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/change_map.h"
#include "ui/pair_list.h"
#include "ui/qt/gui_session.h"
#include "ui/qt/report_list_model.h"
#include "ui/qt/viewer_busy.h"
#include "ui/viewer_model.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListView;
class QPushButton;
class QSplitter;

namespace kelvarine {

class ChangeMapStrip;
class FindDialog;
class ReportPrintFlow;
class RulerLabel;
class ReportSaveFlow;

// What the three report viewers share: the list (or the two coupled lists) over a ReportViewerModel,
// the header and name labels, the change map beside the (right / top) list's scroll bar, the
// navigation buttons with the change counter, the pair list of a report of several pairs and, for the
// single and dual viewers, the font size fields and the Print / SaveAs / Halt buttons. Object names
// start with "Vs", "Vd" or "Vh".
class ViewerWindow : public QDialog {
  Q_OBJECT

 public:
  ViewerWindow(ViewerKind kind, GuiSession& session, Host& host, QWidget* parent);
  ~ViewerWindow() override;

  ViewerKind kind() const { return kind_; }
  // Fills the window for one opening: a fresh viewer model over the session's report, caption,
  // headers, labels and file-section button from `layout`, the first row selected at the top.
  void openReport(const ViewerLayout& layout);
  // Lets go of the report once the window has closed: a later run may replace it.
  void release();
  // The date and time of the captions, which saved reports repeat in their titles.
  void setReportStamp(const std::string& stamp) { reportStamp_ = stamp; }

  // The open report's model (null between openings) and the lists: the single list or the left / top
  // one first; the second is null in the single viewer.
  ReportViewerModel* model() { return model_ ? &*model_ : nullptr; }
  QListView* firstList() const { return first_; }
  QListView* secondList() const { return second_; }
  QPushButton* haltButton() const { return halt_; }
  ChangeMapStrip* changeMap() const { return map_; }

  // The font size fields ("8" when a viewer has none) and the lists' font.
  QString displayFontSize() const;
  QString printFontSize() const;
  void setFontSizes(const QString& displaySize, const QString& printSize);
  void setListFont(const QFont& font);
  QFont listFont() const;

  // Position and size of the window, and the splitter's first pane (left list width, top list
  // height; 0 in the single viewer). A split set before the window is shown is applied when it is.
  ViewerGeometry windowGeometry() const;
  void setWindowGeometry(const ViewerGeometry& geometry);
  int splitSize() const;
  void setSplitSize(int size);

 public slots:
  void toTop();
  void toBottom();
  void nextChange();
  void previousChange();
  void nextFileSection();
  // "Find..." (also Ctrl+F; F3 repeats Find Next), "Print..." and "SaveAs...".
  void onFind();
  void onPrint();
  void onSaveAs();

 signals:
  void legendRequested();
  void hSplitRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QWidget* makePanel(ReportListModel*& model, QListView*& view, RulerLabel*& header, ViewerList list,
                     const QString& listName, const QString& headerName, bool withMap);
  QWidget* makePairRow(const QString& prefix);
  QPushButton* makeButton(const QString& text, const QString& name);
  QWidget* makeNavigationRow(const QString& prefix);
  QWidget* makeCommandRow(const QString& prefix);
  QWidget* makeExplanations(const QString& prefix);
  void coupleLists();
  void applySplit(QSize splitterSize);
  void returnClicked();
  // Shows the model's selected row in the list(s), scrolled to the upper third of the view so that the
  // rows after it are in sight.
  void showSelection();
  void listRowChanged(QListView* from, int row);
  void scrollFollow(QListView* from, int value);
  // The change counter and the pair list follow the selection; the map outlines the rows in sight.
  void selectionMoved();
  void updateMapBand();
  void mapRowRequested(qint64 row);
  void pairChosen(int index);
  void fillPairList();
  // Halt and the controls that printing and RTF saving disable.
  ViewerBusyControls busyControls() const;

  ViewerKind kind_;
  GuiSession& session_;
  Host& host_;
  std::optional<ReportViewerModel> model_;
  ReportListModel* firstModel_ = nullptr;
  ReportListModel* secondModel_ = nullptr;
  QListView* first_ = nullptr;
  QListView* second_ = nullptr;
  RulerLabel* firstHeader_ = nullptr;
  RulerLabel* secondHeader_ = nullptr;
  QLabel* newLabel_ = nullptr;
  QLabel* oldLabel_ = nullptr;
  QSplitter* splitter_ = nullptr;
  QPushButton* nextFile_ = nullptr;
  QPushButton* return_ = nullptr;
  QPushButton* halt_ = nullptr;
  QComboBox* fontSize_ = nullptr;
  QComboBox* printFontSize_ = nullptr;
  QComboBox* htmlSize_ = nullptr;  // the HTML size of saved reports, "1" to "4"
  ChangeMapStrip* map_ = nullptr;
  QLabel* changeCounter_ = nullptr;
  QWidget* pairRow_ = nullptr;
  QComboBox* pairList_ = nullptr;
  ReportChanges changes_;              // of the open report
  std::vector<PairListEntry> pairs_;   // of the open report, as pairList_ shows them
  QCheckBox* noRefNumbers_ = nullptr;  // "Print No Ref#", dual viewer only
  FindDialog* find_ = nullptr;
  std::unique_ptr<ReportPrintFlow> printFlow_;
  std::unique_ptr<ReportSaveFlow> saveFlow_;
  std::string reportStamp_;
  int pendingSplit_ = 0;
  // Set around programmatic moves of one list so that the other list's echo is not fed back.
  bool couplingOff_ = false;
};

}  // namespace kelvarine
