#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "settings/atomic_file_win32.h"

namespace sabla::test {

enum class Op { kRemove, kAttributes, kSetAttributes, kCreate, kWrite, kFlush, kClose, kMove };

inline const char* op_name(Op op) {
  static const char* const kNames[] = {"remove",          "read attributes", "copy attributes",
                                       "create",          "write",           "flush",
                                       "close",           "rename"};
  return kNames[static_cast<int>(op)];
}

// The real file system, except for the operations it is told to fail, which fail the way the
// real ones do: a failed write lands half its bytes first, as on a full disk.
class FaultyFileLayer final : public FileLayer {
 public:
  std::optional<size_t> fail_at;  // the n-th operation (0-based) fails
  std::optional<Op> fail_kind;     // every operation of this kind fails
  DWORD error = ERROR_ACCESS_DENIED;
  size_t failures = 0;
  std::vector<Op> ops;
  std::vector<std::wstring> paths;  // every path an operation was given

  DWORD attributes(const std::wstring& path) override {
    if (fails(Op::kAttributes, path)) return INVALID_FILE_ATTRIBUTES;
    return real().attributes(path);
  }
  bool set_attributes(const std::wstring& path, DWORD attributes) override {
    return !fails(Op::kSetAttributes, path) && real().set_attributes(path, attributes);
  }
  UniqueFile create(const std::wstring& path) override {
    if (fails(Op::kCreate, path)) return UniqueFile();
    return real().create(path);
  }
  bool write(HANDLE file, const uint8_t* data, DWORD size) override {
    if (fails(Op::kWrite, {})) {
      real().write(file, data, size / 2);
      SetLastError(error);
      return false;
    }
    return real().write(file, data, size);
  }
  bool flush(HANDLE file) override { return !fails(Op::kFlush, {}) && real().flush(file); }
  bool close(UniqueFile& file) override {
    const bool closed = real().close(file);
    return !fails(Op::kClose, {}) && closed;
  }
  bool move_replacing(const std::wstring& from, const std::wstring& to) override {
    paths.push_back(to);
    return !fails(Op::kMove, from) && real().move_replacing(from, to);
  }
  bool remove(const std::wstring& path) override {
    return !fails(Op::kRemove, path) && real().remove(path);
  }

 private:
  static FileLayer& real() { return system_file_layer(); }
  bool fails(Op op, const std::wstring& path) {
    if (!path.empty()) paths.push_back(path);
    const bool failing = fail_at == ops.size() || fail_kind == op;
    ops.push_back(op);
    if (failing) {
      ++failures;
      SetLastError(error);
    }
    return failing;
  }
};

// One way a save is made to fail.
struct Fault {
  std::string name;
  std::optional<size_t> at;
  std::optional<Op> kind;
  DWORD error = ERROR_ACCESS_DENIED;
};

// Each single operation of a working save failing in turn (counted by running `save` once with
// nothing failing), then the lasting conditions: disk full, a read-only or missing folder, and
// another program holding the file without delete sharing.
inline std::vector<Fault> fault_matrix(const std::function<void(FileLayer&)>& save) {
  FaultyFileLayer counting;
  save(counting);
  std::vector<Fault> faults;
  for (size_t i = 0; i < counting.ops.size(); ++i) {
    const Op op = counting.ops[i];
    const DWORD error = op == Op::kWrite || op == Op::kFlush ? ERROR_DISK_FULL
                        : op == Op::kMove                    ? ERROR_SHARING_VIOLATION
                                                             : ERROR_ACCESS_DENIED;
    faults.push_back({"operation " + std::to_string(i) + " (" + op_name(op) + ")", i, {}, error});
  }
  faults.push_back({"disk full", {}, Op::kWrite, ERROR_DISK_FULL});
  faults.push_back({"disk full at flush", {}, Op::kFlush, ERROR_DISK_FULL});
  faults.push_back({"read-only folder", {}, Op::kCreate, ERROR_ACCESS_DENIED});
  faults.push_back({"missing folder", {}, Op::kCreate, ERROR_PATH_NOT_FOUND});
  faults.push_back({"sharing violation", {}, Op::kMove, ERROR_SHARING_VIOLATION});
  faults.push_back({"attributes not copied", {}, Op::kSetAttributes, ERROR_ACCESS_DENIED});
  return faults;
}

inline FaultyFileLayer layer_for(const Fault& fault) {
  FaultyFileLayer layer;
  layer.fail_at = fault.at;
  layer.fail_kind = fault.kind;
  layer.error = fault.error;
  return layer;
}

}  // namespace sabla::test
