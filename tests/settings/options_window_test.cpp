#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "app/application.h"
#include "app/main_window.h"
#include "app/save_prompt_window.h"
#include "editor/code_editor.h"
#include "html/html_names.h"
#include "platform/shell_verbs.h"
#include "settings/about_window.h"
#include "settings/options_window.h"
#include "settings/settings_record.h"
#include "support/fake_desktop.h"
#include "support/window_fixture.h"

namespace {

// Every text the windows show: captions, titles, tool tips, place holders, menus.
QStringList ShownTexts(const std::vector<QWidget*>& windows) {
  QStringList texts;
  for (QWidget* window : windows) {
    texts << window->windowTitle();
    for (QWidget* widget : window->findChildren<QWidget*>()) {
      texts << widget->toolTip();
      if (auto* label = qobject_cast<QLabel*>(widget)) texts << label->text();
      if (auto* button = qobject_cast<QAbstractButton*>(widget)) texts << button->text();
      if (auto* box = qobject_cast<QGroupBox*>(widget)) texts << box->title();
      if (auto* field = qobject_cast<QLineEdit*>(widget)) texts << field->placeholderText();
      if (auto* menu = qobject_cast<QMenu*>(widget)) texts << menu->title();
      if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
        for (int i = 0; i < tabs->count(); ++i) texts << tabs->tabText(i);
      }
    }
    for (QAction* action : window->findChildren<QAction*>()) texts << action->text();
  }
  texts.removeAll(QString());
  return texts;
}

// A word of the other language: Cyrillic in English; in Russian a Latin word that is no
// name of a file, tag, key, encoding or the program.
bool Foreign(const QString& text, bool russian) {
  static const QRegularExpression kCyrillic(QStringLiteral("\\p{Cyrillic}"));
  if (!russian) return text.contains(kCyrillic);
  static const QRegularExpression kNames(QStringLiteral(
      "<[^>]*>|\\*?\\.[A-Za-z]+|[A-Za-z]+:[^ ]*|/[^ ]*|[A-Za-z]+-[0-9]+[A-Za-z0-9-]*|"
      "\\S+@\\S+|[\\w-]+(\\.[\\w-]+)+/\\S*"));
  static const QRegularExpression kWord(QStringLiteral("[A-Za-z]*[a-z][A-Za-z]*"));
  // Names of keys and encodings, the pop-up menu's named symbols and the captions the
  // windows keep in every language.
  static const QStringList kAllowed = {
      "Brindlemark",     "Ctrl",      "Shift",       "Alt",   "Space",      "Registered",
      "Copyright",       "CheckBox",  "RadioButton", "Media", "Windows",    "JS",
      "JavaScripts",     "Clipboard", "Height",      "Width", "Background", "Bordercolorlight",
      "Bordercolordark", "Del",       "Cl",          "Ok",    "Main",       "Editor",
      "Language",        "BGColor",   "Text",        "Link",  "VLink",      "ALink",
      "Untitled",        "Emmet"};  // an untitled page's caption keeps the name it was given
  // Element, attribute and property names are tag names too.
  static const QStringList kMarkup = CompletionNames({CompletionKind::kElement, {}, 0}) +
                                     CompletionNames({CompletionKind::kAttribute, "img", 0}) +
                                     CompletionNames({CompletionKind::kAttribute, "hr", 0}) +
                                     CompletionNames({CompletionKind::kAttribute, "area", 0}) +
                                     CompletionNames({CompletionKind::kCssProperty, {}, 0});
  if (kMarkup.contains(text)) return false;
  QString words = text;
  words.remove(kNames);
  for (const auto& match : kWord.globalMatch(words)) {
    if (match.capturedLength() > 1 && !kAllowed.contains(match.captured())) return true;
  }
  return false;
}

}  // namespace

// The settings file, the options and about windows and the language files, at window level.
class OptionsWindowTest : public WindowTest {
  Q_OBJECT

 public:
  OptionsWindowTest() : WindowTest(Launch::kByTest) {}

 private slots:

