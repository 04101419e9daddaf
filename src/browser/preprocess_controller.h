#pragma once
// Preprocessing mode on the GUI thread: the hidden browser page, the load-wait timer and the
// state that decides when the capture may start.
//
// A front end rarely uses it alone: HiddenBrowser (hidden_browser.h) puts it together with
// the document and collector the capture thread needs.
//
// The page is loaded, never shown. Every completed load sets the timer's period to the load
// wait, so the first one starts the countdown and later ones while it runs leave it alone;
// when it fires the capture starts, once. A failed load completes too: the engine shows its
// error page, as a browser would, and the capture then reports the page's own fetch failing
// (the error page itself yields no elements, see BrowserDocument).
#include <QObject>
#include <QTimer>
#include <functional>
#include <string>

class QWebEnginePage;
class QWebEngineProfile;

namespace qz {

class LogWriter;

inline constexpr int kLoadWaitMs = 5000;

enum class PreprocessState { Idle, Waiting, Started };

// The load-wait timer's period rule. A stopped timer's period counts as 0. Writing the period
// it already has changes nothing (a running countdown goes on), a different non-zero period
// starts the countdown anew with it, 0 (or less) stops it.
void setTimerPeriod(QTimer& timer, int periodMs);

class PreprocessController : public QObject {
 public:
  using StartCapture = std::function<void()>;

  // `loadWaitMs` is the wait after the first completed document; the programs use 5000 ms.
  explicit PreprocessController(StartCapture startCapture, int loadWaitMs = kLoadWaitMs,
                                QObject* parent = nullptr);
  ~PreprocessController() override;

  // The download handler's branch for preprocessing mode: logs the hand-off in pink, waits
  // and directs the hidden page to `address` as a browser's address bar would take it (a
  // typed address without a scheme is loaded over http). `log` is written on the GUI thread,
  // now and when the capture starts, and must outlive the controller's wait; its sink must
  // therefore show lines directly, not by a blocking call to the GUI thread.
  void handOff(const std::string& address, LogWriter& log);

  PreprocessState state() const { return state_; }
  QWebEnginePage* page() const { return page_; }
  const QTimer& loadWaitTimer() const { return loadWaitTimer_; }

 private:
  void documentCompleted();
  void loadWaitElapsed();

  StartCapture startCapture_;
  int loadWaitMs_;
  PreprocessState state_ = PreprocessState::Idle;
  LogWriter* log_ = nullptr;
  // The page's own profile: off the record (nothing of the visited page is kept on disk) and
  // shared with no other page, so its connections end with the controller.
  QWebEngineProfile* profile_;  // a child of this object
  QWebEnginePage* page_;        // a child of this object
  QTimer loadWaitTimer_;  // 等待载入完整时钟
};

}  // namespace qz
