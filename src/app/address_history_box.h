#pragma once
// The address combo box and its history: filled from the history file at start-up, one entry
// more for every capture started, emptied (after a question) by a double-click.
#include <QObject>
#include <string>

class QComboBox;

namespace qz {

class Asker;
class SettingsStore;

class AddressHistoryBox : public QObject {
  Q_OBJECT

 public:
  AddressHistoryBox(QComboBox& combo, SettingsStore& settings, std::string historyFile,
                    Asker& asker);

  // Fills the list from the file and restores the text of the last run, when one was stored.
  void load();
  // Remembers the address of a capture (stored once, whatever its letter case).
  void add(const std::string& address);
  // Asks "是否清空列表?"; on Yes empties the file and loads again.
  void clear();

  const std::string& historyFile() const { return historyFile_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void appendKeepingText(const QString& entry);

  QComboBox& combo_;
  SettingsStore& settings_;
  std::string historyFile_;
  Asker& asker_;
};

}  // namespace qz
