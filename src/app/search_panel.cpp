#include "app/search_panel.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "batch/batch_panel.h"
#include "batch/batch_tools.h"
#include "document/site.h"
#include "names/texts.h"
#include "platform/desktop.h"
#include "platform/folder_listing.h"
#include "widgets/form_helpers.h"

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kLineRole = Qt::UserRole + 1;
constexpr int kColumnRole = Qt::UserRole + 2;
constexpr int kLengthRole = Qt::UserRole + 3;
constexpr int kShownColumnRole = Qt::UserRole + 4;  // where the match starts in the text shown
constexpr qsizetype kShownLine = 240;               // characters of a long line shown

// A hit's line, the match in it on the selection's colours.
class HitDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const QVariant from = index.data(kShownColumnRole);
    if (!from.isValid()) {
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QString text = item.text;
    item.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
    const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget);
    const int start = std::clamp(from.toInt(), 0, int(text.size()));
    const int length = std::clamp(index.data(kLengthRole).toInt(), 0, int(text.size()) - start);
    const QFontMetrics metrics(item.font);
    const int x = area.left() + 2 + metrics.horizontalAdvance(text.left(start));
    const QRect mark(x, area.top(), metrics.horizontalAdvance(text.mid(start, length)),
                     area.height());
    painter->save();
    painter->fillRect(mark, option.palette.highlight().color().lighter(150));
    painter->setPen(option.palette.text().color());
    painter->drawText(area.adjusted(2, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, text);
    painter->restore();
  }
};

}  // namespace

SearchPanel::SearchPanel(Desktop& desktop, QWidget* parent)
    : QDockWidget(parent),
      desktop_(desktop),
      text_(Named<QLineEdit>(this, QStringLiteral("FindText"))),
      regex_(Captioned<QCheckBox>(this, QStringLiteral("RegularExpression"),
                                  Text::kRegularExpression)),
      match_case_(Captioned<QCheckBox>(this, QStringLiteral("MatchCase"), Text::kMatchCase)),
      whole_word_(Captioned<QCheckBox>(this, QStringLiteral("WholeWord"), Text::kWholeWord)),
      subfolders_(Captioned<QCheckBox>(this, QStringLiteral("IncludeSubfolders"),
                                       Text::kIncludeSubfolders)),
      folder_(Named<QLineEdit>(this, QStringLiteral("SearchFolder"))),
      patterns_(Named<QLineEdit>(this, QStringLiteral("FilePatterns"))),
      find_(Captioned<QPushButton>(this, QStringLiteral("FindAll"), Text::kFindAll)),
      stop_(Captioned<QPushButton>(this, QStringLiteral("StopFind"), Text::kStopFind)),
      count_(Named<QLabel>(this, QStringLiteral("HitCount"))),
      hits_(Named<QTreeWidget>(this, QStringLiteral("SearchHits"))),
      replacement_(Named<QLineEdit>(this, QStringLiteral("ReplaceWith"))),
      batch_(new BatchPanel(desktop, this)) {
  setObjectName(QStringLiteral("SearchResults"));
  ShowText(this, &QWidget::setWindowTitle, Text::kFindInFiles);
  setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
              QDockWidget::DockWidgetFloatable);
  subfolders_->setChecked(true);
  patterns_->setText(QStringLiteral("*.htm;*.html;*.css"));
  stop_->setEnabled(false);
  hits_->setColumnCount(1);
  hits_->setHeaderHidden(true);
  hits_->setUniformRowHeights(true);
  hits_->setItemDelegate(new HitDelegate(hits_));
  auto* site_root = Captioned<QPushButton>(this, QStringLiteral("SiteRoot"), Text::kSiteRootButton);
  auto* choose =
      Captioned<QPushButton>(this, QStringLiteral("ChooseSearchFolder"), Text::kChooseFolder);

  const auto label = [this](Text text, QWidget* buddy) {
    auto* caption = new QLabel(this);
    ShowText(caption, &QLabel::setText, text);
    caption->setBuddy(buddy);
    return caption;
  };
  auto* form = new QGridLayout;
  form->addWidget(label(Text::kFindWhat, text_), 0, 0);
  form->addWidget(text_, 0, 1, 1, 3);
  form->addWidget(find_, 0, 4);
  form->addWidget(stop_, 0, 5);
  form->addWidget(label(Text::kSearchIn, folder_), 1, 0);
  form->addWidget(folder_, 1, 1);
  form->addWidget(choose, 1, 2);
  form->addWidget(site_root, 1, 3);
  form->addWidget(label(Text::kFilePatterns, patterns_), 1, 4);
  form->addWidget(patterns_, 1, 5);
  auto* options = new QHBoxLayout;
  for (QWidget* box :
       std::initializer_list<QWidget*>{regex_, match_case_, whole_word_, subfolders_}) {
    options->addWidget(box);
  }
  options->addStretch(1);
  options->addWidget(count_);
  auto* inside = new QWidget(this);
  auto* layout = new QVBoxLayout(inside);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addLayout(form);
  layout->addLayout(options);
  layout->addWidget(hits_, 1);
  auto* replace_row = new QHBoxLayout;
  auto* replace_these =
      Captioned<QPushButton>(this, QStringLiteral("ReplaceThese"), Text::kReplaceThese);
  replace_row->addWidget(label(Text::kReplaceWith, replacement_));
  replace_row->addWidget(replacement_, 1);
  replace_row->addWidget(replace_these);
  layout->addLayout(replace_row);
  layout->addWidget(batch_);
  setWidget(inside);
  batch_->SetJob([this](const BatchOptions& run) {
    if (!expression_) return BatchReport{};
    return RunBatch(
        ReplaceHitsSteps(TickedLines(), *expression_, replacement_->text(), regex_searched_), run);
  });
  connect(replace_these, &QPushButton::clicked, this, &SearchPanel::ReplaceTicked);

  connect(find_, &QPushButton::clicked, this, &SearchPanel::Start);
  connect(text_, &QLineEdit::returnPressed, this, &SearchPanel::Start);
  connect(stop_, &QPushButton::clicked, this, &SearchPanel::Stop);
  connect(site_root, &QPushButton::clicked, this, [this] {
    if (!site_root_.isEmpty()) folder_->setText(site_root_);
  });
  connect(choose, &QPushButton::clicked, this, [this] {
    if (const std::optional<QString> folder = desktop_.AskFolder(this, folder_->text())) {
      folder_->setText(*folder);
    }
  });
  connect(hits_, &QTreeWidget::itemActivated, this, &SearchPanel::Activate);
}

