#include "MainMenu.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>

namespace {

struct MenuTitle {
  MenuName name;
  const char* title;
};
constexpr MenuTitle kTitles[] = {
    {MenuName::kFile, "&File"},         {MenuName::kEdit, "&Edit"},         {MenuName::kView, "&View"},
    {MenuName::kAnalyze, "&Analyze"}, {MenuName::kTransform, "&Transform"}, {MenuName::kPractice, "&Practice"}, {MenuName::kHelp, "&Help"},
};

QString plain(QString text) { return text.remove(QLatin1Char('&')); }

// A standard key brings every binding the platform has for it (Redo is
// Ctrl+Shift+Z and Ctrl+Y on some desktops), the menu showing the first.
QList<QKeySequence> bindingsOf(const QKeySequence& key) {
  if (key.isEmpty()) return {};
  for (QKeySequence::StandardKey standard :
       {QKeySequence::New, QKeySequence::Open, QKeySequence::Save, QKeySequence::Undo, QKeySequence::Redo,
        QKeySequence::Cut, QKeySequence::Copy, QKeySequence::Paste, QKeySequence::SelectAll, QKeySequence::ZoomIn,
        QKeySequence::ZoomOut}) {
    QList<QKeySequence> bindings = QKeySequence::keyBindings(standard);
    if (!bindings.isEmpty() && bindings.front() == key) return bindings;
  }
  return {key};
}

}  // namespace

MainMenu::MainMenu(QMainWindow* window) : QObject(window), window_(window) {
  QMenuBar* bar = window->menuBar();
  // In the window on every desktop: a global menu bar would move the form.
  bar->setNativeMenuBar(false);
  for (const MenuTitle& title : kTitles) {
    QMenu* menu = bar->addMenu(QString::fromLatin1(title.title));
    menu->setToolTipsVisible(true);
    menus_[title.name] = menu;
  }
  showUsedMenus();
}

QAction* MainMenu::add(const MenuEntry& entry) {
  auto* action = new QAction(entry.text, window_);
  action->setShortcuts(bindingsOf(entry.key));
  action->setStatusTip(entry.tip);
  action->setToolTip(entry.tip);
  action->setShortcutContext(Qt::WindowShortcut);
  if (entry.run) connect(action, &QAction::triggered, this, [run = entry.run] { run(); });
  if (entry.submenu.isEmpty()) {
    place(entry.menu, entry.group, action);
  } else {
    submenu(entry.menu, entry.group, entry.submenu)->addAction(action);
    // The window must own the shortcut: a closed submenu does not listen.
    window_->addAction(action);
  }
  actions_.append(action);
  showUsedMenus();
  return action;
}

void MainMenu::addKey(QAction* action, const QKeySequence& key) {
  QList<QKeySequence> keys = action->shortcuts();
  if (!keys.contains(key)) action->setShortcuts(keys << key);
}

QMenu* MainMenu::menu(MenuName name) const { return menus_.value(name); }

QMenu* MainMenu::submenu(MenuName name, const QString& group, const QString& title) {
  QString key = QString::number(static_cast<int>(name)) + QLatin1Char('/') + group + QLatin1Char('/') + title;
  if (QMenu* existing = submenus_.value(key)) return existing;
  auto* sub = new QMenu(title, menus_[name]);
  sub->setToolTipsVisible(true);
  place(name, group, sub->menuAction());
  submenus_[key] = sub;
  return sub;
}

QAction* MainMenu::find(const QString& text) const {
  for (QAction* action : actions_)
    if (plain(action->text()) == text) return action;
  return nullptr;
}

void MainMenu::place(MenuName name, const QString& group, QAction* action) {
  QMenu* menu = menus_[name];
  std::vector<Group>& groups = groups_[name];
  auto it = std::find_if(groups.begin(), groups.end(), [&](const Group& g) { return g.name == group; });
  if (it == groups.end()) {
    if (!groups.empty()) menu->addSeparator();
    menu->addAction(action);
    groups.push_back({group, {action}});
    return;
  }
  QList<QAction*> all = menu->actions();
  int after = static_cast<int>(all.indexOf(it->members.last()));
  menu->insertAction(after + 1 < all.size() ? all[after + 1] : nullptr, action);
  it->members.append(action);
}

void MainMenu::showUsedMenus() {
  for (QMenu* menu : menus_) menu->menuAction()->setVisible(!menu->actions().isEmpty());
}

QString MainMenu::tooltipOf(const QAction* action) {
  QString text = plain(action->text());
  if (text.endsWith(QLatin1String("..."))) text.chop(3);
  if (!action->shortcut().isEmpty())
    text += QStringLiteral(" (%1)").arg(action->shortcut().toString(QKeySequence::NativeText));
  if (!action->statusTip().isEmpty()) text += QLatin1Char('\n') + action->statusTip();
  return text;
}

void MainMenu::describe(QWidget* widget, const QAction* action) {
  widget->setToolTip(tooltipOf(action));
  widget->setStatusTip(action->statusTip());
}
