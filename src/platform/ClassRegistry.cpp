#include "platform/ClassRegistry.h"

const ClassInfo* ClassRegistry::Find(std::string_view name) const {
  for (const ClassInfo* c : classes_)
    if (name == c->name) return c;
  return nullptr;
}
