// SPDX-License-Identifier: GPL-3.0-or-later
// The main menu, the popup menus and the skin submenu of the main window.
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QActionGroup>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QTextEdit>
#include <array>
#include <vector>

#include "base/files.h"
#include "base/ini_file.h"
#include "qtdraw/shown_text.h"
#include "ui/chart_view.h"
#include "ui/date_sheet_commands.h"
#include "ui/frm_main.h"
#include "ui/menu_table.h"
#include "ui/program_files.h"
#include "ui/prompter.h"
#include "ui/skin_files.h"
#include "ui/ui_text.h"

namespace quorin::ui {

namespace {

// The editing commands both text popups begin with, under each popup's own item names.
std::vector<MenuRow> EditingRows(QTextEdit* editor, const std::array<const char*, 6>& names, const char* pasteCaption) {
  return {
      Item(names[0], QT_TRANSLATE_NOOP("Menu", "撤销"), [editor] { editor->undo(); }),
      Separator(),
      Item(names[1], QT_TRANSLATE_NOOP("Menu", "复制"), [editor] { editor->copy(); }),
      Item(names[2], pasteCaption, [editor] { editor->paste(); }),
      Item(names[3], QT_TRANSLATE_NOOP("Menu", "剪切"), [editor] { editor->cut(); }),
      Item(names[4], QT_TRANSLATE_NOOP("Menu", "删除"), [editor] { editor->textCursor().removeSelectedText(); }),
      Item(names[5], QT_TRANSLATE_NOOP("Menu", "全选"), [editor] { editor->selectAll(); }),
  };
}

}  // namespace

QAction* TFrmMain::MenuAction(const QString& name) const { return findChild<QAction*>(name); }

void TFrmMain::BuildMenus() {
  // Menus keep the program's font, not the window's scaled one.
  menuBar()->setFont(QApplication::font());
  AddMenuRows(
      *menuBar(),
      {
          Submenu("Mfile", QT_TRANSLATE_NOOP("Menu", "文件(&F)"),
                  {
                      Item(
                          "mnuF_save", QT_TRANSLATE_NOOP("Menu", "保存课例"), [this] { SaveCase(); },
                          QKeySequence(QStringLiteral("Ctrl+S"))),
                      Item("mnuF_sheetPdf", QT_TRANSLATE_NOOP("Menu", "导出日课单(PDF)..."),
                           [this] { ExportDateSheet(*this); }),
                      Item("mnuF_sheetPrint", QT_TRANSLATE_NOOP("Menu", "打印日课单..."),
                           [this] { PrintDateSheet(*this); }),
                      Separator(),
                      Item("N17", QT_TRANSLATE_NOOP("Menu", "还原案例数据"), [this] { RestoreCases(); }),
                      Item("N18", QT_TRANSLATE_NOOP("Menu", "备份案例数据"), [this] { BackUpCases(); }),
                      Item("N19", QT_TRANSLATE_NOOP("Menu", "删除案例数据"), [this] { DeleteAllCases(); }),
                      Item("N20", QT_TRANSLATE_NOOP("Menu", "整理数据"), [this] { CompactCases(); }),
                      Submenu("N21", QT_TRANSLATE_NOOP("Menu", "导入导出"),
                              {
                                  Item("db1", QT_TRANSLATE_NOOP("Menu", "添加db文件"), [this] { ImportCases(); }),
                                  Item("db2", QT_TRANSLATE_NOOP("Menu", "导出db文件"), [this] { ExportCases(); }),
                              }),
                      Separator(),
                      Item("mnuF_sharedLibrary", QT_TRANSLATE_NOOP("Menu", "连接共享案例库..."),
                           [this] { ConnectSharedLibrary(); }),
                      Item("mnuF_localLibrary", QT_TRANSLATE_NOOP("Menu", "使用本机案例库"), [this] { UseLocalLibrary(); }),
                      Separator(),
                      Item("fnumclose", QT_TRANSLATE_NOOP("Menu", "退出"), [this] { close(); }),
                  }),
          Submenu("S1", QT_TRANSLATE_NOOP("Menu", "相关知识(&S)"),
                  {Item("smnuduan", QT_TRANSLATE_NOOP("Menu", "玄空择日"), [this] { ShowHelpDocument(); })}),
          Submenu("Tmnu", QT_TRANSLATE_NOOP("Menu", "辅助工具(&T)"),
                  {
                      Item("N5", QT_TRANSLATE_NOOP("Menu", "四柱排盘"), [this] { ReversePillarSearch(); }),
                      Item("N6", QT_TRANSLATE_NOOP("Menu", "易经卦爻辞"), [this] { ShowIChingTexts(); }),
                      Item("N2", QT_TRANSLATE_NOOP("Menu", "经纬度设置"), [this] { EditPlaceCoordinates(); }),
                      Item("NOwnPlaces", QT_TRANSLATE_NOOP("Menu", "自定地点（海外等）"), [this] { EditOwnPlaces(); }),
                      Item("Tmnuwnl", QT_TRANSLATE_NOOP("Menu", "万年历"), [this] { ShowPerpetualCalendar(); }),
                  }),
          Submenu("Omnu", QT_TRANSLATE_NOOP("Menu", "选项(&O)"),
                  {
                      Submenu("Omnuset", QT_TRANSLATE_NOOP("Menu", "文本设置"),
                              {
                                  Item("Osetmo", QT_TRANSLATE_NOOP("Menu", "默认"), [this] { ResetChartTextLook(); }),
                                  Item("Omnusetfont", QT_TRANSLATE_NOOP("Menu", "字体设置"),
                                       [this] { ChooseChartTextFont(); }),
                                  Item("Omnusetcolor", QT_TRANSLATE_NOOP("Menu", "背景色设置"),
                                       [this] { ChooseChartTextBackground(); }),
                              }),
                      Item("OmenuSet", QT_TRANSLATE_NOOP("Menu", "排盘设置"), [this] { OpenChartSettings(); }),
                      Submenu("Opt_Skin", QT_TRANSLATE_NOOP("Menu", "界面风格")),  // the skins found at start
                      Item("N9", QT_TRANSLATE_NOOP("Menu", "放大排盘字体"), [this] { EnlargeChartFont(); }),
                      Item("N10", QT_TRANSLATE_NOOP("Menu", "缩小排盘字体"), [this] { ShrinkChartFont(); }),
                  }),
          Submenu("Hmnu", QT_TRANSLATE_NOOP("Menu", "帮助(&H)"),
                  {Item("HmnuRhelp", QT_TRANSLATE_NOOP("Menu", "软件帮助"), [this] { ShowProgramHelp(); })}),
      },
      *this);
  skinMenu_ = menuBar()->findChild<QMenu*>(QStringLiteral("Opt_Skin"));
}

void TFrmMain::BuildPopups() {
  // Each text's popup opens where it was right-clicked.
  const auto popupOf = [this](QTextEdit* editor, const QString& name, const std::vector<MenuRow>& rows) {
    auto* popup = new QMenu(this);
    popup->setObjectName(name);
    AddMenuRows(*popup, rows, *this);
    connect(editor, &QWidget::customContextMenuRequested, popup,
            [editor, popup](const QPoint& at) { popup->popup(editor->viewport()->mapToGlobal(at)); });
  };
  std::vector<MenuRow> chartTextRows =
      EditingRows(chartTextView_, {"MenuItem5", "MenuItem7", "MenuItem8", "MenuItem9", "MenuItem10", "MenuItem11"},
                  QT_TRANSLATE_NOOP("Menu", "粘贴"));
  chartTextRows.insert(
      chartTextRows.end(),
      {
          Separator(),
          Item("RlySetFont", QT_TRANSLATE_NOOP("Menu", "设置选中文字"), [this] { SetSelectionFont(chartTextView_); }),
          Item("Rlyimport", QT_TRANSLATE_NOOP("Menu", "导入文件"), [this] { ImportChartText(); }),
          Item("RlysaveAs", QT_TRANSLATE_NOOP("Menu", "另存为"), [this] { SaveTextAs(chartTextView_); }),
          Item("Rlyprint", QT_TRANSLATE_NOOP("Menu", "打印课例"), [this] { PrintText(chartTextView_); }),
      });
  popupOf(chartTextView_, QStringLiteral("PopRdtOut"), chartTextRows);
  std::vector<MenuRow> remarkRows =
      EditingRows(remarkEditor_, {"MenuItem31", "MenuItem33", "MenuItem34", "MenuItem35", "MenuItem36", "MenuItem37"},
                  QT_TRANSLATE_NOOP("Menu", "粘帖"));
  remarkRows.insert(
      remarkRows.end(),
      {
          Separator(),
          Item("MenuItem39", QT_TRANSLATE_NOOP("Menu", "设置选中文本"), [this] { SetSelectionFont(remarkEditor_); }),
          Separator(),
          Item("MenuItem41", QT_TRANSLATE_NOOP("Menu", "另存为"), [this] { SaveTextAs(remarkEditor_); }),
          Item("MenuItem42", QT_TRANSLATE_NOOP("Menu", "打印"), [this] { PrintText(remarkEditor_); }),
      });
  popupOf(remarkEditor_, QStringLiteral("PopPingYu"), remarkRows);

  // The date sheet is offered beside the picture's own commands.
  chartView_->AddPopupRows(
      {Item("ImgSheetPdf", QT_TRANSLATE_NOOP("Menu", "导出日课单(PDF)..."), [this] { ExportDateSheet(*this); }),
       Item("ImgSheetPrint", QT_TRANSLATE_NOOP("Menu", "打印日课单..."), [this] { PrintDateSheet(*this); })},
      *this);
}

// Lists skins/*.skn under "界面风格" and applies the saved choice.
void TFrmMain::BuildSkinMenu(const base::LayoutPrefs& prefs) {
  skinMenu_->clear();
  skinGroup_ = new QActionGroup(this);
  const QStringList captions = SkinCaptions(SkinFolders());
  for (const QString& caption : captions) {
    // Named in the program's script; the file's own name rides along for finding it.
    QAction* item = skinMenu_->addAction(qtdraw::ShownQString(caption.toStdString()));
    item->setData(caption);
    item->setCheckable(true);
    skinGroup_->addAction(item);
  }
  if (!captions.isEmpty()) {
    skinMenu_->addSeparator();
    QAction* system = skinMenu_->addAction(UiText::tr(kSystemDefaultSkin));
    system->setObjectName(QStringLiteral("SkinSystemDefault"));
    system->setCheckable(true);
    skinGroup_->addAction(system);
  }
  connect(skinGroup_, &QActionGroup::triggered, this, &TFrmMain::ChooseSkin);

  if (prefs.skined) {
    // A skin that is gone or unreadable leaves the standard look, and the mark says so.
    skin_.Load(SkinFilePath(SkinFolders(), ToQString(prefs.skinname)));
    skin_.SetActive(true);
  } else {
    skin_.SetActive(false);
  }
  SyncSkinChecks();
}

void TFrmMain::SyncSkinChecks() {
  // The loaded skin's caption is its file name without ".skn"; no skin is the standard look.
  const QString suffix = QStringLiteral(".skn");
  const QString inUse = skin_.Active() && !skin_.Path().isEmpty()
                            ? QFileInfo(skin_.Path()).fileName().chopped(suffix.size())
                            : QString();
  for (QAction* item : skinGroup_->actions()) {
    const bool isSystem = item->objectName() == QStringLiteral("SkinSystemDefault");
    item->setChecked(isSystem ? inUse.isEmpty() : !inUse.isEmpty() && item->data().toString() == inUse);
  }
}

void TFrmMain::ChooseSkin(QAction* item) {
  for (QAction* sibling : skinGroup_->actions()) sibling->setChecked(sibling == item);
  if (item->objectName() == QStringLiteral("SkinSystemDefault")) {
    skin_.SetActive(false);
    update();
    if (layoutIni_ && !base::WriteSkinChoice(*layoutIni_, false, {})) ReportLayoutWriteFailure();
    return;
  }
  const QString path = SkinFilePath(SkinFolders(), item->data().toString());
  if (!QFileInfo::exists(path)) {
    SyncSkinChecks();
    Tell(this, tr("对应的皮肤文件已经丢失，请关闭软件，再重新打开软件！"));
    return;
  }
  if (!skin_.Load(path)) {
    SyncSkinChecks();
    Tell(this, skin_.LastError(), tr("错误"), Icon::Error);
    return;
  }
  skin_.SetActive(true);
  if (layoutIni_ && !base::WriteSkinChoice(*layoutIni_, true, ToUtf8(item->data().toString()))) ReportLayoutWriteFailure();
}

}  // namespace quorin::ui
