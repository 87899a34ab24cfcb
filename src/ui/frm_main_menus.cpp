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
#include <QTreeWidget>

#include "base/files.h"
#include "base/ini_file.h"
#include "ui/chart_view.h"
#include "ui/date_sheet_commands.h"
#include "ui/frm_main.h"
#include "ui/menu_table.h"
#include "ui/program_files.h"
#include "ui/prompter.h"
#include "ui/skin_files.h"

namespace quorin::ui {

QAction* TFrmMain::AddItem(QMenu* menu, const QString& name, const QString& caption) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(name);
  return action;
}

QAction* TFrmMain::MenuAction(const QString& name) const { return findChild<QAction*>(name); }

void TFrmMain::BuildMenus() {
  // Menus keep the program's font, not the window's scaled one.
  menuBar()->setFont(QApplication::font());
  const auto menu = [&](QMenu* parent, const QString& name, const QString& caption) {
    QMenu* m = parent ? parent->addMenu(caption) : menuBar()->addMenu(caption);
    m->setObjectName(name);
    m->menuAction()->setObjectName(name);
    return m;
  };

  // A named item that runs a command of the window.
  const auto item = [&](QMenu* m, const char* name, const QString& caption, void (TFrmMain::*slot)()) {
    QAction* a = AddItem(m, QString::fromLatin1(name), caption);
    connect(a, &QAction::triggered, this, slot);
    return a;
  };

  QMenu* file = menu(nullptr, QStringLiteral("Mfile"), QStringLiteral("文件(&F)"));
  item(file, "mnuF_save", QStringLiteral("保存课例"), &TFrmMain::SaveCaseClick)
      ->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
  connect(AddItem(file, QStringLiteral("mnuF_sheetPdf"), QStringLiteral("导出日课单(PDF)...")), &QAction::triggered,
          this, [this] { ExportDateSheet(*this); });
  connect(AddItem(file, QStringLiteral("mnuF_sheetPrint"), QStringLiteral("打印日课单...")), &QAction::triggered,
          this, [this] { PrintDateSheet(*this); });
  file->addSeparator();
  item(file, "N17", QStringLiteral("还原案例数据"), &TFrmMain::RestoreCasesClick);
  item(file, "N18", QStringLiteral("备份案例数据"), &TFrmMain::BackUpCasesClick);
  item(file, "N19", QStringLiteral("删除案例数据"), &TFrmMain::DeleteAllCasesClick);
  item(file, "N20", QStringLiteral("整理数据"), &TFrmMain::CompactCasesClick);
  QMenu* transfer = menu(file, QStringLiteral("N21"), QStringLiteral("导入导出"));
  item(transfer, "db1", QStringLiteral("添加db文件"), &TFrmMain::ImportCasesClick);
  item(transfer, "db2", QStringLiteral("导出db文件"), &TFrmMain::ExportCasesClick);
  file->addSeparator();
  QAction* quit = AddItem(file, QStringLiteral("fnumclose"), QStringLiteral("退出"));
  connect(quit, &QAction::triggered, this, &QWidget::close);

  QMenu* knowledge = menu(nullptr, QStringLiteral("S1"), QStringLiteral("相关知识(&S)"));
  item(knowledge, "smnuduan", QStringLiteral("玄空择日"), &TFrmMain::OpenHelpFileClick);

  QMenu* tools = menu(nullptr, QStringLiteral("Tmnu"), QStringLiteral("辅助工具(&T)"));
  item(tools, "N5", QStringLiteral("四柱排盘"), &TFrmMain::ReversePillarSearchClick);
  item(tools, "N6", QStringLiteral("易经卦爻辞"), &TFrmMain::IChingTextClick);
  item(tools, "N2", QStringLiteral("经纬度设置"), &TFrmMain::N2Click);
  item(tools, "Tmnuwnl", QStringLiteral("万年历"), &TFrmMain::PerpetualCalendarClick);

  QMenu* options = menu(nullptr, QStringLiteral("Omnu"), QStringLiteral("选项(&O)"));
  QMenu* text = menu(options, QStringLiteral("Omnuset"), QStringLiteral("文本设置"));
  item(text, "Osetmo", QStringLiteral("默认"), &TFrmMain::OsetmoClick);
  item(text, "Omnusetfont", QStringLiteral("字体设置"), &TFrmMain::OmnusetfontClick);
  item(text, "Omnusetcolor", QStringLiteral("背景色设置"), &TFrmMain::OmnusetcolorClick);
  item(options, "OmenuSet", QStringLiteral("排盘设置"), &TFrmMain::OmenuSetClick);
  Opt_Skin = menu(options, QStringLiteral("Opt_Skin"), QStringLiteral("界面风格"));
  item(options, "N9", QStringLiteral("放大排盘字体"), &TFrmMain::N9Click);
  item(options, "N10", QStringLiteral("缩小排盘字体"), &TFrmMain::N10Click);

  QMenu* help = menu(nullptr, QStringLiteral("Hmnu"), QStringLiteral("帮助(&H)"));
  item(help, "HmnuRhelp", QStringLiteral("软件帮助"), &TFrmMain::HelpTextClick);
}

