#include "batch/site_check_window.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <memory>

#include "batch/batch_panel.h"
#include "checks/speller.h"
#include "document/site.h"
#include "platform/desktop.h"
#include "platform/file_write.h"
#include "platform/folder_listing.h"
#include "widgets/file_browser.h"
#include "widgets/form_helpers.h"

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kLineRole = Qt::UserRole + 1;
constexpr int kColumnRole = Qt::UserRole + 2;
constexpr int kSeverityRole = Qt::UserRole + 3;

// Pages stay in the order of their paths; their problems sort by the column chosen, lines
// and severities by number rather than by text.
class ResultItem : public QTreeWidgetItem {
 public:
  using QTreeWidgetItem::QTreeWidgetItem;
  bool operator<(const QTreeWidgetItem& other) const override {
    if (parent() == nullptr)
      return data(0, kPathRole).toString() < other.data(0, kPathRole).toString();
    const int column = treeWidget() == nullptr ? 0 : treeWidget()->sortColumn();
    const auto position = [](const QTreeWidgetItem& item) {
      return std::pair(item.data(0, kLineRole).toInt(), item.data(0, kColumnRole).toInt());
    };
    switch (column) {
      case 2:
        return std::pair(data(0, kSeverityRole).toInt(), position(*this)) <
               std::pair(other.data(0, kSeverityRole).toInt(), position(other));
      case 3:
      case 4:
        return std::pair(text(column), position(*this)) <
               std::pair(other.text(column), position(other));
      default:
        return position(*this) < position(other);
    }
  }
};

}  // namespace

