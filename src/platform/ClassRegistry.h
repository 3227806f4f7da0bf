// Run-time classes of the objects a layout stream carries: every stored object names its class,
// and reading creates the object from that name.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

class Archive;
class SerialObject;

struct ClassInfo {
  const char* name;                        // the registered class name, as written in streams
  std::uint16_t schema;                    // written after the new-class tag
  const ClassInfo* base;                   // null for the root
  std::unique_ptr<SerialObject> (*create)();  // null for abstract classes

  bool IsDerivedFrom(const ClassInfo& other) const {
    for (const ClassInfo* c = this; c; c = c->base)
      if (c == &other) return true;
    return false;
  }
};

class SerialObject {
 public:
  virtual ~SerialObject() = default;
  virtual const ClassInfo& GetRuntimeClass() const = 0;
  virtual void Serialize(Archive& ar) = 0;
  bool IsKindOf(const ClassInfo& info) const { return GetRuntimeClass().IsDerivedFrom(info); }
};

template <class T>
std::unique_ptr<SerialObject> CreateSerialObject() {
  return std::make_unique<T>();
}

// The classes a reader may create. Built once by the layer that owns the classes and then only
// read; the archive is handed one when it has to read objects.
class ClassRegistry {
 public:
  ClassRegistry() = default;
  explicit ClassRegistry(std::vector<const ClassInfo*> classes) : classes_(std::move(classes)) {}
  void Register(const ClassInfo& info) { classes_.push_back(&info); }
  // Looks the class up by its name as stored (raw bytes, case-sensitive).
  const ClassInfo* Find(std::string_view name) const;

 private:
  std::vector<const ClassInfo*> classes_;
};