void TFrmMain::BuildPopups() {
  // The six editing commands, the selection font, saving and printing of one editor.
  const auto editorMenu = [&](QTextEdit* editor, const QString& menuName, const QStringList& names,
                              const QStringList& captions) {
    auto* popup = new QMenu(this);
    popup->setObjectName(menuName);
    QList<QAction*> items;
    for (qsizetype i = 0; i < names.size(); ++i) {
      if (names[i].isEmpty()) {
        popup->addSeparator();
        items.append(nullptr);
      } else {
        items.append(AddItem(popup, names[i], captions[i]));
      }
    }
    connect(editor, &QWidget::customContextMenuRequested, popup,
            [editor, popup](const QPoint& at) { popup->popup(editor->viewport()->mapToGlobal(at)); });
    return std::make_pair(popup, items);
  };

  auto [out, outItems] = editorMenu(
      RedtOut, QStringLiteral("PopRdtOut"),
      {QStringLiteral("MenuItem5"), {}, QStringLiteral("MenuItem7"), QStringLiteral("MenuItem8"), QStringLiteral("MenuItem9"),
       QStringLiteral("MenuItem10"), QStringLiteral("MenuItem11"), {}, QStringLiteral("RlySetFont"),
       QStringLiteral("Rlyimport"), QStringLiteral("RlysaveAs"), QStringLiteral("Rlyprint")},
      {QStringLiteral("撤销"), {}, QStringLiteral("复制"), QStringLiteral("粘贴"), QStringLiteral("剪切"),
       QStringLiteral("删除"), QStringLiteral("全选"), {}, QStringLiteral("设置选中文字"), QStringLiteral("导入文件"),
       QStringLiteral("另存为"), QStringLiteral("打印课例")});
  PopRdtOut = out;
  auto [pingYu, pingYuItems] = editorMenu(
      RedtPingYu, QStringLiteral("PopPingYu"),
      {QStringLiteral("MenuItem31"), {}, QStringLiteral("MenuItem33"), QStringLiteral("MenuItem34"),
       QStringLiteral("MenuItem35"), QStringLiteral("MenuItem36"), QStringLiteral("MenuItem37"), {},
       QStringLiteral("MenuItem39"), {}, QStringLiteral("MenuItem41"), QStringLiteral("MenuItem42")},
      {QStringLiteral("撤销"), {}, QStringLiteral("复制"), QStringLiteral("粘帖"), QStringLiteral("剪切"),
       QStringLiteral("删除"), QStringLiteral("全选"), {}, QStringLiteral("设置选中文本"), {}, QStringLiteral("另存为"),
       QStringLiteral("打印")});
  PopPingYu = pingYu;

  const auto wireEditing = [this](QTextEdit* editor, const QList<QAction*>& items) {
    connect(items[0], &QAction::triggered, editor, &QTextEdit::undo);
    connect(items[2], &QAction::triggered, editor, &QTextEdit::copy);
    connect(items[3], &QAction::triggered, editor, &QTextEdit::paste);
    connect(items[4], &QAction::triggered, editor, &QTextEdit::cut);
    connect(items[5], &QAction::triggered, editor, [editor] { editor->textCursor().removeSelectedText(); });
    connect(items[6], &QAction::triggered, editor, &QTextEdit::selectAll);
    connect(items[8], &QAction::triggered, this, [this, editor] { SetSelectionFont(editor); });
  };
  wireEditing(RedtOut, outItems);
  wireEditing(RedtPingYu, pingYuItems);
  connect(outItems[9], &QAction::triggered, this, &TFrmMain::RlyimportClick);
  connect(outItems[10], &QAction::triggered, this, [this] { SaveTextAs(RedtOut); });
  connect(outItems[11], &QAction::triggered, this, [this] { PrintText(RedtOut); });
  connect(pingYuItems[10], &QAction::triggered, this, [this] { SaveTextAs(RedtPingYu); });
  connect(pingYuItems[11], &QAction::triggered, this, [this] { PrintText(RedtPingYu); });

  // The date sheet is offered beside the picture's own commands.
  View->AddPopupRows({Item("ImgSheetPdf", "导出日课单(PDF)...", [this] { ExportDateSheet(*this); }),
                      Item("ImgSheetPrint", "打印日课单...", [this] { PrintDateSheet(*this); })},
                     *this);

  // The case tree's popup: display style and order, and the case commands.
  PopGuaLi = new QMenu(this);
  PopGuaLi->setObjectName(QStringLiteral("PopGuaLi"));
  QMenu* style = PopGuaLi->addMenu(QStringLiteral("显示样式"));
  style->setObjectName(QStringLiteral("pMenuShowStyle"));
  styleGroup_ = new QActionGroup(this);
  sortGroup_ = new QActionGroup(this);
  const auto checkable = [&](QActionGroup* group, const char* name, const QString& caption) {
    QAction* a = AddItem(style, QString::fromLatin1(name), caption);
    a->setCheckable(true);
    group->addAction(a);
  };
  checkable(styleGroup_, "N11", QStringLiteral("分类显示"));
  checkable(styleGroup_, "N12", QStringLiteral("列表显示"));
  style->addSeparator();
  checkable(sortGroup_, "N14", QStringLiteral("时间降序（近-远）"));
  checkable(sortGroup_, "N15", QStringLiteral("时间升序（远-近）"));
  checkable(sortGroup_, "az1", QStringLiteral("姓氏升序（a-z）"));
  checkable(sortGroup_, "za1", QStringLiteral("姓氏降序（z-a）"));
  checkable(sortGroup_, "N16", QStringLiteral("无"));
  const auto treeItem = [&](const char* name, const QString& caption, void (TFrmMain::*slot)()) {
    QAction* a = AddItem(PopGuaLi, QString::fromLatin1(name), caption);
    if (slot) connect(a, &QAction::triggered, this, slot);
  };
  PopGuaLi->addSeparator();
  treeItem("pop_ming_pai", QStringLiteral("查看课例"), &TFrmMain::OpenCaseClick);
  pop_ming_move = PopGuaLi->addMenu(QStringLiteral("移动到"));
  pop_ming_move->setObjectName(QStringLiteral("pop_ming_move"));
  pop_ming_move->menuAction()->setObjectName(QStringLiteral("pop_ming_move"));
  connect(pop_ming_move, &QMenu::triggered, this, [this](QAction* item) { MoveCaseTo(item->text()); });
  treeItem("pop_ming_delete", QStringLiteral("删除课例"), &TFrmMain::DeleteCaseClick);
  PopGuaLi->addSeparator();
  treeItem("N23", QStringLiteral("编辑类别"), &TFrmMain::EditClassClick);
  treeItem("N25", QStringLiteral("模糊查找"), &TFrmMain::FuzzySearchClick);
  treeItem("pop_search", QStringLiteral("条件查找"), &TFrmMain::ConditionalSearchClick);
  treeItem("pop_s_full", QStringLiteral("显示全部课例"), &TFrmMain::ShowAllCasesClick);
  treeItem("N24", QStringLiteral("刷新显示"), &TFrmMain::RefreshTree);
  treeItem("pMenuRecord", QStringLiteral("案例总数"), nullptr);
  connect(Tree, &QWidget::customContextMenuRequested, PopGuaLi, [this](const QPoint& at) {
    PrepareTreePopup();
    PopGuaLi->popup(Tree->viewport()->mapToGlobal(at));
  });
  connect(Tree, &QTreeWidget::itemDoubleClicked, this, [this] { OpenCaseClick(); });
}

