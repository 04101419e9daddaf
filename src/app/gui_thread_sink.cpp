#include "app/gui_thread_sink.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

namespace qz {

// Called on the GUI thread itself (a notice logged before the capture thread exists), the
// action runs at once: a blocking queued call to one's own thread would never return.
template <typename Action>
void GuiThreadSink::onGuiThread(Action action) {
  if (QThread::currentThread() == guiObject_.thread()) {
    action();
    return;
  }
  QMetaObject::invokeMethod(&guiObject_, action, Qt::BlockingQueuedConnection);
}

void GuiThreadSink::showLogLine(const std::string& stamp, const std::string& message,
                                LogColour colour) {
  onGuiThread([&] { view_.appendLogLine(stamp, message, colour); });
}

void GuiThreadSink::showMessage(const std::string& text, const std::string& caption) {
  onGuiThread([&] { view_.showCaptureMessage(text, caption); });
}

void GuiThreadSink::setDownloadEnabled(bool enabled) {
  onGuiThread([&] { view_.setDownloadEnabled(enabled); });
}

void GuiThreadSink::showOpenFolderButton(const std::string& folder) {
  onGuiThread([&] { view_.showOpenFolderButton(folder); });
}

}  // namespace qz
