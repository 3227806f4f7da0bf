#include "app/CommandTable.h"

QAction* CommandTable::Add(int id, const QString& label, Rules rules, QList<QKeySequence> keys,
                           const QString& prompt) {
  auto* action = new QAction(label, this);
  action->setData(id);
  if (!keys.isEmpty()) {
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
  }
  if (!prompt.isEmpty()) {
    const QStringList parts = prompt.split('\n');
    action->setStatusTip(parts.front());
    if (parts.size() > 1) action->setToolTip(parts.at(1));
  }
  if (rules.checked) action->setCheckable(true);
  connect(action, &QAction::triggered, this, [this, id] {
    auto it = commands_.find(id);
    if (it == commands_.end() || !it->second.second.run) return;
    it->second.second.run();
    UpdateAll();
  });
  commands_[id] = {action, std::move(rules)};
  UpdateOne(id);
  return action;
}

QAction* CommandTable::Action(int id) const {
  auto it = commands_.find(id);
  return it == commands_.end() ? nullptr : it->second.first;
}

void CommandTable::UpdateOne(int id) {
  auto it = commands_.find(id);
  if (it == commands_.end()) return;
  QAction* a = it->second.first;
  const Rules& r = it->second.second;
  a->setEnabled(r.run && (!r.enabled || r.enabled()));
  if (r.checked) a->setChecked(r.checked());
  if (r.text) a->setText(r.text());
}

void CommandTable::UpdateAll() {
  for (auto& [id, entry] : commands_) UpdateOne(id);
}

bool CommandTable::Trigger(int id) {
  UpdateOne(id);
  QAction* a = Action(id);
  if (!a || !a->isEnabled()) return false;
  a->trigger();
  return true;
}