  void FirstStartUsesDefaultsAndWritesAtClose();
  void BadSettingsFileShowsItsErrorAndGoesOn_data();
  void BadSettingsFileShowsItsErrorAndGoesOn();
  void ZeroRecordHidesThePanelAndNamesNoLanguage();
  void OkWritesTheRecordKeepingReservedBytes();
  void ReloadRestoresTheStoredOptions();
  void SaveIntoAFolderThatRefusesKeepsTheWindowOpen();
  void SwitchesLanguageAtOnce();
  void EachLanguageShowsOnlyItsOwnWords();
  void RemembersOnlyNamesThatFit_data();
  void RemembersOnlyNamesThatFit();
  void ShortLanguageFileStopsAtTheMissingLine();
  void MissingLanguageFileKeepsBuiltInTexts();
  void RegistersEditVerbs();
  void AboutOpensItsAddresses();

 private:
  void Start();
  OptionsWindow& Options() { return app_->Options(); }
  template <typename T>
  T* Control(QWidget* window, const char* name) {
    return window->findChild<T*>(name);
  }
};

void OptionsWindowTest::Start() {
  app_ = std::make_unique<Application>(*desktop_, AppPaths::InFolder(dir_->path()));
  app_->Start(QString());
}

void OptionsWindowTest::FirstStartUsesDefaultsAndWritesAtClose() {
  Start();
  QVERIFY2(desktop_->errors.isEmpty(), qPrintable(desktop_->errors.join('\n')));
  QVERIFY(Main().FilePanelShown());
  QVERIFY(!Main().WordWrapOn());
  QCOMPARE(Main().EditorWidget()->palette().color(QPalette::Base), QColor(Qt::white));
  QVERIFY(Control<QCheckBox>(&Options(), "CheckBox2")->isChecked());
  QCOMPARE(Options().LanguagePath(), dir_->filePath("english.lng"));
  QCOMPARE(Main().windowTitle(), QString("Brindlemark : Untitled"));
  QCOMPARE(Main().Commands().MenuItem("dsfg1")->text(), QString("&File"));
  QCOMPARE(Main().Commands().Button("SpeedButton8")->toolTip(), QString("New page"));
  QCOMPARE(Main().Commands().MenuItem("N61")->text(), QString("New page"));
  QCOMPARE(Control<QPushButton>(&Options(), "Button5")->text(),
           QString("Edit HTML files with Brindlemark"));
  QCOMPARE(Control<QTabWidget>(&Options(), "PageControl1")->currentWidget()->objectName(),
           QString("TabSheet3"));
  auto* languages = Control<QComboBox>(&Options(), "LanguageList");
  QCOMPARE(languages->count(), 2);
  QCOMPARE(languages->currentText(), QString("english.lng"));
  QVERIFY(!QFile::exists(dir_->filePath("htmled.ini")));
  QVERIFY(Main().close());
  const auto record = SettingsRecord::FromBytes(Read("htmled.ini"));
  QVERIFY(record);
  QCOMPARE(Read("htmled.ini").size(), 44);
  QCOMPARE(record->LanguageFileName(), QString("english.lng"));
  QCOMPARE(record->file_panel_shown, 1);
  QCOMPARE(record->editor_colour, 0x00FFFFFFu);
  QCOMPARE(record->window_left, Main().geometry().x());
}

void OptionsWindowTest::BadSettingsFileShowsItsErrorAndGoesOn_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addRow("empty") << QByteArray();
  QTest::addRow("43 bytes") << QByteArray(43, '\x01');
}

void OptionsWindowTest::BadSettingsFileShowsItsErrorAndGoesOn() {
  QFETCH(QByteArray, bytes);
  Write("htmled.ini", bytes);
  Start();
  QCOMPARE(desktop_->errors.size(), 1);
  QVERIFY(desktop_->errors.constFirst().contains("htmled.ini"));
  // Start-up went on with the defaults: language applied, new page made.
  QCOMPARE(Main().Commands().MenuItem("dsfg1")->text(), QString("&File"));
  QCOMPARE(Main().Editor().LineCount(), 8);
  QVERIFY(Main().FilePanelShown());
}