SearchPanel::~SearchPanel() {
  cancelled_ = true;
  if (worker_.joinable()) worker_.join();
}

void SearchPanel::Offer(const QString& folder, const QString& site_root,
                        const QString& selected_text) {
  site_root_ = site_root;
  if (!Running() && !folder.isEmpty()) folder_->setText(folder);
  if (!selected_text.isEmpty() && !selected_text.contains(u'\n')) text_->setText(selected_text);
  show();
  raise();
  text_->setFocus();
  text_->selectAll();
}

QStringList SearchPanel::FilesToSearch() const {
  const QString folder = QDir::cleanPath(folder_->text());
  const FolderScan scan = ScanFolder(folder, patterns_->text(), subfolders_->isChecked());
  // The site's own ignore= patterns, as the site check reads them.
  const QString root = SiteRootOf(JoinPath(folder, QStringLiteral("page")));
  const Site site(root, SiteOptions::Read(root));
  QStringList files;
  files.reserve(scan.files.size());
  for (const QString& relative : scan.files) {
    const QString path = JoinPath(folder, relative);
    if (!site.IsIgnored(path)) files.append(path);
  }
  return files;
}

void SearchPanel::Start() {
  Stop();
  const FindQuery query{text_->text(), regex_->isChecked(), match_case_->isChecked(),
                        whole_word_->isChecked()};
  QString error;
  const std::optional<QRegularExpression> expression = QueryExpression(query, &error);
  if (!expression) {
    if (!query.pattern.isEmpty()) desktop_.ShowMessage(this, error);
    return;
  }
  if (!QFileInfo(folder_->text()).isDir()) {
    desktop_.ShowMessage(this, Tr(Text::kNoSuchFolder).arg(folder_->text()));
    return;
  }
  hits_->clear();
  summary_ = {};
  expression_ = expression;
  regex_searched_ = query.regex;
  searched_folder_ = QDir::cleanPath(folder_->text());
  const QStringList files = FilesToSearch();
  const quint64 generation = ++generation_;
  cancelled_ = false;
  finished_ = false;
  find_->setEnabled(false);
  stop_->setEnabled(true);
  ShowCount();
  QPointer<SearchPanel> panel(this);
  worker_ = std::thread(
      [this, panel, files, expression = *expression, generation, prefilter = PrefilterOf(query)] {
        const FindSummary summary = FindInFiles(
            files, expression,
            [panel, generation](const FileHits& page) {
              QMetaObject::invokeMethod(
                  panel,
                  [panel, generation, page] {
                    if (panel) panel->Receive(generation, page);
                  },
                  Qt::QueuedConnection);
            },
            &cancelled_, prefilter);
        finished_ = true;
        QMetaObject::invokeMethod(
            panel,
            [panel, generation, summary] {
              if (panel) panel->Finish(generation, summary);
            },
            Qt::QueuedConnection);
      });
}

