#include "browser/preprocess_controller.h"

#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>

#include "platform/log_line.h"

namespace qz {

void setTimerPeriod(QTimer& timer, int periodMs) {
  if (periodMs <= 0) {
    timer.stop();
    return;
  }
  const int currentPeriod = timer.isActive() ? timer.interval() : 0;
  if (periodMs == currentPeriod) return;
  timer.start(periodMs);
}

PreprocessController::PreprocessController(StartCapture startCapture, int loadWaitMs,
                                           QObject* parent)
    : QObject(parent),
      startCapture_(std::move(startCapture)),
      loadWaitMs_(loadWaitMs),
      profile_(new QWebEngineProfile(this)),
      page_(new QWebEnginePage(profile_, this)) {
  // Exact periods: the countdown is compared with the period it already has.
  loadWaitTimer_.setTimerType(Qt::PreciseTimer);
  // Nobody sees the page, so nobody should hear it either.
  page_->setAudioMuted(true);
  connect(page_, &QWebEnginePage::loadFinished, this, [this](bool) { documentCompleted(); });
  connect(&loadWaitTimer_, &QTimer::timeout, this, [this] { loadWaitElapsed(); });
}

// The page goes first, while its profile, the timer and the callbacks it might reach still
// exist; the profile then closes the connections the page kept open.
PreprocessController::~PreprocessController() {
  delete page_;
  delete profile_;
}

void PreprocessController::handOff(const std::string& address, LogWriter& log) {
  log_ = &log;
  log.add("预处理模式启动,等待目标网页载入...", LogColour::Pink);
  state_ = PreprocessState::Waiting;
  page_->load(QUrl::fromUserInput(QString::fromUtf8(address.c_str(),
                                                    static_cast<qsizetype>(address.size()))));
}

void PreprocessController::documentCompleted() { setTimerPeriod(loadWaitTimer_, loadWaitMs_); }

void PreprocessController::loadWaitElapsed() {
  setTimerPeriod(loadWaitTimer_, 0);
  if (state_ != PreprocessState::Waiting) return;
  state_ = PreprocessState::Started;
  if (log_) log_->add("目标网页载入完成,开始分析", LogColour::Pink);
  if (startCapture_) startCapture_();
}

}  // namespace qz