// Lists skins/*.skn under "界面风格" and applies the saved choice.
void TFrmMain::BuildSkinMenu(const base::LayoutPrefs& prefs) {
  Opt_Skin->clear();
  skinGroup_ = new QActionGroup(this);
  const QStringList captions = SkinCaptions(SkinFolders());
  for (const QString& caption : captions) {
    QAction* item = Opt_Skin->addAction(caption);
    item->setCheckable(true);
    skinGroup_->addAction(item);
  }
  if (!captions.isEmpty()) {
    Opt_Skin->addSeparator();
    QAction* system = Opt_Skin->addAction(QString::fromUtf8(kSystemDefaultSkin));
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
    item->setChecked(isSystem ? inUse.isEmpty() : !inUse.isEmpty() && item->text() == inUse);
  }
}

void TFrmMain::ChooseSkin(QAction* item) {
  for (QAction* sibling : skinGroup_->actions()) sibling->setChecked(sibling == item);
  if (item->text() == QString::fromUtf8(kSystemDefaultSkin)) {
    skin_.SetActive(false);
    update();
    if (layoutIni_ && !base::WriteSkinChoice(*layoutIni_, false, {})) ReportLayoutWriteFailure();
    return;
  }
  const QString path = SkinFilePath(SkinFolders(), item->text());
  if (!QFileInfo::exists(path)) {
    SyncSkinChecks();
    Tell(this, QStringLiteral("对应的皮肤文件已经丢失，请关闭软件，再重新打开软件！"));
    return;
  }
  if (!skin_.Load(path)) {
    SyncSkinChecks();
    Tell(this, skin_.LastError(), QStringLiteral("错误"), Icon::Error);
    return;
  }
  skin_.SetActive(true);
  if (layoutIni_ && !base::WriteSkinChoice(*layoutIni_, true, ToUtf8(item->text()))) ReportLayoutWriteFailure();
}

