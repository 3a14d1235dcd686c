#pragma once

#include <QDialog>
#include <QList>

#include "document/recovery.h"
#include "names/window_names.h"

class Desktop;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

// "Recover unsaved work": the pages a program left unsaved when it did not end normally, one
// row each, with Restore (the default), Compare and Discard. Closing it keeps the copies.
class RecoveryWindow : public QDialog {
  Q_OBJECT
 public:
  static constexpr QStringView kName = window_name::kRecovery;

  RecoveryWindow(Desktop& desktop, RecoveryStore& store, QWidget* parent = nullptr);

  // The rows to offer; all selected.
  void SetCopies(const QList<FoundCopy>& copies);
  // The copies Restore was pressed for (readable ones only; an unreadable one stays listed and
  // is said so); empty after a close.
  QList<FoundCopy> TakeChosen();

 private:
  QList<int> SelectedRows() const;
  void Restore();
  void Compare();
  void Discard();
  void Fill();

  Desktop& desktop_;
  RecoveryStore& store_;
  QTreeWidget* rows_;
  QPlainTextEdit* compare_;
  QPushButton* restore_;
  QList<FoundCopy> copies_;
  QList<FoundCopy> chosen_;
};