void OptionsWindowTest::ZeroRecordHidesThePanelAndNamesNoLanguage() {
  Write("htmled.ini", QByteArray(44, '\0'));
  Start();
  QVERIFY(!Main().FilePanelShown());
  QVERIFY(!Main().Commands().Button("SpeedButton1")->isEnabled());
  QCOMPARE(Main().EditorWidget()->palette().color(QPalette::Base), QColor(Qt::black));
  QVERIFY(!Control<QCheckBox>(&Options(), "CheckBox1")->isChecked());
  QVERIFY(!Control<QCheckBox>(&Options(), "CheckBox2")->isChecked());
  QCOMPARE(desktop_->errors.size(), 1);  // the language file has no name
  QVERIFY(desktop_->errors.constFirst().startsWith("Cannot open file"));
  QCOMPARE(Main().Editor().LineCount(), 8);
}

void OptionsWindowTest::OkWritesTheRecordKeepingReservedBytes() {
  SettingsRecord stored = SettingsRecord::Defaults();
  stored.reserved1 = {0x11, 0x22, 0x33};
  stored.reserved2 = {0x44, 0x55, 0x66, 0x77};
  Write("htmled.ini", stored.ToBytes());
  Start();
  desktop_->colour_answers.push_back(QColor(0x12, 0x34, 0x56));
  desktop_->modal_scripts.push_back([](QDialog* window) {
    window->findChild<QCheckBox*>("CheckBox1")->setChecked(true);
    window->findChild<QCheckBox*>("CheckBox2")->setChecked(false);
    window->findChild<QPushButton*>("Button4")->click();
    window->findChild<QPushButton*>("Button1")->click();
  });
  QTest::mouseClick(Main().Commands().Button("SpeedButton19"), Qt::LeftButton);
  QCOMPARE(desktop_->modal_windows, QStringList{"Form6"});
  SettingsRecord expected = stored;
  expected.save_before_preview = 1;
  expected.preview_in_built_in_window = 0;
  expected.editor_colour = 0x00563412;
  expected.window_left = Main().Settings().window_left;
  expected.window_top = Main().Settings().window_top;
  QCOMPARE(Read("htmled.ini"), expected.ToBytes());
  QCOMPARE(Main().EditorWidget()->palette().color(QPalette::Base), QColor(0x12, 0x34, 0x56));
}

void OptionsWindowTest::ReloadRestoresTheStoredOptions() {
  SettingsRecord stored = SettingsRecord::Defaults();
  stored.word_wrap_on = 1;
  Write("htmled.ini", stored.ToBytes());
  Start();
  QVERIFY(Main().WordWrapOn());
  Main().Commands().Run(Command::kWordWrap);
  QVERIFY(!Main().WordWrapOn());
  desktop_->modal_scripts.push_back([](QDialog* window) {
    window->findChild<QCheckBox*>("CheckBox1")->setChecked(true);
    window->findChild<QCheckBox*>("CheckBox2")->setChecked(false);
    window->findChild<QPushButton*>("Button2")->click();
  });
  desktop_->RunModal(&Options());
  QVERIFY(Main().WordWrapOn());
  QVERIFY(Control<QCheckBox>(&Options(), "CheckBox2")->isChecked());
  // The stored option is 0, but loading only ever checks this box.
  QVERIFY(Control<QCheckBox>(&Options(), "CheckBox1")->isChecked());
}

void OptionsWindowTest::SaveIntoAFolderThatRefusesKeepsTheWindowOpen() {
  // A program "folder" that is a file: nothing can be created inside it, even as root.
  Write("not a folder", "x");
  app_ =
      std::make_unique<Application>(*desktop_, AppPaths::InFolder(dir_->filePath("not a folder")));
  app_->Start(QString());
  desktop_->errors.clear();
  desktop_->modal_scripts.push_back(FakeDesktop::Press("Button1"));
  QCOMPARE(desktop_->RunModal(&Options()), int(QDialog::Rejected));
  QCOMPARE(desktop_->errors.size(), 1);
  QVERIFY(desktop_->errors.constFirst().contains("htmled.ini"));
}

