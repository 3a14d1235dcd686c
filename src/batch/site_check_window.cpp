#include "batch/site_check_window.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <memory>

#include "batch/batch_panel.h"
#include "document/site_links.h"
#include "document/speller.h"
#include "platform/desktop.h"
#include "platform/folder_listing.h"
#include "widgets/file_browser.h"
#include "widgets/form_helpers.h"

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kLineRole = Qt::UserRole + 1;
constexpr int kColumnRole = Qt::UserRole + 2;

}  // namespace

SiteCheckWindow::SiteCheckWindow(Desktop& desktop, QWidget* parent)
    : QDialog(parent),
      desktop_(desktop),
      folder_(new FolderList(this)),
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
  BindText(results_, [this] {
    results_->setHeaderLabels({Tr(Text::kRecoveryPage), Tr(Text::kProblemLine),
                               Tr(Text::kProblemSeverity), Tr(Text::kProblemMessage),
                               Tr(Text::kProblemKind)});
  });
  summary_->setWordWrap(true);

  auto* choices = new QVBoxLayout;
  choices->addWidget(folder_, 1);
  for (QWidget* widget : std::initializer_list<QWidget*>{
           subfolders_, links_, orphans_, html_, spelling_, run, save_report_, site_file, close}) {
    choices->addWidget(widget);
  }
  auto* found = new QVBoxLayout;
  found->addWidget(results_, 1);
  found->addWidget(summary_);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(choices, 1);
  layout->addLayout(found, 3);
  resize(960, 600);

  connect(run, &QPushButton::clicked, this, &SiteCheckWindow::Run);
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
  Show();
}

void SiteCheckWindow::Show() {
  results_->clear();
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
    if (page == nullptr || page->data(0, kPathRole).toString() != path) {
      close_page();
      page = new QTreeWidgetItem(results_, {shown_from.relativeFilePath(path)});
      page->setData(0, kPathRole, path);
      page->setData(0, kLineRole, 1);
      page->setData(0, kColumnRole, 1);
      std::fill(std::begin(page_counts), std::end(page_counts), 0);
    }
    ++counts[int(problem.severity)];
    ++page_counts[int(problem.severity)];
    auto* row = new QTreeWidgetItem(
        page, {QString(), QStringLiteral("%1:%2").arg(problem.line).arg(problem.column),
               SeverityText(problem.severity), problem.message, problem.kind});
    row->setData(0, kPathRole, path);
    row->setData(0, kLineRole, problem.line);
    row->setData(0, kColumnRole, problem.column);
  }
  close_page();
  results_->expandAll();
  QString summary = Tr(Text::kSiteSummary)
                        .arg(result_.pages)
                        .arg(ProblemCountsText(counts[0], counts[1], counts[2]))
                        .arg(result_.not_checked);
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