void SearchPanel::Stop() {
  cancelled_ = true;
  if (worker_.joinable()) worker_.join();
}

void SearchPanel::WaitIdle() {
  if (worker_.joinable()) worker_.join();
  QCoreApplication::sendPostedEvents(this);
}

void SearchPanel::Receive(quint64 generation, const FileHits& page) {
  if (generation != generation_) return;
  summary_.hits += int(page.hits.size());
  ++summary_.pages;
  const QString shown = QDir(searched_folder_).relativeFilePath(page.path);
  auto* item =
      new QTreeWidgetItem(hits_, {QStringLiteral("%1 (%2)").arg(shown).arg(page.hits.size())});
  item->setData(0, kPathRole, page.path);
  item->setToolTip(0, page.path);
  QList<QTreeWidgetItem*> rows;
  rows.reserve(page.hits.size());
  for (const FileHit& hit : page.hits) {
    // A long line (a minified page) is shown around its match.
    const qsizetype from = std::max<qsizetype>(0, hit.column - 1 - kShownLine / 3);
    const QString prefix = QStringLiteral("%1: ").arg(hit.line);
    QString text = hit.text.mid(from, kShownLine);
    if (from > 0) text.prepend(u'…');
    text.replace(u'\t', u' ');
    auto* row = new QTreeWidgetItem({prefix + text});
    row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
    row->setCheckState(0, Qt::Checked);
    row->setData(0, kPathRole, page.path);
    row->setData(0, kLineRole, hit.line);
    row->setData(0, kColumnRole, hit.column);
    row->setData(0, kLengthRole, hit.length);
    row->setData(0, kShownColumnRole,
                 int(prefix.size() + (hit.column - 1 - from) + (from > 0 ? 1 : 0)));
    rows.append(row);
  }
  item->addChildren(rows);
  item->setExpanded(true);
  ShowCount();
}

void SearchPanel::Finish(quint64 generation, const FindSummary& summary) {
  if (generation != generation_) return;
  if (worker_.joinable()) worker_.join();
  summary_.searched = summary.searched;
  summary_.skipped = summary.skipped;
  summary_.cancelled = summary.cancelled;
  find_->setEnabled(true);
  stop_->setEnabled(false);
  ShowCount();
}

void SearchPanel::ShowCount() {
  const bool running = !finished_;
  QString text =
      Tr(running ? Text::kHitCountRunning : Text::kHitCount).arg(summary_.hits).arg(summary_.pages);
  if (!running && summary_.skipped > 0)
    text += QStringLiteral("; ") + Tr(Text::kFilesSkipped).arg(summary_.skipped);
  if (!running && summary_.cancelled) text += u' ' + Tr(Text::kFindStopped);
  count_->setText(text);
}

void SearchPanel::Activate(QTreeWidgetItem* item) {
  if (item == nullptr || !item->data(0, kLineRole).isValid()) return;
  emit OpenAt(item->data(0, kPathRole).toString(), item->data(0, kLineRole).toInt(),
              item->data(0, kColumnRole).toInt(), item->data(0, kLengthRole).toInt());
}

QMap<QString, QList<int>> SearchPanel::TickedLines() const {
  QMap<QString, QList<int>> lines;
  for (int page = 0; page < hits_->topLevelItemCount(); ++page) {
    const QTreeWidgetItem* item = hits_->topLevelItem(page);
    for (int i = 0; i < item->childCount(); ++i) {
      const QTreeWidgetItem* hit = item->child(i);
      if (hit->checkState(0) != Qt::Checked) continue;
      QList<int>& those = lines[hit->data(0, kPathRole).toString()];
      const int line = hit->data(0, kLineRole).toInt();
      if (!those.contains(line)) those.append(line);  // a line's matches are replaced together
    }
  }
  return lines;
}

void SearchPanel::ReplaceTicked() {
  Stop();
  if (!expression_ || TickedLines().isEmpty()) return;
  batch_->Run(Tr(Text::kReplacingHits));
  // The list shows what the pages hold now.
  Start();
}

bool SearchPanel::Step(bool backward) {
  QList<QTreeWidgetItem*> all;
  for (int page = 0; page < hits_->topLevelItemCount(); ++page) {
    QTreeWidgetItem* item = hits_->topLevelItem(page);
    for (int i = 0; i < item->childCount(); ++i) all.append(item->child(i));
  }
  if (all.isEmpty()) return false;
  qsizetype at = all.indexOf(hits_->currentItem());
  if (at < 0) {
    at = backward ? all.size() - 1 : 0;
  } else {
    at = (at + (backward ? all.size() - 1 : 1)) % all.size();
  }
  hits_->setCurrentItem(all[at]);
  Activate(all[at]);
  return true;
}
