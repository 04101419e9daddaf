#pragma once
// Every message box and file dialog of the program goes through an Asker, so the windows can
// be driven by tests that script the answers instead of waiting on a real dialog.
#include <QString>

class QWidget;

namespace qz {

enum class AskIcon { Information, Question, Warning };

class Asker {
 public:
  virtual ~Asker() = default;
  // A modal box with an OK button; returns when it was closed.
  virtual void inform(QWidget* parent, const QString& text, const QString& caption,
                      AskIcon icon = AskIcon::Information) = 0;
  // A modal box with the buttons Yes and No; true for Yes.
  virtual bool askYesNo(QWidget* parent, const QString& text, const QString& caption,
                        AskIcon icon) = 0;
  // A folder (no trailing "/" except the root), or empty when cancelled.
  virtual QString chooseFolder(QWidget* parent, const QString& title,
                               const QString& startFolder) = 0;
  // A file to open, or empty when cancelled. `filter` is in Qt's form: "Name (*)".
  virtual QString chooseFile(QWidget* parent, const QString& title, const QString& startFolder,
                             const QString& filter) = 0;
};

// The real dialogs.
class DialogAsker : public Asker {
 public:
  void inform(QWidget* parent, const QString& text, const QString& caption,
              AskIcon icon = AskIcon::Information) override;
  bool askYesNo(QWidget* parent, const QString& text, const QString& caption,
                AskIcon icon) override;
  QString chooseFolder(QWidget* parent, const QString& title, const QString& startFolder) override;
  QString chooseFile(QWidget* parent, const QString& title, const QString& startFolder,
                     const QString& filter) override;
};

}  // namespace qz