SiteCheckWindow::SiteCheckWindow(Desktop& desktop, QWidget* parent)
    : QDialog(parent),
      desktop_(desktop),
      folder_(new FolderList(this)),
      folder_field_(Named<QLineEdit>(this, QStringLiteral("SiteFolder"))),
      severity_filter_(Named<QComboBox>(this, QStringLiteral("SeverityFilter"))),
      kind_filter_(Named<QComboBox>(this, QStringLiteral("KindFilter"))),
      subfolders_(Captioned<QCheckBox>(this, QStringLiteral("IncludeSubfolders"),
                                       Text::kIncludeSubfolders)),
      links_(Captioned<QCheckBox>(this, QStringLiteral("CheckLinks"), Text::kSiteLinks)),
      html_(Captioned<QCheckBox>(this, QStringLiteral("CheckHtml"), Text::kSiteHtml)),
      spelling_(Captioned<QCheckBox>(this, QStringLiteral("CheckSpelling"), Text::kCheckSpelling)),
      orphans_(Captioned<QCheckBox>(this, QStringLiteral("CheckOrphans"), Text::kSiteOrphans)),
      save_report_(Captioned<QPushButton>(this, QStringLiteral("SaveReport"), Text::kSaveReport)),
      results_(Named<QTreeWidget>(this, QStringLiteral("Results"))),
      summary_(Named<QLabel>(this, QStringLiteral("Summary"))) {
  setObjectName(kName.toString());
  ShowText(this, &QWidget::setWindowTitle, Text::kCheckSite);
  for (QCheckBox* box : {subfolders_, links_, orphans_}) box->setChecked(true);
  auto* run = Captioned<QPushButton>(this, QStringLiteral("Run"), Text::kSiteRun);
  auto* site_file =
      Captioned<QPushButton>(this, QStringLiteral("SaveSiteFile"), Text::kSaveSiteFile);
  auto* close = Captioned<QPushButton>(this, QStringLiteral("CloseButton"), Text::kClose);
  run->setDefault(true);
  save_report_->setEnabled(false);
  results_->setColumnCount(5);
  results_->setUniformRowHeights(true);
  // A page's row spans the columns; its problems use the narrow first one for the indent.
  results_->header()->setStretchLastSection(false);
  results_->header()->setSectionResizeMode(0, QHeaderView::Fixed);
  results_->header()->resizeSection(0, 40);
  for (int column : {1, 2, 4}) {
    results_->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  }
  results_->header()->setSectionResizeMode(3, QHeaderView::Stretch);
  results_->setSortingEnabled(true);
  results_->sortByColumn(1, Qt::AscendingOrder);
  BindText(severity_filter_, [this] {
    const int chosen = std::max(0, severity_filter_->currentIndex());
    severity_filter_->clear();
    severity_filter_->addItem(Tr(Text::kAllSeverities), -1);
    for (const Severity severity : {Severity::kError, Severity::kWarning, Severity::kNote}) {
      severity_filter_->addItem(SeverityText(severity), int(severity));
    }
    severity_filter_->setCurrentIndex(chosen);
  });
  kind_filter_->addItem(Tr(Text::kAllKinds));
  auto* choose = Captioned<QPushButton>(this, QStringLiteral("ChooseFolder"), Text::kChooseFolder);
  auto* folder_caption = new QLabel(this);
  ShowText(folder_caption, &QLabel::setText, Text::kSiteFolderCaption);
  folder_caption->setBuddy(folder_field_);
  folder_field_->setText(folder_->Folder());
  BindText(results_, [this] {
    results_->setHeaderLabels({Tr(Text::kRecoveryPage), Tr(Text::kProblemLine),
                               Tr(Text::kProblemSeverity), Tr(Text::kProblemMessage),
                               Tr(Text::kProblemKind)});
  });
  summary_->setWordWrap(true);

  auto* choices = new QVBoxLayout;
  choices->addWidget(folder_caption);
  auto* chooser = new QHBoxLayout;
  chooser->addWidget(folder_field_, 1);
  chooser->addWidget(choose);
  choices->addLayout(chooser);
  choices->addWidget(folder_, 1);
  for (QWidget* widget : std::initializer_list<QWidget*>{
           subfolders_, links_, orphans_, html_, spelling_, run, save_report_, site_file, close}) {
    choices->addWidget(widget);
  }
  auto* found = new QVBoxLayout;
  auto* filters = new QHBoxLayout;
  filters->addWidget(severity_filter_);
  filters->addWidget(kind_filter_);
  filters->addStretch(1);
  found->addLayout(filters);
  found->addWidget(results_, 1);
  found->addWidget(summary_);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(choices, 1);
  layout->addLayout(found, 3);
  resize(960, 600);

  connect(run, &QPushButton::clicked, this, &SiteCheckWindow::Run);
  connect(choose, &QPushButton::clicked, this, &SiteCheckWindow::ChooseFolder);
  connect(folder_, &FolderList::FolderChanged, folder_field_, &QLineEdit::setText);
  connect(folder_field_, &QLineEdit::returnPressed, this, [this] {
    if (QFileInfo(folder_field_->text()).isDir()) {
      folder_->SetFolderProperty(QDir::cleanPath(folder_field_->text()));
    } else {
      folder_field_->setText(folder_->Folder());
    }
  });
  connect(severity_filter_, &QComboBox::activated, this, &SiteCheckWindow::Show);
  connect(kind_filter_, &QComboBox::activated, this, &SiteCheckWindow::Show);
  connect(save_report_, &QPushButton::clicked, this, &SiteCheckWindow::SaveReport);
  connect(site_file, &QPushButton::clicked, this, &SiteCheckWindow::SaveSiteFile);
  connect(close, &QPushButton::clicked, this, &QWidget::hide);
  connect(links_, &QCheckBox::toggled, orphans_, &QWidget::setEnabled);
  connect(results_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    const QString path = item->data(0, kPathRole).toString();
    if (!path.isEmpty()) {
      emit OpenAt(path, item->data(0, kLineRole).toInt(), item->data(0, kColumnRole).toInt());
    }
  });
}

void SiteCheckWindow::Run() {
  const QString folder = folder_->Folder();
  SiteCheckRequest request;
  for (const QString& relative :
       ScanFolder(folder, QString::fromUtf16(kPageMask), subfolders_->isChecked()).files) {
    request.files.append(JoinPath(folder, relative));
  }
  request.checks.html = html_->isChecked();
  request.checks.spelling = spelling_->isChecked();
  if (request.checks.spelling) {
    request.checks.speller = std::make_shared<Speller>(Speller::SystemDictionaryFolder(),
                                                       Speller::DefaultPersonalWords());
    request.checks.spelling_options.language = InterfaceSpellingLanguage();
  }
  request.links = links_->isChecked();
  request.orphans = request.links && orphans_->isChecked();
  // The folder checked is the site's root, unless a site file above it says otherwise.
  const QString site = SiteRootOf(JoinPath(folder, QStringLiteral("page")));
  const QString root = QDir(folder).absolutePath().startsWith(site) ? site : folder;
  request.root_of = [root](const QString&) { return root; };
  FileProgress progress(this, Tr(Text::kCheckingPages));
  const ProgressSink sink = progress.Sink();
  result_ = CheckSite(request, sink);
  FillKinds();
  Show();
}

void SiteCheckWindow::OfferFolder(const QString& folder) {
  if (!folder.isEmpty()) folder_->OfferFolder(folder);
  folder_field_->setText(folder_->Folder());
}