// Both ways between the shipped languages: no window, menu or tool tip shows a word of the
// other language.
void OptionsWindowTest::EachLanguageShowsOnlyItsOwnWords() {
  Start();
  for (const char* language : {"russian", "english"}) {
    desktop_->open_answers.push_back(Desktop::FileChoice{dir_->filePath(language), 1});
    Control<QPushButton>(&Options(), "Button7")->click();
    const bool russian = QByteArray(language) == "russian";
    QStringList foreign;
    for (const QString& text : ShownTexts(app_->Windows())) {
      if (Foreign(text, russian)) foreign << text;
    }
    foreign.removeDuplicates();
    for (const QString& text : std::as_const(foreign))
      qWarning("%s: %s", language, qPrintable(text));
    QVERIFY(foreign.isEmpty());
  }
}

void OptionsWindowTest::SwitchesLanguageAtOnce() {
  Start();
  // Every menu shows the letter Alt opens it with, each its own, in both languages.
  auto marked_letters = [this] {
    QSet<QChar> letters;
    int menus = 0;
    for (QAction* menu : Main().menuBar()->actions()) {
      const qsizetype amp = menu->text().indexOf(u'&');
      if (menu->menu() == nullptr || amp < 0) continue;
      ++menus;
      letters.insert(menu->text().at(amp + 1).toCaseFolded());
    }
    return letters.size() == menus && menus == Main().menuBar()->actions().size();
  };
  QVERIFY(marked_letters());
  desktop_->open_answers.push_back(Desktop::FileChoice{dir_->filePath("russian"), 1});
  Control<QPushButton>(&Options(), "Button7")->click();
  QVERIFY(desktop_->errors.isEmpty());
  QCOMPARE(Options().LanguagePath(), dir_->filePath("russian.lng"));
  QCOMPARE(Main().Settings().LanguageFileName(), QString("russian.lng"));
  QCOMPARE(Main().Commands().MenuItem("dsfg1")->text(), QString("&Файл"));
  QVERIFY(marked_letters());
  QCOMPARE(Main().Commands().MenuItem("N92")->text(), QString("HTML в текст"));
  QCOMPARE(Main().Session().UntitledName(), QString("Без имени"));
  QCOMPARE(Control<QPushButton>(&app_->SavePrompt(), "BitBtn1")->text(), QString("Да"));
  QCOMPARE(Control<QLabel>(&app_->About(), "Label6")->text(), QString("Почта:"));
  QCOMPARE(Options().windowTitle(), QString("Настройки"));
  // The caption built from the old untitled name stays until the name is set again, and
  // the page is still untitled: saving asks for a name.
  QCOMPARE(Main().windowTitle(), QString("Brindlemark : Untitled"));
  QVERIFY(!Main().Session().SaveDocument());
  QCOMPARE(desktop_->save_dialogs, 1);
}

void OptionsWindowTest::RemembersOnlyNamesThatFit_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<bool>("remembered");
  QTest::addRow("cyrillic name") << "русский.lng" << true;
  QTest::addRow("21 characters") << "a_very_long_name1.lng" << false;
}

void OptionsWindowTest::RemembersOnlyNamesThatFit() {
  QFETCH(QString, name);
  QFETCH(bool, remembered);
  QFile::copy(dir_->filePath("russian.lng"), dir_->filePath(name));
  Start();
  desktop_->open_answers.push_back(Desktop::FileChoice{dir_->filePath(name), 1});
  Options().ChooseLanguageFile();
  QCOMPARE(Main().Commands().MenuItem("dsfg1")->text(), QString("&Файл"));
  QCOMPARE(Main().Settings().LanguageFileName(), remembered ? name : QString("english.lng"));
}

