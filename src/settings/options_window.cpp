#include "settings/options_window.h"
#include "names/texts.h"

#include <QDir>

#include <QComboBox>

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "generators/colour.h"
#include "platform/desktop.h"
#include "platform/shell_verbs.h"
#include "settings/language_applier.h"
#include "settings/settings_record.h"
#include "settings/settings_target.h"

namespace {

QPushButton* NamedButton(const QString& name, const QString& text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

OptionsWindow::OptionsWindow(Desktop& desktop, SettingsRecord& settings,
                             SettingsTarget& main_window, LanguageApplier& language,
                             const AppPaths& paths, QWidget* parent)
    : QDialog(parent),
      desktop_(desktop),
      settings_(settings),
      main_window_(main_window),
      language_(language),
      paths_(paths),
      pages_(new QTabWidget(this)),
      save_before_preview_(new QCheckBox(this)),
      built_in_preview_(new QCheckBox(this)) {
  setObjectName(kName.toString());
  setWindowFlag(Qt::Tool);
  pages_->setObjectName(QStringLiteral("PageControl1"));
  save_before_preview_->setObjectName(QStringLiteral("CheckBox1"));
  built_in_preview_->setObjectName(QStringLiteral("CheckBox2"));

  pages_->addTab(MainPage(), QString());
  pages_->addTab(EditorPage(), QString());
  QWidget* language_page = LanguagePage();
  pages_->addTab(language_page, QString());
  BindText(pages_, [tabs = pages_] {
    tabs->setTabText(0, Tr(Text::kOptionsMainTab));
    tabs->setTabText(1, Tr(Text::kOptionsEditorTab));
    tabs->setTabText(2, Tr(Text::kOptionsLanguageTab));
  });
  pages_->setCurrentWidget(language_page);

  QPushButton* ok = NamedButton(QStringLiteral("Button1"), QString(), this);
  ShowText(ok, &QPushButton::setText, Text::kOk);
  QPushButton* reload = NamedButton(QStringLiteral("Button2"), QString(), this);
  connect(ok, &QPushButton::clicked, this, [this] {
    if (SaveSettings()) accept();
  });
  connect(reload, &QPushButton::clicked, this, [this] {
    if (LoadSettings(false)) reject();
  });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(reload);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

// The preview choices and the buttons that register the program's edit verbs.
QWidget* OptionsWindow::MainPage() {
  auto* main_page = new QWidget;
  main_page->setObjectName(QStringLiteral("TabSheet1"));
  auto* main_layout = new QVBoxLayout(main_page);
  main_layout->addWidget(save_before_preview_);
  main_layout->addWidget(built_in_preview_);
  const std::pair<const char16_t*, const char16_t*> verbs[] = {
      {u"Button8", u"lstfile"}, {u"Button6", u"txtfile"}, {u"Button5", u"htmlfile"}};
  for (const auto& [name, type] : verbs) {
    QPushButton* button = NamedButton(QString::fromUtf16(name), QString(), main_page);
    main_layout->addWidget(button);
    const QString file_type = QString::fromUtf16(type);
    const QString caption = file_type == u"lstfile" ? Tr(Text::kEditListWith) : Tr(Text::kEditWith);
    connect(button, &QPushButton::clicked, this,
            [this, file_type, caption] { RegisterVerb(file_type, caption); });
  }
  main_layout->addStretch(1);
  return main_page;
}

// The editor's font and background colour.
void OptionsWindow::SetExpandWithTab(bool on) {
  const QSignalBlocker quiet(expand_with_tab_);
  expand_with_tab_->setChecked(on);
}

QWidget* OptionsWindow::EditorPage() {
  auto* editor_page = new QWidget;
  editor_page->setObjectName(QStringLiteral("TabSheet2"));
  auto* editor_layout = new QVBoxLayout(editor_page);
  QPushButton* font_button = NamedButton(QStringLiteral("Button3"), Tr(Text::kFont), editor_page);
  QPushButton* colour_button =
      NamedButton(QStringLiteral("Button4"), Tr(Text::kBackgroundColour), editor_page);
  editor_layout->addWidget(font_button);
  editor_layout->addWidget(colour_button);
  expand_with_tab_ = new QCheckBox(editor_page);
  expand_with_tab_->setObjectName(QStringLiteral("ExpandWithTab"));
  expand_with_tab_->setChecked(true);
  ShowText(expand_with_tab_, &QCheckBox::setText, Text::kExpandWithTab);
  connect(expand_with_tab_, &QCheckBox::toggled, this, &OptionsWindow::ExpandWithTabChanged);
  editor_layout->addWidget(expand_with_tab_);
  editor_layout->addStretch(1);
  connect(font_button, &QPushButton::clicked, this, [this] {
    // The record has no place for a font; the program's own store keeps it.
    if (auto font = desktop_.PickFont(this, main_window_.EditorFont())) {
      main_window_.SetEditorFont(*font);
      emit EditorFontChosen(*font);
    }
  });
  connect(colour_button, &QPushButton::clicked, this, [this] {
    if (auto colour = desktop_.PickSystemColour(this, ColourOf(dialog_colour_))) {
      dialog_colour_ = ColourValue(colour->red(), colour->green(), colour->blue());
    }
  });
  return editor_page;
}

// The language files at hand, and a button to choose another.
QWidget* OptionsWindow::LanguagePage() {
  auto* language_page = new QWidget;
  language_page->setObjectName(QStringLiteral("TabSheet3"));
  auto* language_layout = new QVBoxLayout(language_page);
  QPushButton* choose = NamedButton(QStringLiteral("Button7"), QString(), language_page);
  auto* memo = new QPlainTextEdit(language_page);
  memo->setObjectName(QStringLiteral("Memo1"));
  memo->setReadOnly(true);
  memo->setMaximumHeight(80);
  // The languages at hand: those shipped and any the user added.
  languages_ = new QComboBox(language_page);
  QComboBox* languages = languages_;
  languages->setObjectName(QStringLiteral("LanguageList"));
  languages->addItems(paths_.LanguageNames());
  language_layout->addWidget(languages);
  language_layout->addWidget(choose);
  language_layout->addWidget(memo);
  connect(choose, &QPushButton::clicked, this, &OptionsWindow::ChooseLanguageFile);
  connect(languages, &QComboBox::activated, this, [this, languages](int index) {
    UseLanguageFile(paths_.LanguageFile(languages->itemText(index)));
  });
  return language_page;
}

QString OptionsWindow::SettingsPath() const {
  return paths_.SettingsFolder() + QStringLiteral("/htmled.ini");
}

bool OptionsWindow::LoadSettings(bool at_start_up) {
  const SettingsRead read = ReadSettingsFile(SettingsPath());
  if (read.record) {
    Apply(*read.record);
    return true;
  }
  // A missing file is a first start, not an error: the defaults hold until the first save.
  if (!read.Missing()) desktop_.ShowError(this, read.error->message);
  if (at_start_up) Apply(SettingsRecord::Defaults());
  return read.Missing();
}

void OptionsWindow::Apply(const SettingsRecord& record) {
  SettingsRecord& settings = settings_;
  settings = record;
  // Only ever checks the box, and only ever hides the panel.
  if (record.save_before_preview != 0) save_before_preview_->setChecked(true);
  if (record.file_panel_shown == 0) main_window_.HideFilePanel();
  main_window_.SetWordWrap(record.word_wrap_on != 0);
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  QList<QRect> screens;
  for (const QScreen* each : QGuiApplication::screens()) screens.append(each->availableGeometry());
  // The stored point is the frame's, as move() takes it.
  main_window_.MoveWindow(KeepOnScreens(QPoint(PlaceWindowLeft(record.window_left, screen.width()),
                                               PlaceWindowTop(record.window_top, screen.height())),
                                        screens,
                                        QGuiApplication::primaryScreen()->availableGeometry()));
  built_in_preview_->setChecked(record.preview_in_built_in_window == 1);
  // The record names a file in the program folder; a name with a path in it is refused
  // like a missing file rather than read from elsewhere.
  const QString name = record.LanguageFileName();
  language_refused_ =
      name.contains(u'/') || name.contains(u'\\') || name.contains(QStringLiteral(".."));
  language_path_ = language_refused_ ? name : paths_.LanguageFile(name);
  languages_->setCurrentText(name);
  dialog_colour_ = record.editor_colour;
  main_window_.SetEditorColour(ColourOf(record.editor_colour));
}

bool OptionsWindow::SaveSettings() {
  SettingsRecord& settings = settings_;
  settings.save_before_preview = save_before_preview_->isChecked() ? 1 : 0;
  settings.preview_in_built_in_window = built_in_preview_->isChecked() ? 1 : 0;
  settings.editor_colour = dialog_colour_;
  main_window_.SetEditorColour(ColourOf(dialog_colour_));
  QDir().mkpath(paths_.SettingsFolder());
  if (const std::optional<IoError> error = WriteSettingsFile(SettingsPath(), settings)) {
    desktop_.ShowError(this, error->message);
    return false;
  }
  return true;
}

void OptionsWindow::ChooseLanguageFile() {
  const auto choice =
      desktop_.AskOpenPath(this, {QStringLiteral("*.lng (*.lng)")}, 1, language_path_);
  if (!choice || choice->path.trimmed().isEmpty()) return;
  QString path = choice->path;
  if (!path.contains(u'.')) path += QStringLiteral(".lng");
  UseLanguageFile(path);
}

void OptionsWindow::UseLanguageFile(const QString& path) {
  language_path_ = path;
  languages_->setCurrentText(QFileInfo(path).fileName());
  language_refused_ = false;
  // A name the record cannot hold is applied now but not remembered.
  settings_.SetLanguageFileName(QFileInfo(path).fileName());
  language_.ApplyFile(path);
}

void OptionsWindow::RegisterVerb(const QString& file_type, const QString& caption) {
  const QString error =
      RegisterEditVerb(file_type, caption, QCoreApplication::applicationFilePath());
  if (!error.isEmpty()) desktop_.ShowError(this, error);
}
