// The menu bar of the main window, built from entries: every command of the
// window, old and new, with its shortcut and a one-sentence tip that the
// tooltips and the status line show.  The window's own commands are listed
// in one table, TForm1::createMenus (Unit1Menus.cc).  A feature adds its
// command with one more entry there, or from outside once the window exists:
//
//   form->menus()->add({MenuName::kAnalyze, "explain", "Explain &Conflicts...",
//                       QKeySequence(Qt::CTRL | Qt::Key_E),
//                       "Shows why each highlighted cell holds more than one action.",
//                       [form] { openConflictWindow(form); }});
//
// Entries of one group stand together, between separator lines; groups keep
// the order in which they were first used.  An entry with a submenu goes
// into that submenu of its group.  A menu without entries is hidden, so
// that no menu shows empty before its features arrive.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class QAction;
class QMainWindow;
class QMenu;
class QWidget;

enum class MenuName { kFile, kEdit, kView, kAnalyze, kTransform, kPractice, kHelp };

struct MenuEntry {
  MenuName menu;
  QString group;      // entries of a group stand together
  QString text;       // as the menu shows it; "&" marks the mnemonic
  QKeySequence key;   // may be empty
  QString tip;        // one sentence for the tooltip and the status line
  std::function<void()> run;
  QString submenu{};  // when set, the entry goes into this submenu of its group
};

class MainMenu : public QObject {
  Q_OBJECT

 public:
  // Builds the six menus, File to Help, into the window's menu bar.
  explicit MainMenu(QMainWindow* window);

  // Adds an entry's action; its shortcut works wherever the window has focus.
  QAction* add(const MenuEntry& entry);
  // One more shortcut for an action (Ctrl+= beside Ctrl++).
  void addKey(QAction* action, const QKeySequence& key);
  QMenu* menu(MenuName name) const;
  // The submenu `title` of a group, made when first asked for.
  QMenu* submenu(MenuName name, const QString& group, const QString& title);
  // Every action added, in the order added.
  const QList<QAction*>& actions() const { return actions_; }
  // The action whose text, without "&", is `text`; null when there is none.
  QAction* find(const QString& text) const;

  // "Text (Shortcut)" and the tip on the next line, for a tooltip.
  static QString tooltipOf(const QAction* action);
  // Gives a control the tooltip and status tip of an action.
  static void describe(QWidget* widget, const QAction* action);

 private:
  struct Group {
    QString name;
    QList<QAction*> members;  // actions and submenu actions, in menu order
  };
  // Where a new member of `group` goes: after the group's last member, or
  // after a new separator at the end of the menu.
  void place(MenuName name, const QString& group, QAction* action);
  void showUsedMenus();

  QMainWindow* window_;
  QMap<MenuName, QMenu*> menus_;
  QMap<MenuName, std::vector<Group>> groups_;
  QMap<QString, QMenu*> submenus_;  // by menu, group and title
  QList<QAction*> actions_;
};