void OptionsWindowTest::ShortLanguageFileStopsAtTheMissingLine() {
  QByteArray bytes;
  for (int i = 0; i < 106; ++i) bytes += "T" + QByteArray::number(i) + "\n";
  Write("short.lng", bytes);
  SettingsRecord stored = SettingsRecord::Defaults();
  stored.SetLanguageFileName("short.lng");
  Write("htmled.ini", stored.ToBytes());
  Start();
  QCOMPARE(desktop_->errors, QStringList{"List index out of bounds (106)"});
  QCOMPARE(Main().findChild<QLabel*>("Label2")->text(), QString("T0"));
  QCOMPARE(Main().Commands().Button("SpeedButton5")->toolTip(), QString("T39"));
  QCOMPARE(Main().Commands().MenuItem("dsfg1")->text(), QString());
  QCOMPARE(Control<QPushButton>(&app_->SavePrompt(), "BitBtn1")->text(), QString());
  QCOMPARE(Main().windowTitle(), QString("Brindlemark : T19"));
}

void OptionsWindowTest::MissingLanguageFileKeepsBuiltInTexts() {
  QFile::remove(dir_->filePath("english.lng"));
  Start();
  QCOMPARE(desktop_->errors, QStringList{"Cannot open file " + dir_->filePath("english.lng")});
  QCOMPARE(Control<QPushButton>(&Options(), "Button3")->text(), QString("Font"));
  QCOMPARE(Control<QPushButton>(&Options(), "Button4")->text(), QString("Background colour"));
  QCOMPARE(Main().Commands().MenuItem("N84")->text(), QString(" "));
  QCOMPARE(Main().Editor().LineCount(), 8);
}

void OptionsWindowTest::RegistersEditVerbs() {
  Start();
  for (const char* name : {"Button5", "Button6", "Button8"}) {
    QTest::mouseClick(Control<QPushButton>(&Options(), name), Qt::LeftButton);
  }
  QVERIFY(desktop_->errors.isEmpty());
  const QString data = dir_->filePath("data");
  const QString html =
      QString::fromUtf8(Read("data/applications/brindlemark-edit-htmlfile.desktop"));
  QVERIFY(html.contains("Name=Edit with Brindlemark\n"));
  QVERIFY(html.contains("MimeType=text/html;\n"));
  QVERIFY(html.contains("Exec=" + ExecLine(QCoreApplication::applicationFilePath())));
  QVERIFY(
      Read("data/applications/brindlemark-edit-txtfile.desktop").contains("MimeType=text/plain;"));
  QVERIFY(Read("data/applications/brindlemark-edit-lstfile.desktop")
              .contains("Name=Edit list with Brindlemark"));
  QVERIFY(Read("data/mime/packages/brindlemark-lst.xml").contains("*.lst"));
  QCOMPARE(DesktopEntryPath("htmlfile"), data + "/applications/brindlemark-edit-htmlfile.desktop");
}

void OptionsWindowTest::AboutOpensItsAddresses() {
  Start();
  QTest::mouseClick(Main().Commands().Button("SpeedButton20"), Qt::LeftButton);
  AboutWindow& about = app_->About();
  QVERIFY(about.isVisible());
  QTest::mouseClick(Control<QLabel>(&about, "Label5"), Qt::LeftButton);
  QTest::mouseClick(Control<QLabel>(&about, "Label2"), Qt::LeftButton);
  Main().Commands().MenuItem("N74")->trigger();
  QCOMPARE(desktop_->opened.size(), 3);
  QVERIFY(desktop_->opened[0].startsWith("mailto:"));
  QVERIFY(desktop_->opened[1].startsWith("https://"));
  // No placeholder addresses.
  for (const QString& address : desktop_->opened)
    QVERIFY2(!address.contains(".example"), qPrintable(address));
  QVERIFY(desktop_->opened[2].endsWith("newversion.htm"));
  QVERIFY(desktop_->messages.isEmpty());
  desktop_->opens = false;  // no browser: said, with the address
  Main().Commands().MenuItem("N74")->trigger();
  QVERIFY(desktop_->messages.constLast().contains("newversion.htm"));
  QTest::mouseClick(Control<QPushButton>(&about, "Button1"), Qt::LeftButton);
  QVERIFY(!about.isVisible());
}

QTEST_MAIN(OptionsWindowTest)
#include "options_window_test.moc"
