#include "names/texts.h"

#include <QHash>
#include <iterator>

namespace {

struct TextRow {
  Text text;
  const char16_t* english;
  const char16_t* russian;
};

constexpr TextRow kRows[] = {
    {Text::kManualMissing, u"The manual is missing: %1 was not found.",
     u"Нет справки: файл %1 не найден."},
    {Text::kUndoingLastRun, u"Undoing the last batch run...",
     u"Отмена последней пакетной обработки..."},
    {Text::kNoRunToUndo, u"There is no batch run to undo.", u"Нет пакетной обработки для отмены."},
    {Text::kRunUndone, u"Batch run undone: %1 file(s) restored.",
     u"Пакетная обработка отменена: восстановлено файлов: %1."},
    {Text::kChangedSinceRunList, u"\nChanged since the run and left alone:\n",
     u"\nИзменены после обработки и оставлены как есть:\n"},
    {Text::kCouldNotRestoreList, u"\nCould not be restored:\n", u"\nНе удалось восстановить:\n"},
    {Text::kBytes, u" bytes", u" Байт"},
    {Text::kEditMenu, u"&Edit", u"&Правка"},
    {Text::kFormatTip, u"Encoding and line ends; click to convert",
     u"Кодировка и концы строк; щёлкните, чтобы изменить"},
    {Text::kUtf8WithBom, u"UTF-8 with BOM", u"UTF-8 с меткой BOM"},
    {Text::kOtherEncodings, u"Other encodings", u"Другие кодировки"},
    {Text::kReopenWithEncoding, u"Reopen with encoding...", u"Открыть заново в кодировке..."},
    {Text::kGoToLineTitle, u"Go to line", u"Переход к строке"},
    {Text::kGoToLineLabel, u"Line (1 to %1):", u"Строка (от 1 до %1):"},
    {Text::kFindRegexTip, u"Regular expression", u"Регулярное выражение"},
    {Text::kFindCaseTip, u"Match case", u"Учитывать регистр"},
    {Text::kFindWordTip, u"Whole words only", u"Только слова целиком"},
    {Text::kFindPlaceholder, u"Find", u"Найти"},
    {Text::kReplacePlaceholder, u"Replace with", u"Заменить на"},
    {Text::kFindRegex, u"Regex", u"Выраж."},
    {Text::kFindCase, u"Case", u"Регистр"},
    {Text::kFindWord, u"Word", u"Слово"},
    {Text::kReplaceOne, u"Replace", u"Заменить"},
    {Text::kReplaceAll, u"Replace all", u"Заменить все"},
    {Text::kNextTip, u"Next (F3)", u"Следующее (F3)"},
    {Text::kPreviousTip, u"Previous (Shift+F3)", u"Предыдущее (Shift+F3)"},
    {Text::kOneMatch, u"1 match", u"1 совпадение"},
    {Text::kMatches, u"%1 matches", u"Совпадений: %1"},
    {Text::kNoMatch, u"No match", u"Не найдено"},
    {Text::kMatchesFromEnd, u"%1 matches (from the end)", u"Совпадений: %1 (с конца)"},
    {Text::kMatchesFromStart, u"%1 matches (from the start)", u"Совпадений: %1 (с начала)"},
    {Text::kReplacedCount, u"Replaced %1", u"Заменено: %1"},
    {Text::kSummary, u"Files read: %1, changed: %2, unchanged: %3.",
     u"Прочитано файлов: %1, изменено: %2, без изменений: %3."},
    {Text::kSummaryReplaced, u" Existing files replaced: %1.",
     u" Заменено существующих файлов: %1."},
    {Text::kSummaryFailedFiles, u" Failed: %1 files.", u" Ошибок: %1."},
    {Text::kSummaryCancelled, u" Cancelled.", u" Прервано."},
    {Text::kSummaryFailed, u" Failed: ", u" Ошибка: "},
    {Text::kNameStays, u"the name stays the same", u"имя не меняется"},
    {Text::kNameNotAllowed, u"the new name %1 is not allowed", u"новое имя %1 недопустимо"},
    {Text::kAlreadyExists, u"%1 already exists", u"%1 уже есть"},
    {Text::kCannotRename, u"Cannot rename %1 to %2.", u"Не удалось переименовать %1 в %2."},
    {Text::kOnlyLineEnds, u"Only line ends or the final line break change.",
     u"Меняются только концы строк или последний перевод строки."},
    {Text::kReplacesExisting, u"  (replaces existing file)", u"  (заменит существующий файл)"},
    {Text::kNewFile, u"  (new file)", u"  (новый файл)"},
    {Text::kReplacedExisting, u"  (replaced existing file)", u"  (заменён существующий файл)"},
    {Text::kLeftAlone, u"left alone: ", u"оставлен как есть: "},
    {Text::kFailedPrefix, u"failed: ", u"ошибка: "},
    {Text::kUndoThisRun, u"Undo this run", u"Отменить эту обработку"},
    {Text::kPreviewChanges, u"Preview changes", u"Просмотр изменений"},
    {Text::kProcessingFiles, u"Processing files...", u"Обработка файлов..."},
    {Text::kFilesFailedFirst, u"%1 files failed; the first: %2",
     u"Ошибок в файлах: %1; первая: %2"},
    {Text::kLookingAtFiles, u"Looking at files...", u"Просмотр файлов..."},
    {Text::kWouldFail, u"would fail: ", u"будет ошибка: "},
    {Text::kPreviewSummary, u"Preview: %1 file(s) would change.",
     u"Просмотр: изменится файлов: %1."},
    {Text::kPreviewReplacing, u" %1 replace existing files.", u" Из них заменят существующие: %1."},
    {Text::kPreviewFailing, u" %1 would fail.", u" С ошибкой: %1."},
    {Text::kAlreadyUndone, u"This run was already undone.", u"Эта обработка уже отменена."},
    {Text::kUndoingRun, u"Undoing the run...", u"Отмена обработки..."},
    {Text::kUndone, u"Undone: %1 file(s) restored.", u"Отменено: восстановлено файлов: %1."},
    {Text::kChangedSinceRun, u" Changed since the run, left alone: ",
     u" Изменены после обработки, оставлены как есть: "},
    {Text::kJournalKept, u" The run's journal is kept in ", u" Журнал обработки сохранён в "},
    {Text::kCancel, u"Cancel", u"Отмена"},
    {Text::kNoFilesToChange, u"No files to change were found.",
     u"Не найдено файлов для изменения."},
    {Text::kNoLinesToChange, u"No lines to delete or change were found.",
     u"Не найдены строки для удаления/изменения."},
    {Text::kNoTextToFind, u"There is no text to find!", u"Нет текста для поиска!!!"},
    {Text::kHasResultExtension, u"%1 already has the extension of the result; it is left alone.",
     u"%1 уже имеет расширение результата и оставлен как есть."},
    {Text::kNoMarkerLine, u"The template %1 has no marker line %2.",
     u"В шаблоне %1 нет строки с меткой %2."},
    {Text::kConvertNoFiles, u"ERROR", u"ERROR"},
    {Text::kReadingTitles, u"Reading titles...", u"Чтение заголовков..."},
    {Text::kPatternFilter, u"Pattern (*.pat)", u"Шаблон (*.pat)"},
    {Text::kCannotCreateJournal, u"Cannot create the undo journal in %1",
     u"Не удалось создать журнал отмены в %1"},
    {Text::kCannotWriteJournal, u"Cannot write the undo journal %1. %2",
     u"Не удалось записать журнал отмены %1. %2"},
    {Text::kRenamerTitle, u"Rename files", u"Переименование файлов"},
    {Text::kAddToListTip, u"Add the file to the list", u"Добавить файл к списку"},
    {Text::kRemoveFromListTip, u"Remove the file from the list", u"Удалить файл из списка"},
    {Text::kClearListTip, u"Clear the list", u"Очистить список"},
    {Text::kNoTargetPath, u"No folder to save the files in!",
     u"Не задан путь сохранения файлов!!!"},
    {Text::kMixedExtensions, u"And if the folder holds files with different extensions?",
     u"А если в каталоге есть файлы с разными расширениями?"},
    {Text::kNoTemplateMarker, u"The page has no template marker!",
     u"Отсутствует идентификатор шаблона!"},
    {Text::kNoFileName, u"No file name given", u"Не задано имя файла"},
    {Text::kSeriesBaseTip, u"Name of the saved files (without the number)",
     u"Имя сохраняемых файлов (без номера)"},
    {Text::kFrom, u"From", u"От"},
    {Text::kTo, u"to", u"до"},
    {Text::kMaxDigitsTip, u"Largest number of digits", u"Максимальное количество цифр"},
    {Text::kNoSuchLine, u"(no such line)", u"(нет такой строки)"},
    {Text::kEmptyLine, u"(an empty line)", u"(пустая строка)"},
    {Text::kVaries, u"Varies: ", u"Меняется: "},
    {Text::kNotRecordedPath, u"not a path this program records",
     u"этот путь не из журнала программы"},
    {Text::kJournalDamaged, u"the journal entry is damaged", u"запись журнала повреждена"},
    {Text::kJournalCopyUnreadable, u"the journaled copy is unreadable: ",
     u"копия в журнале не читается: "},
    {Text::kCannotDeleteMade, u"cannot delete the file the run made",
     u"не удалось удалить файл, созданный обработкой"},
    {Text::kRestoreCheckFailed, u"the file does not hold the journaled text after restoring",
     u"после восстановления в файле не тот текст, что в журнале"},
    {Text::kNotRecordedPathSuffix, u": not a path this program records",
     u": этот путь не из журнала программы"},
    {Text::kCannotRenameBack, u": cannot rename it back", u": не удалось вернуть прежнее имя"},
    {Text::kNotInEncoding,
     u"Characters the encoding %1 does not have: %2. They were written as &#N;.",
     u"Символов, которых нет в кодировке %1: %2. Они записаны как &#N;."},
    {Text::kOpenError, u"Error opening the file %1.", u"Ошибка открытия файла %1."},
    {Text::kReadOnlySaveAs, u"The file %1 is read-only. Save the page under another name?",
     u"Файл %1 только для чтения. Сохранить страницу под другим именем?"},
    {Text::kReloaded, u"%1 was changed on disk and has been reloaded.",
     u"%1 изменён на диске и загружен заново."},
    {Text::kChangedOnDiskOverwrite,
     u"The file %1 was changed on disk by another program since it was opened. Overwrite it with "
     u"this text?",
     u"Файл %1 изменён на диске другой программой после открытия. Записать поверх него этот "
     u"текст?"},
    {Text::kChangedOnDiskReload,
     u"The file %1 was changed on disk by another program. Reload it and lose the changes made "
     u"here?",
     u"Файл %1 изменён на диске другой программой. Загрузить его заново и потерять сделанные здесь "
     u"изменения?"},
    {Text::kReopenLoses, u"Reopen %1 as %2 and lose the changes made here?",
     u"Открыть %1 заново в кодировке %2 и потерять сделанные здесь изменения?"},
    {Text::kNothingToFind, u"Nothing to find", u"Нечего искать"},
    {Text::kDefaultTitle, u"Enter the page title", u"Введите название страницы"},
    {Text::kMissingParameter, u"One of the required values is missing.",
     u"Отсутствует один из обязательных параметров."},
    {Text::kPicturesFilter, u"All (*.jpg *.jpeg *.bmp *.png)", u"Все (*.jpg *.jpeg *.bmp *.png)"},
    {Text::kStylesFilter, u"Styles (*.css)", u"Стили (*.css)"},
    {Text::kTableTitle, u"Table generator", u"Генератор таблиц"},
    {Text::kChoose, u"Choose", u"Выбрать"},
    {Text::kCannotCreateFile, u"Cannot create file %1. %2", u"Не удалось создать файл %1. %2"},
    {Text::kCannotWriteFile, u"Cannot write file %1. %2", u"Не удалось записать файл %1. %2"},
    {Text::kNoFileNameGiven, u"Cannot create file \"\": no file name.",
     u"Не удалось создать файл \"\": нет имени файла."},
    {Text::kIsFolder, u"It is a folder, not a file.", u"Это папка, а не файл."},
    {Text::kTooLarge, u"File too large (%1 bytes, at most %2)",
     u"Файл слишком большой (%1 байт, не больше %2)"},
    {Text::kTooLargeStream, u"File too large (more than %1 bytes)",
     u"Файл слишком большой (больше %1 байт)"},
    {Text::kCannotOpenFile, u"Cannot open file %1. %2", u"Не удалось открыть файл %1. %2"},
    {Text::kReadOnlyFile, u"Cannot write file %1: the file is read-only.",
     u"Не удалось записать файл %1: файл только для чтения."},
    {Text::kPictureTooLarge,
     u"The picture claims %1 x %2 pixels; at most %3 megapixels are opened.",
     u"В картинке заявлено %1 x %2 точек; открываются не больше %3 мегапикселей."},
    {Text::kCannotCreateFolder, u"Cannot create folder %1", u"Не удалось создать папку %1"},
    {Text::kMixed, u" (mixed)", u" (смешанные)"},
    {Text::kCannotOpenLanguage, u"Cannot open file %1", u"Не удалось открыть файл %1"},
    {Text::kBorder, u"Border", u"Бордюр"},
    {Text::kScrolling, u"Scrolling", u"Скроллинг"},
    {Text::kNoResize, u"Not resizable", u"Немасштабируемый"},
    {Text::kOk, u"OK", u"Ок"},
    {Text::kEditListWith, u"&Edit list with Brindlemark", u"&Редактировать список в Brindlemark"},
    {Text::kEditWith, u"&Edit with Brindlemark", u"&Редактировать в Brindlemark"},
    {Text::kFont, u"Font", u"Шрифт"},
    {Text::kBackgroundColour, u"Background colour", u"Цвет фона"},
    {Text::kReloadTip, u"Reload (F5)", u"Обновить (F5)"},
    {Text::kReadBeyondEnd, u"Read beyond end of file: %1", u"Чтение за концом файла: %1"},
    {Text::kClipboardFilter, u"Clipboard files (*.cpb)", u"Файлы буфера (*.cpb)"},
    {Text::kCut, u"Cu&t", u"&Вырезать"},
    {Text::kCopy, u"&Copy", u"&Копировать"},
    {Text::kPaste, u"&Paste", u"Вст&авить"},
    {Text::kSelectAll, u"Select &all", u"Выделить &всё"},
    {Text::kUndo, u"&Undo", u"&Отменить"},
    {Text::kRedo, u"&Redo", u"&Повторить"},
    {Text::kFindItem, u"&Find...", u"&Найти..."},
    {Text::kReplaceItem, u"R&eplace...", u"&Заменить..."},
    {Text::kFindNext, u"Find &next", u"Найти &далее"},
    {Text::kFindPrevious, u"Find pre&vious", u"Найти &предыдущее"},
    {Text::kGoToLine, u"&Go to line...", u"П&ерейти к строке..."},
    {Text::kClosePage, u"&Close page", u"&Закрыть страницу"},
    {Text::kUndoLastBatchRun, u"Undo last batch run", u"Отменить последнюю пакетную обработку"},
    {Text::kLineNumbers, u"Line numbers", u"Номера строк"},
    {Text::kHighlighting, u"HTML colours", u"Цвета HTML"},
    {Text::kFolding, u"Folding", u"Свёртка"},
    {Text::kTagMatching, u"Matching tags", u"Парные теги"},
    {Text::kCloseTags, u"Close tags on \"</\"", u"Закрывать теги после \"</\""},
    {Text::kCompletion, u"Name lists while typing", u"Подсказка имён при вводе"},
    {Text::kLivePreview, u"Live preview", u"Просмотр на лету"},
    {Text::kNewTab, u"New &tab", u"Новая &вкладка"},
    {Text::kNextTab, u"Next tab", u"Следующая вкладка"},
    {Text::kPreviousTab, u"Previous tab", u"Предыдущая вкладка"},
    {Text::kOpenInNewTabs, u"Open pages in new tabs", u"Открывать страницы в новых вкладках"},
    {Text::kOpenInNewTab, u"Open in new tab", u"Открыть в новой вкладке"},
    {Text::kSplitView, u"Split view", u"Разделить окно"},
    {Text::kGoToTab, u"Tab %1", u"Вкладка %1"},
    {Text::kCloseTab, u"Close tab", u"Закрыть вкладку"},
    {Text::kRecoverUnsavedWork, u"Recover unsaved work", u"Восстановление несохранённой работы"},
    {Text::kRestore, u"Restore", u"Восстановить"},
    {Text::kCompare, u"Compare", u"Сравнить"},
    {Text::kDiscard, u"Discard", u"Удалить"},
    {Text::kClose, u"Close", u"Закрыть"},
    {Text::kRecoveryPage, u"Page", u"Страница"},
    {Text::kRecoveryFolder, u"Folder", u"Папка"},
    {Text::kRecoveryEdited, u"Last edit", u"Последняя правка"},
    {Text::kRecoverySize, u"Size", u"Размер"},
    {Text::kRecoveryNote, u"Note", u"Примечание"},
    {Text::kRecoveryUnreadable, u"unreadable: not a recovery copy",
     u"не читается: это не копия для восстановления"},
    {Text::kUntitledPage, u"(untitled)", u"(без имени)"},
    {Text::kRecoveryChangedOnDisk, u"the file changed on disk since",
     u"файл на диске с тех пор изменён"},
    {Text::kRecoverySameAsFile, u"The recovered text is the same as the file on disk.",
     u"Восстановленный текст совпадает с файлом на диске."},
    {Text::kRecoveryDiscardQuestion, u"Discard the unsaved work of %1 page(s) for good?",
     u"Удалить несохранённую работу (страниц: %1) навсегда?"},
    {Text::kRecoveryCannotWrite, u"Unsaved work cannot be kept for recovery: %1",
     u"Несохранённую работу нельзя сохранить для восстановления: %1"},
    {Text::kFoldHere, u"Fold element", u"Свернуть элемент"},
    {Text::kUnfoldHere, u"Unfold element", u"Развернуть элемент"},
    {Text::kMatchingTag, u"Go to matching tag", u"К парному тегу"},
    {Text::kMissingLine, u"List index out of bounds (%1)", u"Индекс списка вне границ (%1)"},
    {Text::kIncludeSubfolders, u"Include subfolders", u"Со вложенными папками"},
    {Text::kCredits,
     u"<b>Brindlemark</b><br>HTML editor for hand-written web pages<br>Version %1<br>The "
     u"Brindlemark team",
     u"<b>Brindlemark</b><br>Редактор HTML для страниц, написанных вручную<br>Версия %1<br>Команда "
     u"Brindlemark"},
    {Text::kEveryMatch, u"Every match in a line", u"Все совпадения в строке"},
    {Text::kEveryMatchTip, u"Off: only the first match of each line is replaced",
     u"Если выключено, в каждой строке заменяется только первое совпадение"},
    {Text::kChooseTemplateFirst,
     u"Choose a template first: a page with the line %1 where the links go.",
     u"Сначала выберите шаблон: страницу со строкой %1 на месте ссылок."},
    {Text::kDanglingLink,
     u"Cannot write file %1: it is a symbolic link to a file that does not exist (%2).",
     u"Не удалось записать файл %1: это символическая ссылка на файл, которого нет (%2)."},
    {Text::kNotFullyUndone,
     u"\nThis run could not be fully undone; its journal is kept in %1. Undo again to go to "
     u"the run before it.",
     u"\nЭту обработку не удалось отменить полностью; её журнал сохранён в %1. Следующая "
     u"отмена перейдёт к обработке перед ней."},
    {Text::kJpegError, u"JPEG error: %1", u"Ошибка JPEG: %1"},
    {Text::kJpegTooLarge, u"JPEG error: picture too large",
     u"Ошибка JPEG: картинка слишком велика"},
    {Text::kLongLinesTip,
     u"Long lines are not wrapped, so that typing stays quick; the wrap button wraps them.",
     u"Длинные строки не переносятся, чтобы ввод не замедлялся; кнопка переноса переносит их."},
    {Text::kNoBrowser, u"No web browser could be started. The address is %1",
     u"Не удалось запустить браузер. Адрес: %1"},
};

constexpr bool RowsInOrder() {
  for (int i = 0; i < int(std::size(kRows)); ++i) {
    if (int(kRows[i].text) != i) return false;
  }
  return std::size(kRows) == std::size_t(kTextCount);
}
static_assert(RowsInOrder(), "text rows must follow the order of Text");

Language current = Language::kEnglish;

QMultiHash<QObject*, std::function<void()>>& Bindings() {
  static QMultiHash<QObject*, std::function<void()>> bindings;
  return bindings;
}

}  // namespace

void SetLanguage(Language language) {
  current = language;
  for (const auto& show : std::as_const(Bindings())) show();
}

Language CurrentLanguage() { return current; }

QString TextIn(Text text, Language language) {
  const TextRow& row = kRows[int(text)];
  return QString::fromUtf16(language == Language::kRussian ? row.russian : row.english);
}

QString Tr(Text text) { return TextIn(text, current); }

void BindText(QObject* owner, std::function<void()> show) {
  show();
  if (!Bindings().contains(owner)) {
    QObject::connect(owner, &QObject::destroyed, [owner] { Bindings().remove(owner); });
  }
  Bindings().insert(owner, std::move(show));
}
