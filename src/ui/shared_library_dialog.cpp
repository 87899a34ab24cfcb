// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shared_library_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/program_files.h"
#include "ui/prompter.h"
#include "ui/ui_font.h"

namespace quorin::ui {
namespace {

// The TLS modes in the words of the dialog, in the order of cases::kSslModes.
QStringList SslModeTexts() {
  return {QObject::tr("服务器提供时加密（prefer）"), QObject::tr("必须加密（require）"),
          QObject::tr("加密并验证证书（verify-ca）"), QObject::tr("加密并验证证书和服务器名（verify-full）"),
          QObject::tr("不加密（disable）")};
}

QLineEdit* NewEdit(QWidget* parent, const char* name, const std::string& text) {
  auto* edit = new QLineEdit(ToQString(text), parent);
  edit->setObjectName(QLatin1String(name));
  return edit;
}

}  // namespace

SharedLibraryDialog::SharedLibraryDialog(const cases::LibraryAddress& address, const QString& password, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("FrmSharedLibrary"));
  setWindowTitle(tr("连接共享案例库"));
  ApplyProgramUiFont(this);
  host_ = NewEdit(this, "EdtHost", address.host);
  host_->setPlaceholderText(tr("服务器名或地址"));
  port_ = NewEdit(this, "EdtPort", address.port);
  port_->setPlaceholderText(QStringLiteral("5432"));
  database_ = NewEdit(this, "EdtDatabase", address.database);
  user_ = NewEdit(this, "EdtUser", address.user);
  sslMode_ = new QComboBox(this);
  sslMode_->setObjectName(QStringLiteral("CmbSslMode"));
  sslMode_->addItems(SslModeTexts());
  for (int i = 0; i < static_cast<int>(std::size(cases::kSslModes)); ++i) {
    if (address.sslMode == cases::kSslModes[i]) sslMode_->setCurrentIndex(i);
  }
  rootCertificate_ = NewEdit(this, "EdtRootCert", address.rootCertificate);
  rootCertificate_->setPlaceholderText(tr("诊所自己的根证书（验证证书时）"));
  auto* browse = new QPushButton(tr("浏览..."), this);
  browse->setObjectName(QStringLiteral("BtnRootCert"));
  connect(browse, &QPushButton::clicked, this, &SharedLibraryDialog::ChooseCertificate);
  auto* certificateRow = new QHBoxLayout;
  certificateRow->addWidget(rootCertificate_, 1);
  certificateRow->addWidget(browse);
  password_ = new QLineEdit(password, this);
  password_->setObjectName(QStringLiteral("EdtPassword"));
  password_->setEchoMode(QLineEdit::Password);
  password_->setPlaceholderText(tr("不需要密码时留空"));
  keepPassword_ = new QCheckBox(tr("在系统密钥环中记住密码"), this);
  keepPassword_->setObjectName(QStringLiteral("ChkKeepPassword"));
  keepPassword_->setChecked(true);

  auto* form = new QFormLayout;
  form->addRow(tr("服务器："), host_);
  form->addRow(tr("端口："), port_);
  form->addRow(tr("数据库："), database_);
  form->addRow(tr("用户："), user_);
  form->addRow(tr("加密连接："), sslMode_);
  form->addRow(tr("根证书："), certificateRow);
  form->addRow(tr("密码："), password_);
  form->addRow(QString(), keepPassword_);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* connectButton = buttons->addButton(tr("连接"), QDialogButtonBox::AcceptRole);
  connectButton->setObjectName(QStringLiteral("BtnConnect"));
  connectButton->setDefault(true);
  QPushButton* cancel = buttons->addButton(tr("取消"), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("BtnCancel"));
  connect(buttons, &QDialogButtonBox::accepted, this, &SharedLibraryDialog::AcceptFilledIn);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  setMinimumWidth(460);
}

cases::LibraryAddress SharedLibraryDialog::Address() const {
  cases::LibraryAddress a;
  a.host = ToUtf8(host_->text().trimmed());
  a.port = ToUtf8(port_->text().trimmed());
  a.database = ToUtf8(database_->text().trimmed());
  a.user = ToUtf8(user_->text().trimmed());
  a.sslMode = cases::kSslModes[std::max(0, sslMode_->currentIndex())];
  a.rootCertificate = ToUtf8(rootCertificate_->text().trimmed());
  return a;
}

QString SharedLibraryDialog::Password() const { return password_->text(); }

bool SharedLibraryDialog::KeepPasswordInKeyring() const { return keepPassword_->isChecked(); }

void SharedLibraryDialog::ChooseCertificate() {
  const FileRequest request{tr("选择根证书"), ParseFilterList(tr("证书|*.crt *.pem|全部文件|*")), 0};
  if (const std::optional<FileChoice> chosen = Prompts().OpenFile(this, request)) rootCertificate_->setText(chosen->path);
}

void SharedLibraryDialog::AcceptFilledIn() {
  if (database_->text().trimmed().isEmpty() || user_->text().trimmed().isEmpty()) {
    Tell(this, tr("请填写数据库和用户！"));
    return;
  }
  accept();
}

}  // namespace quorin::ui
