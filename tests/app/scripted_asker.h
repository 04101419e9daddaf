#pragma once
// An Asker that answers from a script and records every question, so no test waits on a
// real dialog. A hook may run while a box is "open", as a user's click during it would.
#include <QString>
#include <deque>
#include <functional>
#include <vector>

#include "app/asker.h"

namespace qz::test {

struct Asked {
  QString kind;  // "inform", "yesno", "folder", "file"
  QString text;  // the message, or the dialog's title
  QString caption;  // the caption, or the start folder of a dialog
  AskIcon icon = AskIcon::Information;
};

class ScriptedAsker : public Asker {
 public:
  void inform(QWidget*, const QString& text, const QString& caption, AskIcon icon) override {
    asked.push_back({"inform", text, caption, icon});
    if (whileOpen) whileOpen();
  }
  bool askYesNo(QWidget*, const QString& text, const QString& caption, AskIcon icon) override {
    asked.push_back({"yesno", text, caption, icon});
    if (whileOpen) whileOpen();
    return next(yesNoAnswers, false);
  }
  QString chooseFolder(QWidget*, const QString& title, const QString& start) override {
    asked.push_back({"folder", title, start});
    return next(folderAnswers, QString());
  }
  QString chooseFile(QWidget*, const QString& title, const QString& start,
                     const QString& filter) override {
    asked.push_back({"file", title, start});
    lastFilter = filter;
    return next(fileAnswers, QString());
  }

  std::vector<Asked> asked;
  std::deque<bool> yesNoAnswers;     // No once the script runs out
  std::deque<QString> folderAnswers;  // cancelled once the script runs out
  std::deque<QString> fileAnswers;
  QString lastFilter;
  std::function<void()> whileOpen;

 private:
  template <typename T>
  static T next(std::deque<T>& answers, T fallback) {
    if (answers.empty()) return fallback;
    T answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

}  // namespace qz::test
