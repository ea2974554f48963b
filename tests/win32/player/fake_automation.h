#pragma once
// A scriptable automation object for tests: an IDispatch whose members are looked up by name
// and answered by handlers, with a shared script that records every call and can make any
// member fail or answer a value of the wrong type. A class factory and an RAII registration
// serve such objects to CoCreateInstance in this process.
#include <oaidl.h>
#include <windows.h>

#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "player/com_ptr_win32.h"
#include "player/ole_values_win32.h"

namespace sabla::test {

// Shared by all fake objects of one test: what they were asked, and what to answer instead.
struct AutomationScript {
  // "Object.Member get|put|call" and "Object as Interface", in the order asked.
  std::vector<std::wstring> calls;
  // Member name -> the error every call of that member answers (after being recorded).
  std::map<std::wstring, HRESULT> failures;
  // Member name -> the value every get or call of that member answers, with S_OK.
  std::map<std::wstring, UniqueVariant> replacements;
  // Fake objects alive now; every test ends with all of them released.
  int live_objects = 0;
  // Objects handed out by class factories.
  int objects_created = 0;
  // Member names looked up (GetIDsOfNames).
  int name_lookups = 0;
  // Objects made before the last `server_gone` answer every lookup and call with `gone_error`,
  // as proxies do once their server has ended; later ones (a restarted server) answer as usual.
  int generation = 0;
  HRESULT gone_error = S_OK;

  void fail(const std::wstring& member, HRESULT error) { failures[member] = error; }
  void server_gone(HRESULT error) {
    ++generation;
    gone_error = error;
  }
  void answer(const std::wstring& member, UniqueVariant value) {
    replacements.insert_or_assign(member, std::move(value));
  }
};

class FakeDispatch final : public IDispatch {
 public:
  // Arguments in their natural order (first argument first).
  using Handler = std::function<HRESULT(std::span<VARIANT> args, VARIANT* result)>;
  enum class Kind { get, put, call };

  static ComPtr<FakeDispatch> create(AutomationScript& script, std::wstring name);

  // QueryInterface answers `iid` with this object and records it under `interface_name`.
  void add_interface(const IID& iid, std::wstring interface_name);
  // Members are matched without regard to case, as type-library dispatch does. A get handler
  // receives the property's index arguments; a put handler the new value as its only argument.
  void on(Kind kind, const std::wstring& member, Handler handler);

  ULONG references() const { return references_; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT* bad_argument) override;

 private:
  struct Member {
    std::wstring name;
    std::optional<Handler> get, put, call;
  };
  FakeDispatch(AutomationScript& script, std::wstring name);
  ~FakeDispatch();
  Member* find(const std::wstring& name, DISPID* id);
  HRESULT answer(const Member& member, Kind kind, std::span<VARIANT> args, VARIANT* result);

  AutomationScript& script_;
  std::wstring name_;
  int generation_;
  ULONG references_ = 1;
  std::vector<std::pair<IID, std::wstring>> interfaces_;
  std::vector<Member> members_;  // DISPID = index + 1
};

// Hands out a new object from `make` for every CreateInstance.
class FakeClassFactory final : public IClassFactory {
 public:
  static ComPtr<FakeClassFactory> create(AutomationScript& script,
                                         std::function<ComPtr<IDispatch>()> make);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  FakeClassFactory(AutomationScript& script, std::function<ComPtr<IDispatch>()> make)
      : script_(script), make_(std::move(make)) {}
  ~FakeClassFactory() = default;

  AutomationScript& script_;
  std::function<ComPtr<IDispatch>()> make_;
  ULONG references_ = 1;
};

// Registers a class factory as this process's local server for `clsid` until destroyed; this
// process's own CoCreateInstance(CLSCTX_LOCAL_SERVER) then gets its objects.
class ClassRegistration {
 public:
  ClassRegistration(const CLSID& clsid, IClassFactory* factory);
  ~ClassRegistration();
  ClassRegistration(const ClassRegistration&) = delete;
  ClassRegistration& operator=(const ClassRegistration&) = delete;
  HRESULT result() const { return result_; }

 private:
  HRESULT result_;
  DWORD cookie_ = 0;
};

// Strict argument readers for handlers: exactly the type the real server declares.
std::optional<int32_t> long_argument(const VARIANT& value);
std::optional<std::wstring> bstr_argument(const VARIANT& value);
// Answers for handlers.
void set_long(VARIANT* result, int32_t value);
void set_bstr(VARIANT* result, std::wstring_view text);
void set_object(VARIANT* result, ComPtr<IDispatch> object);  // null stays a null object
// Values for AutomationScript::answer.
UniqueVariant long_value(int32_t value);
UniqueVariant bstr_value(std::wstring_view text);
// A number as VT_UI1, VT_I2, VT_UI4, VT_I8 or VT_R8 (any other type gives VT_I4).
UniqueVariant typed_value(VARTYPE type, int64_t number);

}  // namespace sabla::test