void TFrmMain::TreeStyleChanged(QAction*) {
  if (treeLoading_) {
    SyncStyleChecks();  // the marks go back to the style and order in use
    Tell(this, QStringLiteral("请等待案例加载完毕！"));
    return;
  }
  // The marked style and order are read back; an order shown as "无" (the fifth) is 0.
  const std::vector<int> ids = CurrentCaseIds();
  const QList<QAction*> styles = styleGroup_->actions();
  const QList<QAction*> sorts = sortGroup_->actions();
  for (int i = 0; i < styles.size(); ++i) {
    if (styles[i]->isChecked()) treeShowStyle_ = i;
  }
  for (int i = 0; i < sorts.size(); ++i) {
    if (sorts[i]->isChecked()) treeSort_ = i + 1 == 5 ? 0 : i + 1;
  }
  ShowCases(ids);
}

void TFrmMain::SyncStyleChecks() {
  const QList<QAction*> styles = styleGroup_->actions();
  const QList<QAction*> sorts = sortGroup_->actions();
  for (int i = 0; i < styles.size(); ++i) styles[i]->setChecked(i == treeShowStyle_);
  for (int i = 0; i < sorts.size(); ++i) sorts[i]->setChecked(i + 1 == (treeSort_ == 0 ? 5 : treeSort_));
}

}  // namespace quorin::ui
