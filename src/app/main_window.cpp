#include "app/main_window.h"

#include <QBitmap>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>
#include <QWindow>
#include <cstdlib>

#include "app/address_history.h"
#include "app/address_history_box.h"
#include "app/artwork.h"
#include "app/asker.h"
#include "app/log_box.h"
#include "app/picture_button.h"
#include "app/settings_window.h"
#include "app/ui_text.h"
#include "platform/files.h"
#include "settings/settings_store.h"

namespace qz {
namespace {

void openInFileManager(const QString& folder) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

QString captionText() { return toQt(std::string(kCaptionStem) + kVersionText); }

// The hint text ends in a line break meant for a multi-line edit control; a label shows it
// without the empty line it would add.
QString hintShown() { return toQt(kHintText).trimmed(); }

QLabel* makeLabel(const QString& text, const QRect& place, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(place);
  label->setFont(interfaceFont());
  return label;
}

}  // namespace

AppPlaces placesIn(const std::string& settingsFile, const std::string& appDataFolder) {
  return {settingsFile, appDataFolder, appDataFolder + kHistoryFileName};
}

AppPlaces resolveAppPlaces() {
  const std::string settingsFile = resolveSettingsFile();
  return placesIn(settingsFile, resolveDataRoot() + kProgramName + "/");
}

MainWindow::MainWindow(Asker& asker, const AppPlaces& places, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint),
      asker_(asker),
      settings_(std::make_unique<SettingsStore>(places.settingsFile)),
      background_(art::mainWindowBackground()),
      sink_(*this, *this),
      endProcess_([] { std::_Exit(0); }),
      folderOpener_(openInFileManager) {
  setFixedSize(art::kWindowWidth, art::kWindowHeight);
  move(50, 50);
  setFont(interfaceFont());
  setWindowIcon(QIcon(QPixmap::fromImage(art::programIcon(64))));
  buildTitleRow();
  buildAddressRow();
  buildLogArea();
  buildBottomRow();
  runStartUpSequence(places);
}

MainWindow::~MainWindow() {
  // The capture may be waiting for this window to show a line: serve it until it has ended.
  captureThread_.stopAndWaitServingEvents();
}

void MainWindow::buildTitleRow() {
  titleLabel_ = makeLabel(QString(), QRect(32, 7, 424, 16), this);
  titleLabel_->setFont(interfaceFont(9, true));
  titleLabel_->setStyleSheet(QStringLiteral("color: #f2f4f8;"));
  // Pressing on the title does nothing of its own; the press reaches the window, which moves.
  titleLabel_->setAttribute(Qt::WA_TransparentForMouseEvents);

  minimiseButton_ = new PictureButton(art::ButtonLook::TitleMinimise, QStringLiteral("最小化"), this);
  minimiseButton_->setGeometry(662, 1, 26, 17);
  minimiseButton_->setToolTip(QStringLiteral("最小化"));
  connect(minimiseButton_, &QAbstractButton::clicked, this, &QWidget::showMinimized);

  closeButton_ = new PictureButton(art::ButtonLook::TitleClose, QString(), this);
  closeButton_->setGeometry(712, 1, 43, 17);
  closeButton_->setToolTip(QStringLiteral("关闭"));
  connect(closeButton_, &QAbstractButton::clicked, this, &QWidget::close);
}

void MainWindow::buildAddressRow() {
  addressPanel_ = new QWidget(this);  // its card is part of the background picture
  addressPanel_->setGeometry(art::kAddressPanel);

  addressLabel_ = makeLabel(QStringLiteral("输入网页地址"), QRect(10, 10, 79, 32), addressPanel_);
  addressLabel_->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);

  addressCombo_ = new QComboBox(addressPanel_);
  addressCombo_->setEditable(true);
  addressCombo_->setInsertPolicy(QComboBox::NoInsert);
  addressCombo_->setGeometry(92, 16, 516, 20);
  // Suggestions from the history appear below the box; the typed text itself never changes.
  addressCombo_->completer()->setCompletionMode(QCompleter::PopupCompletion);
  addressCombo_->completer()->setCaseSensitivity(Qt::CaseInsensitive);

  plainAddressBox_ = new QLineEdit(addressPanel_);
  plainAddressBox_->setGeometry(92, 15, 516, 22);
  plainAddressBox_->hide();

  downloadButton_ = new PictureButton(art::ButtonLook::Accent, QStringLiteral("下载"), addressPanel_);
  downloadButton_->setGeometry(630, 14, 59, 24);
  connect(downloadButton_, &QAbstractButton::clicked, this, &MainWindow::startCapture);
}

void MainWindow::buildLogArea() {
  logPanel_ = new QWidget(this);  // its card is part of the background picture
  logPanel_->setGeometry(art::kLogPanel);
  logBox_ = new LogBox(this);
  logBox_->setGeometry(31, 111, 694, 271);
  logBox_->setFrameShape(QFrame::NoFrame);
  logBox_->raise();
}

