// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/prompter.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QUrl>

#include "qtdraw/shown_text.h"

namespace quorin::ui {

namespace {

QString QtFilter(const QList<FileFilter>& filters) {
  QStringList parts;
  for (const FileFilter& f : filters) parts << QStringLiteral("%1 (%2)").arg(f.label, f.pattern);
  return parts.join(QStringLiteral(";;"));
}

// Messages keep the Windows line breaks of their texts; a Qt label breaks lines at '\n' alone.
// Messages carry the engine's and the case library's texts too (simplified Chinese); a box
// shows the whole message in the program's script.
QString ForLabel(const QString& text) {
  return qtdraw::ShownQString(text.toStdString()).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// The dialogs of the screen.
class ScreenPrompter final : public Prompter {
 public:
  Answer Ask(QWidget* parent, const Message& m) override {
    QMessageBox box(parent);
    box.setWindowTitle(m.caption.isEmpty() ? QApplication::applicationName() : qtdraw::ShownQString(m.caption.toStdString()));
    // Plain text keeps names the user typed from being read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(ForLabel(m.text));
    switch (m.icon) {
      case Icon::Information: box.setIcon(QMessageBox::Information); break;
      case Icon::Warning: box.setIcon(QMessageBox::Warning); break;
      case Icon::Error: box.setIcon(QMessageBox::Critical); break;
      case Icon::Question: box.setIcon(QMessageBox::Question); break;
      case Icon::None: break;
    }
    switch (m.buttons) {
      case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
      case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
      case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
      case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    if (!m.yesText.isEmpty() && box.button(QMessageBox::Yes)) box.button(QMessageBox::Yes)->setText(m.yesText);
    if (!m.noText.isEmpty() && box.button(QMessageBox::No)) box.button(QMessageBox::No)->setText(m.noText);
    box.setDefaultButton(StandardOf(m.defaultButton, m.buttons));
    switch (box.exec()) {
      case QMessageBox::Yes: return Answer::Yes;
      case QMessageBox::No: return Answer::No;
      case QMessageBox::Cancel: return Answer::Cancel;
      default: return m.buttons == Buttons::YesNo ? Answer::No : (m.buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel);
    }
  }

  int Choose(QWidget* parent, const Message& m, const QStringList& choices) override {
    QMessageBox box(parent);
    box.setWindowTitle(m.caption.isEmpty() ? QApplication::applicationName() : qtdraw::ShownQString(m.caption.toStdString()));
    box.setTextFormat(Qt::PlainText);
    box.setText(ForLabel(m.text));
    box.setIcon(QMessageBox::Warning);
    QList<QAbstractButton*> buttons;
    for (const QString& choice : choices) buttons.append(box.addButton(choice, QMessageBox::ActionRole));
    box.exec();
    return static_cast<int>(buttons.indexOf(box.clickedButton()));
  }

  std::optional<QString> Input(QWidget* parent, const QString& caption, const QString& prompt,
                               const QString& initial) override {
    bool ok = false;
    const QString text = QInputDialog::getText(parent, caption, ForLabel(prompt), QLineEdit::Normal, initial, &ok);
    if (!ok) return std::nullopt;
    return text;
  }

  std::optional<FileChoice> OpenFile(QWidget* parent, const FileRequest& r) override {
    return RunFileDialog(parent, r, QFileDialog::AcceptOpen);
  }
  std::optional<FileChoice> SaveFile(QWidget* parent, const FileRequest& r) override {
    return RunFileDialog(parent, r, QFileDialog::AcceptSave);
  }

  std::optional<QFont> ChooseFont(QWidget* parent, const QFont& initial) override {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, parent);
    if (!ok) return std::nullopt;
    return font;
  }

  std::optional<QColor> ChooseColor(QWidget* parent, const QColor& initial) override {
    const QColor color = QColorDialog::getColor(initial, parent);
    if (!color.isValid()) return std::nullopt;
    return color;
  }

  bool SetUpPrinter(QWidget* parent, QPrinter& printer) override {
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(1, 100);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, true);
    return dialog.exec() == QDialog::Accepted;
  }

  std::optional<QString> ChooseFolder(QWidget* parent, const QString& prompt) override {
    const QString chosen = QFileDialog::getExistingDirectory(parent, prompt);
    if (chosen.isEmpty()) return std::nullopt;
    return chosen;
  }

  void ShowFolder(const QString& folder) override { QDesktopServices::openUrl(QUrl::fromLocalFile(folder)); }

 private:
  static QMessageBox::StandardButton StandardOf(Answer a, Buttons buttons) {
    switch (a) {
      case Answer::Yes: return QMessageBox::Yes;
      case Answer::No: return QMessageBox::No;
      case Answer::Cancel: return QMessageBox::Cancel;
      case Answer::Ok: return buttons == Buttons::YesNo ? QMessageBox::Yes : QMessageBox::Ok;
    }
    return QMessageBox::Ok;
  }

  static std::optional<FileChoice> RunFileDialog(QWidget* parent, const FileRequest& r,
                                                 QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, r.title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // Every save command appends its extension and asks itself before replacing the file it
    // will write; the dialog asking too would put the question twice.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, mode == QFileDialog::AcceptSave);
    const QStringList filters = QtFilter(r.filters).split(QStringLiteral(";;"));
    dialog.setNameFilters(filters);
    if (r.selectedFilter >= 0 && r.selectedFilter < filters.size()) dialog.selectNameFilter(filters[r.selectedFilter]);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return FileChoice{dialog.selectedFiles().first(),
                      static_cast<int>(std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter())))};
  }
};

Prompter*& Installed() {
  static Prompter* installed = nullptr;
  return installed;
}

}  // namespace

QList<FileFilter> ParseFilterList(const QString& pipeSeparated) {
  const QStringList parts = pipeSeparated.split(QLatin1Char('|'));
  QList<FileFilter> filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) filters.append({parts[i], parts[i + 1]});
  return filters;
}

Prompter& Prompts() {
  static ScreenPrompter screen;
  return Installed() ? *Installed() : screen;
}

void InstallPrompter(Prompter* prompter) { Installed() = prompter; }

void Tell(QWidget* parent, const QString& text, const QString& caption, Icon icon) {
  Prompts().Ask(parent, Message{caption, text, Buttons::Ok, Answer::Ok, icon, {}, {}});
}

bool AskYesNo(QWidget* parent, const QString& text, const QString& caption, Icon icon, Answer defaultButton) {
  return Prompts().Ask(parent, Message{caption, text, Buttons::YesNo, defaultButton, icon, {}, {}}) == Answer::Yes;
}

std::optional<QString> ChooseFolder(QWidget* parent, const QString& prompt) {
  std::optional<QString> folder = Prompts().ChooseFolder(parent, prompt);
  if (!folder || folder->isEmpty()) return std::nullopt;
  if (!folder->endsWith(QLatin1Char('/'))) folder->append(QLatin1Char('/'));
  return folder;
}

}  // namespace quorin::ui
