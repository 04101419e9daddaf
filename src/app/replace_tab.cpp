#include "app/replace_tab.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/asker.h"
#include "app/ui_text.h"
#include "settings/settings_store.h"
#include "tools/replace_tool.h"

namespace qz {
namespace {

const QString kUnchanged = QStringLiteral("目标文件没有改动。");

// What the user reads when a run could not be done. Every such run left the file as it was.
QString refusalText(const ReplaceOutcome& outcome, const QString& filePath) {
  const QString detail = toQt(outcome.detail);
  switch (outcome.status) {
    case ReplaceStatus::BadPattern:
      return QStringLiteral("“原内容”不是有效的正则表达式:\n") + detail + "\n\n" + kUnchanged;
    case ReplaceStatus::MatchFailed:
      return QStringLiteral("正则表达式对这个文件过于复杂,无法完成匹配:\n") + detail + "\n\n" +
             kUnchanged;
    case ReplaceStatus::NotText:
      return QStringLiteral("目标文件中含有空字符(0 字节),不是文本文件,替换工具不处理这样的文件。\n") +
             kUnchanged;
    case ReplaceStatus::ReadOnly:
      return QStringLiteral("目标文件是只读的,无法写入。\n") + kUnchanged;
    case ReplaceStatus::BackupFailed:
      return QStringLiteral("无法保存备份文件 ") + filePath + toQt(kBackupSuffix) +
             QStringLiteral(" ,因此没有替换。\n") + kUnchanged;
    case ReplaceStatus::WriteFailed:
      return QStringLiteral("无法写入目标文件,替换没有完成。\n") + kUnchanged;
    case ReplaceStatus::Replaced:
    case ReplaceStatus::NothingToDo: break;
  }
  return {};
}

}  // namespace

ReplaceTab::ReplaceTab(SettingsStore& settings, Asker& asker, std::function<void()> closeWindow,
                       QWidget* parent)
    : TabPage(parent), settings_(settings), asker_(asker), closeWindow_(std::move(closeWindow)) {
  build();
  connect(matchCaseBox_, &QCheckBox::clicked, this,
          [this](bool ticked) { settings_.write(keys::kMatchCase, ticked); });
  connect(keepBackupBox_, &QCheckBox::clicked, this,
          [this](bool ticked) { settings_.write(keys::kKeepBackup, ticked); });
  connect(browseButton_, &QPushButton::clicked, this, &ReplaceTab::browse);
  connect(replaceButton_, &QPushButton::clicked, this, &ReplaceTab::run);
}

QLabel* ReplaceTab::label(const char* text, const QRect& place) {
  auto* shown = this->place(new QLabel(toQt(text), this), place);
  shown->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return shown;
}

void ReplaceTab::build() {
  label("欲处理的目标文件", {16, 46, 122, 17});
  fileEdit_ = place(new QLineEdit(this), {142, 45, 272, 21});
  browseButton_ = place(new QPushButton(QStringLiteral("浏览..."), this), {426, 43, 64, 23});

  label("原内容（支持正则）", {17, 81, 126, 24});
  patternEdit_ = place(new QPlainTextEdit(this), {142, 80, 348, 95});
  matchCaseBox_ = place(new QCheckBox(QStringLiteral("区分大小写"), this), {18, 113, 99, 21});

  label("替换为（支持正则）", {17, 189, 125, 24});
  replacementEdit_ = place(new QPlainTextEdit(this), {141, 191, 348, 95});
  keepBackupBox_ = place(new QCheckBox(QStringLiteral("保存备份"), this), {18, 223, 82, 21});

  auto* hint = label("提示：这是独立的替换工具，和本软件没有关系。", {18, 303, 315, 24});
  hint->setStyleSheet(QStringLiteral("color: #5b6578;"));
  replaceButton_ = place(new QPushButton(QStringLiteral("替换"), this), {357, 304, 133, 24});
}

void ReplaceTab::fillFromSettings() {
  // Each box reads its key with its own current state ("假") as the default.
  auto ticked = [this](QCheckBox* box, const char* key) {
    box->setChecked(settingIsTrue(settings_.read(key, box->isChecked() ? kTrueText : kFalseText)));
  };
  ticked(matchCaseBox_, keys::kMatchCase);
  ticked(keepBackupBox_, keys::kKeepBackup);
}

void ReplaceTab::browse() {
  const auto options = settings_.current();
  const std::string start = options->customSaveRootOption ? options->saveRoot : defaultSaveRoot();
  const QString chosen = asker_.chooseFile(window(), QStringLiteral("选择欲处理的目标文件"),
                                           toQt(start), QStringLiteral("所有文件 (*)"));
  if (!chosen.isEmpty()) lastChosenFile_ = chosen;
  if (!lastChosenFile_.isEmpty()) fileEdit_->setText(lastChosenFile_);
}

void ReplaceTab::run() {
  // The completion question waits for the user; until it is answered no second run may start
  // on the same file.
  if (running_) return;
  running_ = true;
  replaceButton_->setEnabled(false);
  const QString filePath = fileEdit_->text();
  const ReplaceRequest request{fromQt(filePath), fromQt(patternEdit_->toPlainText()),
                               fromQt(replacementEdit_->toPlainText()),
                               matchCaseBox_->isChecked(), keepBackupBox_->isChecked()};
  report(runReplace(request), filePath);
  running_ = false;
  replaceButton_->setEnabled(true);
}

void ReplaceTab::report(const ReplaceOutcome& outcome, const QString& filePath) {
  if (outcome.status == ReplaceStatus::NothingToDo) return;
  if (outcome.status != ReplaceStatus::Replaced) {
    asker_.inform(window(), refusalText(outcome, filePath), QStringLiteral("提示"),
                  AskIcon::Warning);
    return;
  }
  if (asker_.askYesNo(window(), toQt(kReplaceDoneQuestion), QStringLiteral("提示"),
                      AskIcon::Information))
    closeWindow_();
}

}  // namespace qz
