#include "app/address_history_box.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>

#include "app/address_history.h"
#include "app/asker.h"
#include "app/ui_text.h"
#include "platform/files.h"
#include "platform/text.h"
#include "settings/settings_store.h"

namespace qz {

AddressHistoryBox::AddressHistoryBox(QComboBox& combo, SettingsStore& settings,
                                     std::string historyFile, Asker& asker)
    : QObject(&combo),
      combo_(combo),
      settings_(settings),
      historyFile_(std::move(historyFile)),
      asker_(asker) {
  combo_.installEventFilter(this);
  if (combo_.lineEdit()) combo_.lineEdit()->installEventFilter(this);
}

// Adding to an empty list makes the box show the new item; the typed text must stay.
void AddressHistoryBox::appendKeepingText(const QString& entry) {
  const QString typed = combo_.currentText();
  combo_.addItem(entry);
  combo_.setEditText(typed);
}

void AddressHistoryBox::load() {
  // Emptying the list must not lose the text: it changes only when a stored one exists.
  const std::string shown = fromQt(combo_.currentText());
  combo_.clear();
  for (const std::string& entry : historyEntries(textUpToZero(readWholeFile(historyFile_))))
    combo_.addItem(toQt(entry));
  combo_.setEditText(toQt(settings_.read(keys::kLastComboAddress, shown)));
  if (combo_.lineEdit()) combo_.lineEdit()->selectAll();
}

void AddressHistoryBox::add(const std::string& address) {
  const HistoryAddition addition = addToHistory(historyFile_, address);
  // A file that cannot be written still gives the entry for this run.
  if (addition.added) appendKeepingText(toQt(addition.entry));
}

void AddressHistoryBox::clear() {
  if (!asker_.askYesNo(combo_.window(), QStringLiteral("是否清空列表?"), QStringLiteral("询问"),
                       AskIcon::Question))
    return;
  clearHistoryFile(historyFile_);
  load();
}

bool AddressHistoryBox::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick) clear();
  return QObject::eventFilter(watched, event);
}

}  // namespace qz
