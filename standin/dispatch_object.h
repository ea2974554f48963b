#pragma once
// An automation object built from a table of named members: IDispatch with late binding only
// (GetIDsOfNames, Invoke), as clients that carry no type library call it. Every call passes a
// gate first (which may refuse it) and is reported afterwards.
#include <oaidl.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "player/com_ptr_win32.h"

namespace standin {

enum class MemberKind { kGet, kPut, kCall };

struct MemberCall {
  std::wstring_view object;
  std::wstring_view member;
  MemberKind kind;
};

struct CallHooks {
  // Before a member runs; an error answers the call with it and the member does not run.
  std::function<HRESULT(const MemberCall&)> gate;
  // After a member ran (or was refused), with its result and, for a success, its answer.
  std::function<void(const MemberCall&, HRESULT, const VARIANT*)> report;
};

class DispatchObject final : public IDispatch {
 public:
  // Arguments in their natural order, first argument first; a put gets the new value only.
  using Handler = std::function<HRESULT(std::span<const VARIANT> args, VARIANT* result)>;

  static sabla::ComPtr<DispatchObject> create(std::wstring name, std::shared_ptr<CallHooks> hooks);

  // QueryInterface answers `iid` with this object too.
  void add_interface(const IID& iid);
  // Names match without regard to case, as type-library dispatch matches them.
  void on(MemberKind kind, const std::wstring& member, Handler handler);

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
    Handler get, put, call;
  };
  DispatchObject(std::wstring name, std::shared_ptr<CallHooks> hooks)
      : name_(std::move(name)), hooks_(std::move(hooks)) {}
  ~DispatchObject() = default;
  Member* find(const wchar_t* name, DISPID* id);
  HRESULT run(const Member& member, MemberKind kind, std::span<const VARIANT> args,
              VARIANT* result);

  std::wstring name_;
  std::shared_ptr<CallHooks> hooks_;
  ULONG references_ = 1;
  std::vector<IID> interfaces_;
  std::vector<Member> members_;  // DISPID = index + 1
};

// Argument readers: any value the system can turn into the wanted type.
std::optional<int32_t> int32_argument(const VARIANT& value);
std::optional<std::wstring> text_argument(const VARIANT& value);

// Answers; `result` may be null when the caller wants none.
void answer_int32(VARIANT* result, int32_t value);
void answer_text(VARIANT* result, std::wstring_view text);
void answer_object(VARIANT* result, sabla::ComPtr<IDispatch> object);  // null: no object

}  // namespace standin
