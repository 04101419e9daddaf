#include "app/settings_tab.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/asker.h"
#include "app/ui_text.h"
#include "settings/settings_store.h"

namespace qz {

void couple(bool ticked, QLineEdit* edit, QPushButton* button) {
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Base, QColor(ticked ? kUsableBackground : kDisabledBackground));
  edit->setPalette(palette);
  edit->setEnabled(ticked);
  button->setEnabled(ticked);
}

SettingsTab::SettingsTab(SettingsStore& settings, Asker& asker,
                         std::function<void()> reloadSettings, QWidget* parent)
    : TabPage(parent), settings_(settings), asker_(asker), reloadSettings_(std::move(reloadSettings)) {
  build();

  connect(preprocessBox_, &QCheckBox::clicked, this,
          [this] { storeAndReload(preprocessBox_, keys::kPreprocess); });
  connect(localViewBox_, &QCheckBox::clicked, this,
          [this] { storeAndReload(localViewBox_, keys::kLocalView); });
  connect(customSaveRootBox_, &QCheckBox::clicked, this, [this] {
    couple(customSaveRootBox_->isChecked(), saveRootEdit_, chooseFolderButton_);
    storeAndReload(customSaveRootBox_, keys::kCustomSaveRoot);
  });
  connect(skipSuffixBox_, &QCheckBox::clicked, this, [this] {
    couple(skipSuffixBox_->isChecked(), skipSuffixEdit_, restoreDefaultsButton_);
    storeAndReload(skipSuffixBox_, keys::kSkipSuffixSwitch);
  });
  connect(chooseFolderButton_, &QPushButton::clicked, this, &SettingsTab::chooseFolder);
  connect(restoreDefaultsButton_, &QPushButton::clicked, this,
          &SettingsTab::restoreDefaultSuffixes);
}

QCheckBox* SettingsTab::checkBox(const char* text, const QRect& place) {
  return this->place(new QCheckBox(toQt(text), this), place);
}

QLabel* SettingsTab::note(const char* text, const QRect& place) {
  auto* label = this->place(new QLabel(toQt(text), this), place);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  label->setStyleSheet(QStringLiteral("color: #5b6578;"));
  return label;
}

// The thin bars of the window's design are separator lines.
void SettingsTab::separator(const QRect& place) {
  auto* line = this->place(new QFrame(this), place);
  line->setFrameShape(QFrame::NoFrame);
  line->setAutoFillBackground(true);
  QPalette palette = line->palette();
  palette.setColor(QPalette::Window, QColor(0xd3, 0xd9, 0xe3));
  line->setPalette(palette);
}

void SettingsTab::build() {
  historyBox_ = checkBox("记忆输入过的网址", {24, 49, 133, 17});
  historyBox_->setEnabled(false);  // the history is always on
  note("每次输入新网址下载,都保存在软件里,方便以后直接选择使用", {165, 47, 344, 24});
  separator({12, 78, 483, 2});

  preprocessBox_ = checkBox("目标网页打开预处理", {24, 91, 151, 17});
  note("软件预先打开网页,利用IE的内核获取所有元素链接", {181, 89, 320, 24});
  note("勾选后能更准确的分析素材的链接,但很多站点已经不支持IE内核打开,请根据需要勾选",
       {22, 120, 484, 19});
  localViewBox_ = checkBox("下载后支持本地查看", {24, 148, 151, 17});
  note("转化相对路径,让您在本地能正常双击查看下载的网页", {181, 146, 320, 24});
  separator({8, 182, 483, 2});

  customSaveRootBox_ = checkBox("指定下载后的存放目录", {24, 196, 162, 17});
  saveRootHint_ = note("如果不指定,下载后将默认存放在主目录中", {196, 193, 344, 24});
  saveRootEdit_ = place(new QLineEdit(this), {24, 224, 399, 21});
  chooseFolderButton_ = place(new QPushButton(QStringLiteral("浏览..."), this), {435, 223, 64, 23});
  separator({8, 264, 483, 2});

  skipSuffixBox_ = checkBox("指定不下载的素材后缀", {24, 274, 162, 17});
  note("如果不指定,将下载目标网页内的所有元素", {196, 271, 344, 24});
  skipSuffixEdit_ = place(new QLineEdit(this), {24, 303, 399, 21});
  restoreDefaultsButton_ = place(new QPushButton(QStringLiteral("恢复默认"), this), {434, 302, 64, 23});
}

void SettingsTab::fillFromSettings() {
  const auto options = settings_.current();
  historyBox_->setChecked(true);
  preprocessBox_->setChecked(options->preprocessOption);
  customSaveRootBox_->setChecked(options->customSaveRootOption);
  localViewBox_->setChecked(options->localViewOption);
  // The stored directory is shown even while the option is off.
  saveRootEdit_->setText(toQt(settings_.read(keys::kSaveRootPath, defaultSaveRoot())));
  couple(customSaveRootBox_->isChecked(), saveRootEdit_, chooseFolderButton_);

  skipSuffixBox_->setChecked(options->skipSuffixOption);
  skipSuffixEdit_->setText(toQt(settings_.read(keys::kSkipSuffixes, kDefaultSkipSuffixes)));
  couple(skipSuffixBox_->isChecked(), skipSuffixEdit_, restoreDefaultsButton_);
}

void SettingsTab::storeTypedTexts() {
  settings_.write(keys::kSaveRootPath, fromQt(saveRootEdit_->text()));
  settings_.write(keys::kSkipSuffixes, fromQt(skipSuffixEdit_->text()));
}

void SettingsTab::storeAndReload(QCheckBox* box, const char* key) {
  settings_.write(key, box->isChecked());
  reloadSettings_();
}

void SettingsTab::chooseFolder() {
  const QString typed = saveRootEdit_->text();
  const QString start = QFileInfo(typed).isDir() ? typed : QDir::homePath();
  const QString chosen =
      asker_.chooseFolder(window(), QStringLiteral("选择下载后的存放目录"), start);
  if (chosen.isEmpty()) return;
  saveRootEdit_->setText(chosen);
  settings_.write(keys::kSaveRootPath, fromQt(chosen));
  reloadSettings_();
}

void SettingsTab::restoreDefaultSuffixes() {
  // Only the box changes now; closing the window stores it.
  if (asker_.askYesNo(window(), toQt(kRestoreDefaultsQuestion), QStringLiteral("询问"),
                      AskIcon::Information))
    skipSuffixEdit_->setText(toQt(kDefaultSkipSuffixes));
}

}  // namespace qz
