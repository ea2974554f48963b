#include "player/dispatch_win32.h"

#include <cwchar>
#include <utility>
#include <vector>

namespace sabla {
namespace {

// Frees what a failed Invoke may have put into the exception record.
class ExceptionRecord {
 public:
  ExceptionRecord() { info_ = {}; }
  ~ExceptionRecord() {
    SysFreeString(info_.bstrSource);
    SysFreeString(info_.bstrDescription);
    SysFreeString(info_.bstrHelpFile);
  }
  ExceptionRecord(const ExceptionRecord&) = delete;
  ExceptionRecord& operator=(const ExceptionRecord&) = delete;
  EXCEPINFO* get() { return &info_; }

 private:
  EXCEPINFO info_;
};

template <class T>
std::optional<int32_t> fitting(T value) {
  if (!std::in_range<int32_t>(value)) return std::nullopt;
  return static_cast<int32_t>(value);
}

thread_local uint32_t server_gone_answers = 0;

// HRESULT_FROM_WIN32 is a function in these headers, so not usable as a case label.
constexpr HRESULT from_win32(unsigned long code) {
  return static_cast<HRESULT>((code & 0xFFFFu) | (FACILITY_WIN32 << 16) | 0x80000000u);
}

HRESULT noted(HRESULT hr) {
  if (is_server_gone(hr)) ++server_gone_answers;
  return hr;
}

HRESULT ask_id(IDispatch* object, const wchar_t* name, DISPID& id) {
  id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  return noted(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));
}

}  // namespace

HRESULT MemberIds::id_of(IDispatch* object, const wchar_t* name, DISPID& id) {
  for (const auto& [known, known_id] : ids_) {
    if (known == name) {
      id = known_id;
      return S_OK;
    }
  }
  const HRESULT hr = ask_id(object, name, id);
  if (SUCCEEDED(hr)) ids_.emplace_back(name, id);
  return hr;
}

bool is_server_gone(HRESULT hr) {
  switch (hr) {
    case RPC_E_DISCONNECTED:
    case RPC_E_SERVER_DIED:
    case RPC_E_SERVER_DIED_DNE:
    case RPC_E_CONNECTION_TERMINATED:
    case RPC_E_INVALID_OBJECT:
    case CO_E_OBJNOTCONNECTED:
    case CO_E_SERVER_STOPPING:
    case from_win32(RPC_S_SERVER_UNAVAILABLE):
    case from_win32(RPC_S_CALL_FAILED):
    case from_win32(RPC_S_CALL_FAILED_DNE):
    case from_win32(RPC_S_UNKNOWN_IF):
      return true;
    default:
      return false;
  }
}

uint32_t server_gone_count() { return server_gone_answers; }

HRESULT invoke_by_name(IDispatch* object, const wchar_t* name, WORD flags,
                       std::span<const VARIANT> args, VARIANT* result, MemberIds* ids) {
  if (!object || !name) return E_POINTER;
  DISPID member = DISPID_UNKNOWN;
  HRESULT hr = ids ? ids->id_of(object, name, member) : ask_id(object, name, member);
  if (FAILED(hr)) return hr;

  // Invoke takes the arguments last to first. The copies are shallow: the callee only reads them.
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPID put_id = DISPID_PROPERTYPUT;
  DISPPARAMS params = {};
  params.rgvarg = reversed.empty() ? nullptr : reversed.data();
  params.cArgs = static_cast<UINT>(reversed.size());
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    params.rgdispidNamedArgs = &put_id;
    params.cNamedArgs = 1;
  }
  ExceptionRecord exception;
  UINT bad_argument = 0;
  return noted(object->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result,
                              exception.get(), &bad_argument));
}

HRESULT get_property(IDispatch* object, const wchar_t* name, UniqueVariant& value,
                     std::span<const VARIANT> args, MemberIds* ids) {
  return invoke_by_name(object, name, DISPATCH_PROPERTYGET, args, value.put(), ids);
}

HRESULT put_property(IDispatch* object, const wchar_t* name, const VARIANT& value,
                     MemberIds* ids) {
  return invoke_by_name(object, name, DISPATCH_PROPERTYPUT, std::span<const VARIANT>(&value, 1),
                        nullptr, ids);
}

HRESULT call_method(IDispatch* object, const wchar_t* name, std::span<const VARIANT> args) {
  return invoke_by_name(object, name, DISPATCH_METHOD, args, nullptr);
}

HRESULT call_method(IDispatch* object, const wchar_t* name, std::span<const VARIANT> args,
                    UniqueVariant& result) {
  return invoke_by_name(object, name, DISPATCH_METHOD, args, result.put());
}

VARIANT int32_argument(int32_t value) {
  VARIANT argument;
  VariantInit(&argument);
  argument.vt = VT_I4;
  argument.lVal = value;
  return argument;
}

VARIANT text_argument(const UniqueBstr& text) {
  VARIANT argument;
  VariantInit(&argument);
  argument.vt = VT_BSTR;
  argument.bstrVal = text.get();
  return argument;
}

ComPtr<IDispatch> object_of(const VARIANT& value) {
  ComPtr<IDispatch> object;
  if (value.vt == VT_DISPATCH) return ComPtr<IDispatch>::copy_of(value.pdispVal);
  if (value.vt == VT_UNKNOWN && value.punkVal) {
    ComPtr<IUnknown>::copy_of(value.punkVal).query(IID_IDispatch, object);
  }
  return object;
}

std::optional<int32_t> int32_of(const VARIANT& value) {
  switch (value.vt) {
    case VT_I1:
      return value.cVal;
    case VT_UI1:
      return value.bVal;
    case VT_I2:
      return value.iVal;
    case VT_UI2:
      return value.uiVal;
    case VT_I4:
      return value.lVal;
    case VT_INT:
      return value.intVal;
    case VT_UI4:
      return fitting(value.ulVal);
    case VT_UINT:
      return fitting(value.uintVal);
    case VT_I8:
      return fitting(value.llVal);
    case VT_UI8:
      return fitting(value.ullVal);
    default:
      return std::nullopt;
  }
}

std::optional<std::wstring> text_of(const VARIANT& value) {
  if (value.vt != VT_BSTR) return std::nullopt;
  if (!value.bstrVal) return std::wstring();
  const size_t length = SysStringLen(value.bstrVal);
  return std::wstring(value.bstrVal, wcsnlen(value.bstrVal, length));
}

}  // namespace sabla
