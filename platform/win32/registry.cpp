#include "platform/win32/registry.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/win32/registry_text.h"

extern char** environ;

// What an open key is: a path below a root, looked up again at each call, and the access asked for.
struct HKEY__ {
  int root;
  std::vector<std::string> names;
  REGSAM access;
};

namespace {

constexpr uintptr_t kFirstPredefinedKey = 0x80000000;
constexpr uintptr_t kPredefinedKeyCount = 7;  // HKEY_CLASSES_ROOT .. HKEY_DYN_DATA

// ---- The file and its cache ----

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  ~FileDescriptor() { Close(); }
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
      Close();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  int get() const { return fd_; }

 private:
  void Close() {
    if (fd_ >= 0) close(fd_);
  }
  int fd_;
};

// What tells one content of the file from another without reading it, while the file it was taken
// from is held open. Every write renames a new file into place; a file system may give a new file
// the inode number of a freed one, and coarse timestamps do not tell two saves of one tick apart,
// but the number of a file held open is never given to another. Size and times show a file that
// another program rewrote in place.
struct FileIdentity {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  int64_t modified_ns = 0;
  int64_t changed_ns = 0;
  bool operator==(const FileIdentity&) const = default;
};

std::atomic<const RegistryFileStatusForTests*> test_file_status{nullptr};

FileIdentity IdentityOf(struct stat status) {
  if (const RegistryFileStatusForTests* test = test_file_status.load()) test->Adjust(status);
  return FileIdentity{true,
                      status.st_dev,
                      status.st_ino,
                      status.st_size,
                      status.st_mtim.tv_sec * 1'000'000'000LL + status.st_mtim.tv_nsec,
                      status.st_ctim.tv_sec * 1'000'000'000LL + status.st_ctim.tv_nsec};
}

bool ReadAll(int fd, std::string& text) {
  char buffer[65536];
  for (;;) {
    const ssize_t count = read(fd, buffer, sizeof buffer);
    if (count == 0) return true;
    if (count < 0 && errno != EINTR) return false;
    if (count > 0) text.append(buffer, static_cast<size_t>(count));
  }
}

bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t count = write(fd, text.data(), text.size());
    if (count < 0 && errno != EINTR) return false;
    if (count > 0) text.remove_prefix(static_cast<size_t>(count));
  }
  return true;
}

