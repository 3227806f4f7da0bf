// Every command of menus, toolbars and accelerators: identifier, action, handler and the rules
// for its enabled, checked and text state. States are computed on demand (before a menu shows and
// after every change), so menus and toolbars never show a stale state.
#pragma once

#include <QAction>
#include <QObject>
#include <functional>
#include <map>

struct CommandRules {
  std::function<void()> run;
  std::function<bool()> enabled;  // empty: always enabled
  std::function<bool()> checked;  // empty: not checkable
  std::function<QString()> text;  // empty: fixed text
  bool radio = false;
};

class CommandTable : public QObject {
  Q_OBJECT
 public:
  using Rules = CommandRules;

  explicit CommandTable(QObject* parent = nullptr) : QObject(parent) {}
  // An action whose text is the menu label ("&Neu\tStrg+N"); without a handler it stays disabled:
  // the command exists in the menu but is not available yet.
  QAction* Add(int id, const QString& label, Rules rules = {}, QList<QKeySequence> keys = {},
               const QString& prompt = {});
  QAction* Action(int id) const;
  void UpdateAll();
  void UpdateOne(int id);
  // Runs a command as a click would, if it is enabled.
  bool Trigger(int id);

 private:
  std::map<int, std::pair<QAction*, Rules>> commands_;
};