void MainWindow::buildBottomRow() {
  settingsButton_ = new PictureButton(art::ButtonLook::Plain, QStringLiteral("设置"), this);
  settingsButton_->setGeometry(141, 410, 96, 24);
  connect(settingsButton_, &QAbstractButton::clicked, this, &MainWindow::openSettingsWindow);

  openFolderButton_ = new PictureButton(art::ButtonLook::Plain, QStringLiteral("打开文件夹"), this);
  openFolderButton_->setGeometry(255, 410, 96, 24);
  openFolderButton_->hide();
  connect(openFolderButton_, &QAbstractButton::clicked, this, &MainWindow::openLastCaptureFolder);

  hintLabel_ = makeLabel(hintShown(), QRect(256, 416, 469, 45), this);
  hintLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  hintLabel_->setWordWrap(true);
  hintLabel_->setStyleSheet(QStringLiteral("color: #5b6578;"));
}

void MainWindow::runStartUpSequence(const AppPlaces& places) {
  setMask(background_.createMaskFromColor(QColor(art::kCutAwayColour), Qt::MaskInColor));
  setWindowTitle(captionText());
  titleLabel_->setText(captionText());
  createDirectoryTree(places.appDataFolder);

  const std::string lastPlain =
      settings_->read(keys::kLastPlainAddress, fromQt(plainAddressBox_->text()));
  plainAddressBox_->setText(toQt(reduceToSiteRoot(lastPlain)));

  history_ = new AddressHistoryBox(*addressCombo_, *settings_, places.historyFile, asker_);
  history_->load();
  reloadSettings();
  addressCombo_->setFocus();
  plainAddressBox_->selectAll();
}

void MainWindow::reloadSettings() {
  settings_->load();
  addressCombo_->show();
  plainAddressBox_->hide();
}

void MainWindow::startCapture() {
  const bool plainShown = !plainAddressBox_->isHidden();
  const QString typed = plainShown ? plainAddressBox_->text() : addressCombo_->currentText();
  if (typed.isEmpty()) {
    asker_.inform(this, QStringLiteral("请输入要下载的网页的网址"), QStringLiteral("提示"));
    (plainShown ? static_cast<QWidget*>(plainAddressBox_) : addressCombo_)->setFocus();
    return;
  }
  // One capture per run: the button stays disabled afterwards, this guards other callers.
  if (captureThread_.started() || !downloadButton_->isEnabled()) return;
  job_.pageAddress = fromQt(typed);
  history_->add(job_.pageAddress);
  downloadButton_->setEnabled(false);
  if (settings_->current()->preprocessOption && preprocessHandOff_) {
    preprocessHandOff_->handOff(job_.pageAddress, *this);
    return;
  }
  launchCapture(nullptr);
}

void MainWindow::launchCapture(MaterialCollector* documentCollector) {
  captureThread_.start(
      [this, documentCollector] {
        const CaptureServices services{*settings_, sink_, &captureThread_.stopFlag(),
                                       documentCollector};
        runCapture(job_, services);
      },
      [this] {
        QMetaObject::invokeMethod(this, [this] { emit captureEnded(); }, Qt::QueuedConnection);
      });
}

void MainWindow::appendLogLine(const std::string& stamp, const std::string& message,
                               LogColour colour) {
  logBox_->appendLine(stamp, message, colour);
}

void MainWindow::showCaptureMessage(const std::string& text, const std::string& caption) {
  asker_.inform(this, toQt(text), toQt(caption));
}

void MainWindow::setDownloadEnabled(bool enabled) { downloadButton_->setEnabled(enabled); }

void MainWindow::showOpenFolderButton(const std::string& folder) {
  lastCaptureFolder_ = folder;
  openFolderButton_->show();
  hintLabel_->hide();
}

void MainWindow::openLastCaptureFolder() {
  if (!lastCaptureFolder_.empty()) folderOpener_(toQt(lastCaptureFolder_));
}

void MainWindow::openSettingsWindow() {
  // A second press brings the open window forward instead of opening another one.
  if (!settingsWindow_) {
    settingsWindow_ = new SettingsWindow(*settings_, asker_, [this] { reloadSettings(); }, this);
  }
  settingsWindow_->show();
  settingsWindow_->raise();
  settingsWindow_->activateWindow();
}

SettingsWindow* MainWindow::settingsWindow() const { return settingsWindow_; }

void MainWindow::storeAddressTexts() {
  settings_->write(keys::kLastPlainAddress, fromQt(plainAddressBox_->text()));
  settings_->write(keys::kLastComboAddress, fromQt(addressCombo_->currentText()));
}

void MainWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, background_);
}

// Without a frame, the window is moved by dragging its background.
void MainWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && windowHandle()) windowHandle()->startSystemMove();
  QWidget::mousePressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  storeAddressTexts();
  // The settings window's own closing stores what was typed into it.
  if (settingsWindow_) settingsWindow_->close();
  if (captureThread_.running()) {
    captureThread_.requestStop();
    endProcess_();
  }
  event->accept();
}

}  // namespace qz