bool MakeParentDirectories(const std::string& path) {
  for (size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1))
    mkdir(path.substr(0, slash).c_str(), 0755);  // an existing one is fine; the check below decides
  const size_t last = path.rfind('/');
  if (last == std::string::npos || last == 0) return true;
  struct stat status;
  return stat(path.substr(0, last).c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool LockExclusively(int fd) {
  while (flock(fd, LOCK_EX) != 0)
    if (errno != EINTR) return false;
  return true;
}

// The process's view of the registry file: the parsed content of the file as it was last seen.
// One lock serialises the process's threads; the file lock serialises writers of all processes.
class RegistryStore {
 public:
  // Runs `look` on the current content; `look` does not change it.
  LONG Read(const std::function<LONG(RegistryTree&)>& look) {
    std::lock_guard<std::mutex> guard(mutex_);
    const std::string path = RegistryFilePath();
    if (LONG status = Unchanged(path) ? status_ : Load(path)) return status;
    return look(tree_);
  }

  // Runs `change` on the current content under the file lock and writes the file when it says that
  // it changed something. `change` either fails without touching the tree or succeeds.
  LONG Change(const std::function<LONG(RegistryTree&, bool& changed)>& change) {
    std::lock_guard<std::mutex> guard(mutex_);
    const std::string path = RegistryFilePath();
    if (!MakeParentDirectories(path)) return ERROR_CANTWRITE;
    FileDescriptor lock(open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
    if (lock.get() < 0 || !LockExclusively(lock.get())) return ERROR_REGISTRY_IO_FAILED;
    // Read whatever the file looks like: only its content tells what the last writer left there.
    if (LONG status = Load(path)) return status;
    bool changed = false;
    if (LONG result = change(tree_, changed); result != ERROR_SUCCESS || !changed) return result;
    if (Save(path)) return ERROR_SUCCESS;
    Forget();  // the tree holds a change that the file does not
    return ERROR_CANTWRITE;
  }

 private:
  // Whether the cached content is still the file's, for the cost of one stat.
  bool Unchanged(const std::string& path) const {
    if (path != path_ || !identity_) return false;
    struct stat status;
    if (stat(path.c_str(), &status) == 0) return *identity_ == IdentityOf(status);
    return (errno == ENOENT || errno == ENOTDIR) && !identity_->exists;
  }

  // Reads the file and caches its content, holding the file open for as long as it is cached.
  LONG Load(const std::string& path) {
    FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {  // a missing file is an empty registry
      if (errno != ENOENT && errno != ENOTDIR) return ERROR_CANTREAD;
      return Adopt(path, FileIdentity{}, std::move(file), "");
    }
    struct stat status;
    std::string text;
    if (fstat(file.get(), &status) != 0 || !ReadAll(file.get(), text)) return ERROR_CANTREAD;
    return Adopt(path, IdentityOf(status), std::move(file), text);
  }

  LONG Adopt(const std::string& path, const FileIdentity& identity, FileDescriptor file,
             std::string_view text) {
    RegistryTree tree;
    const bool parsed = ParseRegistryText(text, tree);
    tree_ = parsed ? std::move(tree) : RegistryTree{};
    status_ = parsed ? ERROR_SUCCESS : ERROR_REGISTRY_CORRUPT;
    Remember(path, identity, std::move(file));
    return status_;
  }

  bool Save(const std::string& path) {
    const std::string temporary = path + ".tmp";
    FileDescriptor file(open(temporary.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (file.get() < 0 || !WriteAll(file.get(), RegistryText(tree_)) || fsync(file.get()) != 0 ||
        rename(temporary.c_str(), path.c_str()) != 0) {
      unlink(temporary.c_str());
      return false;
    }
    const size_t last = path.rfind('/');
    FileDescriptor directory(
        open(last == std::string::npos ? "." : path.substr(0, last + 1).c_str(),
             O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() >= 0) fsync(directory.get());  // makes the rename itself durable
    struct stat status;
    if (fstat(file.get(), &status) != 0) return false;
    Remember(path, IdentityOf(status), std::move(file));
    status_ = ERROR_SUCCESS;
    return true;
  }

  void Remember(const std::string& path, const FileIdentity& identity, FileDescriptor file) {
    path_ = path;
    identity_ = identity;
    file_ = std::move(file);
  }

  void Forget() {
    identity_.reset();
    file_ = FileDescriptor();
  }

  std::mutex mutex_;
  std::string path_;                      // the file that the cache below belongs to
  std::optional<FileIdentity> identity_;  // of the cached content; none: read the file again
  FileDescriptor file_;                   // the file of the cached content, kept from reuse
  LONG status_ = ERROR_SUCCESS;           // ERROR_REGISTRY_CORRUPT for a damaged file
  RegistryTree tree_;
};

RegistryStore& Store() {
  static RegistryStore store;
  return store;
}

// ---- Keys as the calls name them ----

struct KeyPath {
  int root = 0;
  std::vector<std::string> names;
  REGSAM access = KEY_ALL_ACCESS;
};

bool IsPredefined(HKEY key) {
  return reinterpret_cast<uintptr_t>(key) - kFirstPredefinedKey < kPredefinedKeyCount;
}

bool HasAccess(REGSAM granted, REGSAM needed) {
  return (granted & MAXIMUM_ALLOWED) || (granted & needed) == needed;
}

LONG KeyPathOf(HKEY key, REGSAM needed, KeyPath& path) {
  if (IsPredefined(key)) {
    const auto root = reinterpret_cast<uintptr_t>(key) - kFirstPredefinedKey;
    if (root >= kRegistryRootCount) return ERROR_INVALID_HANDLE;
    path = KeyPath{static_cast<int>(root), {}, KEY_ALL_ACCESS};
  } else if (key) {
    path = KeyPath{key->root, key->names, key->access};
  } else {
    return ERROR_INVALID_HANDLE;
  }
  return HasAccess(path.access, needed) ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

// Appends the names of a sub key path; a trailing backslash is allowed.
LONG AppendSubKey(LPCSTR sub_key, std::vector<std::string>& names) {
  const std::string_view text = sub_key ? sub_key : "";
  for (size_t start = 0;;) {
    const size_t end = std::min(text.find('\\', start), text.size());
    const std::string_view name = text.substr(start, end - start);
    if (end == text.size()) {
      if (!name.empty()) names.emplace_back(name);
      return ERROR_SUCCESS;
    }
    if (name.empty()) return ERROR_BAD_PATHNAME;
    names.emplace_back(name);
    start = end + 1;
  }
}

// The key at the first `depth` names of the path, or null.
RegistryKey* FindKey(RegistryTree& tree, const KeyPath& path, size_t depth) {
  RegistryKey* key = &tree.roots[path.root];
  for (size_t i = 0; i < depth && key; ++i) key = key->Subkey(path.names[i]);
  return key;
}

// Runs `look` on the key that an open key refers to.
LONG ReadKey(HKEY key, REGSAM needed, const std::function<LONG(RegistryKey&)>& look) {
  KeyPath path;
  if (LONG error = KeyPathOf(key, needed, path)) return error;
  return Store().Read([&](RegistryTree& tree) -> LONG {
    RegistryKey* found = FindKey(tree, path, path.names.size());
    return found ? look(*found) : ERROR_KEY_DELETED;
  });
}

LONG ChangeKey(HKEY key, REGSAM needed,
               const std::function<LONG(RegistryKey&, bool& changed)>& change) {
  KeyPath path;
  if (LONG error = KeyPathOf(key, needed, path)) return error;
  return Store().Change([&](RegistryTree& tree, bool& changed) -> LONG {
    RegistryKey* found = FindKey(tree, path, path.names.size());
    return found ? change(*found, changed) : ERROR_KEY_DELETED;
  });
}

// ---- Values ----

// The bytes that the registry keeps for a value, as a query gives them back.
LONG StoredData(DWORD type, const BYTE* data, DWORD size, std::string& bytes) {
  if (!data && size) return ERROR_INVALID_PARAMETER;
  const auto* text = reinterpret_cast<const char*>(data);
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
      if (size) bytes.assign(text, strnlen(text, size));
      bytes += '\0';
      return ERROR_SUCCESS;
    case REG_DWORD:
      if (size != sizeof(DWORD)) return ERROR_INVALID_PARAMETER;
      bytes.assign(text, size);
      return ERROR_SUCCESS;
    case REG_BINARY:
      if (size) bytes.assign(text, size);
      return ERROR_SUCCESS;
    default: return ERROR_INVALID_PARAMETER;
  }
}

LONG CopyData(const std::string& bytes, BYTE* data, DWORD* size) {
  if (!size) return ERROR_SUCCESS;
  const DWORD room = *size;
  *size = static_cast<DWORD>(bytes.size());
  if (!data) return ERROR_SUCCESS;
  if (room < bytes.size()) return ERROR_MORE_DATA;
  memcpy(data, bytes.data(), bytes.size());
  return ERROR_SUCCESS;
}

LONG CopyName(const std::string& name, LPSTR buffer, DWORD* size) {
  if (name.size() + 1 > *size) return ERROR_MORE_DATA;
  memcpy(buffer, name.c_str(), name.size() + 1);
  *size = static_cast<DWORD>(name.size());
  return ERROR_SUCCESS;
}

void EmptyClass(LPSTR class_name, DWORD* class_size) {
  if (class_size) {
    if (class_name && *class_size) class_name[0] = '\0';
    *class_size = 0;
  }
}

void Put(DWORD* out, size_t value) {
  if (out) *out = static_cast<DWORD>(value);
}

const char* EnvironmentValue(const std::string& name) {
  if (const char* value = getenv(name.c_str())) return value;
  for (char** entry = environ; *entry; ++entry) {
    const std::string_view variable = *entry;
    const size_t equals = variable.find('=');
    if (equals != std::string_view::npos && RegistryNamesEqual(variable.substr(0, equals), name))
      return *entry + equals + 1;
  }
  return nullptr;
}

std::string ExpandEnvironment(std::string_view text) {
  std::string out;
  for (size_t open = text.find('%'); open != std::string_view::npos; open = text.find('%')) {
    const size_t close = text.find('%', open + 1);
    if (close == std::string_view::npos) break;
    const std::string name(text.substr(open + 1, close - open - 1));
    const char* value = name.empty() ? nullptr : EnvironmentValue(name);
    if (value) {
      out.append(text.substr(0, open)).append(value);
      text.remove_prefix(close + 1);
    } else {  // kept as written; its closing '%' may open the next name
      out.append(text.substr(0, close));
      text.remove_prefix(close);
    }
  }
  return out.append(text);
}

}  // namespace

LONG RegOpenKeyExA(HKEY key, LPCSTR sub_key, DWORD, REGSAM access, HKEY* result) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  KeyPath path;
  if (LONG error = KeyPathOf(key, 0, path)) return error;
  const size_t parent_depth = path.names.size();
  if (LONG error = AppendSubKey(sub_key, path.names)) return error;
  const LONG error = Store().Read([&](RegistryTree& tree) -> LONG {
    if (!FindKey(tree, path, parent_depth)) return ERROR_KEY_DELETED;
    return FindKey(tree, path, path.names.size()) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
  });
  if (error) return error;
  *result = new HKEY__{path.root, std::move(path.names), access};
  return ERROR_SUCCESS;
}

LONG RegCreateKeyExA(HKEY key, LPCSTR sub_key, DWORD, LPSTR, DWORD, REGSAM access,
                     SECURITY_ATTRIBUTES*, HKEY* result, DWORD* disposition) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  KeyPath path;
  if (LONG error = KeyPathOf(key, 0, path)) return error;
  const size_t parent_depth = path.names.size();
  if (LONG error = AppendSubKey(sub_key, path.names)) return error;
  if (path.names.size() > kRegistryMaxLevels) return ERROR_INVALID_PARAMETER;
  for (const std::string& name : path.names)
    if (std::any_of(name.begin(), name.end(), [](char ch) { return ch >= 0 && ch < ' '; }))
      return ERROR_INVALID_PARAMETER;  // the file keeps one key per line

  bool created = false;
  const LONG error = Store().Change([&](RegistryTree& tree, bool& changed) -> LONG {
    RegistryKey* key_found = FindKey(tree, path, parent_depth);
    if (!key_found) return ERROR_KEY_DELETED;
    created = !FindKey(tree, path, path.names.size());
    if (created && !HasAccess(path.access, KEY_CREATE_SUB_KEY)) return ERROR_ACCESS_DENIED;
    for (size_t i = parent_depth; i < path.names.size(); ++i)
      key_found = &key_found->AddSubkey(path.names[i]);
    changed = created;
    return ERROR_SUCCESS;
  });
  if (error) return error;
  if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  *result = new HKEY__{path.root, std::move(path.names), access};
  return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
  if (IsPredefined(key)) return ERROR_SUCCESS;
  if (!key) return ERROR_INVALID_HANDLE;
  delete key;
  return ERROR_SUCCESS;
}

LONG RegDeleteKeyA(HKEY key, LPCSTR sub_key) {
  if (!sub_key) return ERROR_INVALID_PARAMETER;
  KeyPath path;
  if (LONG error = KeyPathOf(key, 0, path)) return error;
  const size_t parent_depth = path.names.size();
  if (LONG error = AppendSubKey(sub_key, path.names)) return error;
  if (path.names.empty()) return ERROR_ACCESS_DENIED;  // a root
  return Store().Change([&](RegistryTree& tree, bool& changed) -> LONG {
    if (!FindKey(tree, path, parent_depth)) return ERROR_KEY_DELETED;
    RegistryKey* parent = FindKey(tree, path, path.names.size() - 1);
    if (!parent) return ERROR_FILE_NOT_FOUND;
    const auto target = parent->subkeys.find(path.names.back());
    if (target == parent->subkeys.end()) return ERROR_FILE_NOT_FOUND;
    if (!target->second->subkeys.empty()) return ERROR_ACCESS_DENIED;
    parent->subkeys.erase(target);
    changed = true;
    return ERROR_SUCCESS;
  });
}

LONG RegDeleteTreeA(HKEY key, LPCSTR sub_key) {
  KeyPath path;
  if (LONG error = KeyPathOf(key, 0, path)) return error;
  const size_t parent_depth = path.names.size();
  if (LONG error = AppendSubKey(sub_key, path.names)) return error;
  return Store().Change([&](RegistryTree& tree, bool& changed) -> LONG {
    if (!FindKey(tree, path, parent_depth)) return ERROR_KEY_DELETED;
    RegistryKey* target = FindKey(tree, path, path.names.size());
    if (!target) return ERROR_FILE_NOT_FOUND;
    if (path.names.size() == parent_depth) {
      changed = !target->subkeys.empty() || !target->values.empty();
      target->subkeys.clear();
      target->values.clear();
    } else {
      RegistryKey* parent = FindKey(tree, path, path.names.size() - 1);
      parent->subkeys.erase(parent->subkeys.find(path.names.back()));
      changed = true;
    }
    return ERROR_SUCCESS;
  });
}

LONG RegSetValueExA(HKEY key, LPCSTR name, DWORD, DWORD type, const BYTE* data, DWORD size) {
  std::string bytes;
  if (LONG error = StoredData(type, data, size, bytes)) return error;
  const std::string_view value_name = name ? name : "";
  return ChangeKey(key, KEY_SET_VALUE, [&](RegistryKey& target, bool& changed) -> LONG {
    RegistryValue* value = target.Value(value_name);
    if (!value) {
      target.values.push_back(RegistryValue{std::string(value_name), type, bytes});
      changed = true;
    } else if (value->type != type || value->data != bytes) {
      value->type = type;
      value->data = bytes;
      changed = true;
    }
    return ERROR_SUCCESS;
  });
}

LONG RegQueryValueExA(HKEY key, LPCSTR name, DWORD*, DWORD* type, BYTE* data, DWORD* size) {
  if (data && !size) return ERROR_INVALID_PARAMETER;
  return ReadKey(key, KEY_QUERY_VALUE, [&](RegistryKey& target) -> LONG {
    const RegistryValue* value = target.Value(name ? name : "");
    if (!value) return ERROR_FILE_NOT_FOUND;
    if (type) *type = value->type;
    return CopyData(value->data, data, size);
  });
}

LONG RegDeleteValueA(HKEY key, LPCSTR name) {
  return ChangeKey(key, KEY_SET_VALUE, [&](RegistryKey& target, bool& changed) -> LONG {
    const RegistryValue* value = target.Value(name ? name : "");
    if (!value) return ERROR_FILE_NOT_FOUND;
    target.values.erase(target.values.begin() + (value - target.values.data()));
    changed = true;
    return ERROR_SUCCESS;
  });
}

LONG RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, DWORD* name_size, DWORD*, LPSTR class_name,
                   DWORD* class_size, FILETIME* last_write) {
  if (!name || !name_size) return ERROR_INVALID_PARAMETER;
  if (last_write) *last_write = FILETIME{};
  return ReadKey(key, KEY_ENUMERATE_SUB_KEYS, [&](RegistryKey& target) -> LONG {
    if (index >= target.subkeys.size()) return ERROR_NO_MORE_ITEMS;
    if (LONG error = CopyName(std::next(target.subkeys.begin(), index)->first, name, name_size))
      return error;
    EmptyClass(class_name, class_size);
    return ERROR_SUCCESS;
  });
}

LONG RegEnumValueA(HKEY key, DWORD index, LPSTR name, DWORD* name_size, DWORD*, DWORD* type,
                   BYTE* data, DWORD* data_size) {
  if (!name || !name_size || (data && !data_size)) return ERROR_INVALID_PARAMETER;
  return ReadKey(key, KEY_QUERY_VALUE, [&](RegistryKey& target) -> LONG {
    if (index >= target.values.size()) return ERROR_NO_MORE_ITEMS;
    const RegistryValue& value = target.values[index];
    if (LONG error = CopyName(value.name, name, name_size)) return error;
    if (type) *type = value.type;
    return CopyData(value.data, data, data_size);
  });
}

LONG RegQueryInfoKeyA(HKEY key, LPSTR class_name, DWORD* class_size, DWORD*, DWORD* subkeys,
                      DWORD* max_subkey_length, DWORD* max_class_length, DWORD* values,
                      DWORD* max_value_name_length, DWORD* max_value_length,
                      DWORD* security_descriptor_size, FILETIME* last_write) {
  if (last_write) *last_write = FILETIME{};
  return ReadKey(key, KEY_QUERY_VALUE, [&](RegistryKey& target) -> LONG {
    size_t longest_subkey = 0, longest_name = 0, longest_data = 0;
    for (const auto& [subkey_name, subkey] : target.subkeys)
      longest_subkey = std::max(longest_subkey, subkey_name.size());
    for (const RegistryValue& value : target.values) {
      longest_name = std::max(longest_name, value.name.size());
      longest_data = std::max(longest_data, value.data.size());
    }
    Put(subkeys, target.subkeys.size());
    Put(max_subkey_length, longest_subkey);
    Put(max_class_length, 0);
    Put(values, target.values.size());
    Put(max_value_name_length, longest_name);
    Put(max_value_length, longest_data);
    Put(security_descriptor_size, 0);
    EmptyClass(class_name, class_size);
    return ERROR_SUCCESS;
  });
}

DWORD ExpandEnvironmentStringsA(LPCSTR source, LPSTR destination, DWORD size) {
  if (!source) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::string expanded = ExpandEnvironment(source);
  const auto needed = static_cast<DWORD>(expanded.size() + 1);
  if (destination && size >= needed) memcpy(destination, expanded.c_str(), needed);
  return needed;
}

RegistryFileStatusForTests::RegistryFileStatusForTests(void (*adjust)(struct stat& status))
    : adjust_(adjust), previous_(test_file_status.exchange(this)) {}

RegistryFileStatusForTests::~RegistryFileStatusForTests() { test_file_status.store(previous_); }

std::string RegistryFilePath() {
  if (const char* file = getenv("QV_REGISTRY"); file && *file) return file;
  if (const char* config = getenv("XDG_CONFIG_HOME"); config && *config == '/')
    return std::string(config) + "/qv/registry.reg";
  const char* home = getenv("HOME");
  return std::string(home ? home : "") + "/.config/qv/registry.reg";
}