void SiteCheckWindow::ChooseFolder() {
  if (const std::optional<QString> folder = desktop_.AskFolder(this, folder_->Folder())) {
    folder_->SetFolderProperty(*folder);
  }
}

void SiteCheckWindow::FillKinds() {
  const QString chosen = kind_filter_->currentIndex() > 0 ? kind_filter_->currentText() : QString();
  QStringList kinds;
  for (const CheckedProblem& checked : std::as_const(result_.problems)) {
    kinds.append(checked.problem.kind);
  }
  kinds.sort();
  kinds.removeDuplicates();
  kind_filter_->clear();
  kind_filter_->addItem(Tr(Text::kAllKinds));
  kind_filter_->addItems(kinds);
  kind_filter_->setCurrentIndex(std::max(0, int(kinds.indexOf(chosen)) + 1));
}

void SiteCheckWindow::Show() {
  results_->setSortingEnabled(false);  // rows are added fast, sorted once
  results_->clear();
  const int severity =
      severity_filter_->currentData().isValid() ? severity_filter_->currentData().toInt() : -1;
  const QString kind = kind_filter_->currentIndex() > 0 ? kind_filter_->currentText() : QString();
  int shown = 0;
  int counts[3] = {0, 0, 0};
  QTreeWidgetItem* page = nullptr;
  int page_counts[3] = {0, 0, 0};
  const auto close_page = [&] {
    if (page == nullptr) return;
    page->setText(0, QStringLiteral("%1  (%2)")
                         .arg(page->text(0),
                              ProblemCountsText(page_counts[0], page_counts[1], page_counts[2])));
    page->setFirstColumnSpanned(true);
  };
  const QDir shown_from(folder_->Folder());
  for (const auto& [path, problem] : std::as_const(result_.problems)) {
    ++counts[int(problem.severity)];
    if ((severity >= 0 && int(problem.severity) != severity) ||
        (!kind.isEmpty() && problem.kind != kind)) {
      continue;
    }
    ++shown;
    if (page == nullptr || page->data(0, kPathRole).toString() != path) {
      close_page();
      page = new ResultItem(results_, QStringList{shown_from.relativeFilePath(path)});
      page->setData(0, kPathRole, path);
      page->setData(0, kLineRole, 1);
      page->setData(0, kColumnRole, 1);
      std::fill(std::begin(page_counts), std::end(page_counts), 0);
    }
    ++page_counts[int(problem.severity)];
    auto* row = new ResultItem(
        page, QStringList{QString(), QStringLiteral("%1:%2").arg(problem.line).arg(problem.column),
                          SeverityText(problem.severity), problem.message, problem.kind});
    row->setData(0, kSeverityRole, int(problem.severity));
    row->setData(0, kPathRole, path);
    row->setData(0, kLineRole, problem.line);
    row->setData(0, kColumnRole, problem.column);
  }
  close_page();
  results_->setSortingEnabled(true);
  results_->expandAll();
  QString summary = Tr(Text::kSiteSummary)
                        .arg(result_.pages)
                        .arg(ProblemCountsText(counts[0], counts[1], counts[2]))
                        .arg(result_.not_checked);
  if (shown != int(result_.problems.size())) {
    summary += u' ' + Tr(Text::kSiteShowing).arg(shown).arg(result_.problems.size());
  }
  if (result_.cancelled) summary += u' ' + Tr(Text::kSiteCancelled);
  for (const QString& unreadable : std::as_const(result_.unreadable)) summary += u'\n' + unreadable;
  summary_->setText(summary);
  save_report_->setEnabled(true);
}

void SiteCheckWindow::SaveReport() {
  const std::optional<Desktop::FileChoice> choice =
      desktop_.AskSavePath(this, {QStringLiteral("*.txt (*.txt)")}, 1,
                           JoinPath(folder_->Folder(), QStringLiteral("site-check.txt")));
  if (!choice) return;
  QString text = CompilerLines(result_.problems);
  for (const QString& unreadable : std::as_const(result_.unreadable)) text += unreadable + u'\n';
  if (const auto error = WriteWholeFile(choice->path, text.toUtf8())) {
    desktop_.ShowError(this, error->message);
  }
}

void SiteCheckWindow::SaveSiteFile() {
  const QString folder = folder_->Folder();
  if (const auto error = SiteOptions::Read(folder).Write(folder)) {
    desktop_.ShowError(this, error->message);
    return;
  }
  summary_->setText(
      Tr(Text::kSiteFileSaved).arg(JoinPath(folder, QString::fromUtf16(SiteOptions::kFileName))));
}
