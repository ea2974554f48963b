#include "fake_automation.h"

#include <algorithm>

namespace sabla::test {
namespace {

bool same_name(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

const wchar_t* kind_word(FakeDispatch::Kind kind) {
  switch (kind) {
    case FakeDispatch::Kind::get:
      return L"get";
    case FakeDispatch::Kind::put:
      return L"put";
    case FakeDispatch::Kind::call:
      return L"call";
  }
  return L"?";
}

}  // namespace

ComPtr<FakeDispatch> FakeDispatch::create(AutomationScript& script, std::wstring name) {
  return ComPtr<FakeDispatch>(new FakeDispatch(script, std::move(name)));
}

FakeDispatch::FakeDispatch(AutomationScript& script, std::wstring name)
    : script_(script), name_(std::move(name)), generation_(script.generation) {
  ++script_.live_objects;
}

FakeDispatch::~FakeDispatch() { --script_.live_objects; }

void FakeDispatch::add_interface(const IID& iid, std::wstring interface_name) {
  interfaces_.emplace_back(iid, std::move(interface_name));
}

void FakeDispatch::on(Kind kind, const std::wstring& member, Handler handler) {
  DISPID id = 0;
  Member* entry = find(member, &id);
  if (!entry) {
    members_.push_back({member, std::nullopt, std::nullopt, std::nullopt});
    entry = &members_.back();
  }
  (kind == Kind::get   ? entry->get
   : kind == Kind::put ? entry->put
                       : entry->call) = std::move(handler);
}

FakeDispatch::Member* FakeDispatch::find(const std::wstring& name, DISPID* id) {
  for (size_t i = 0; i < members_.size(); ++i) {
    if (same_name(members_[i].name, name)) {
      *id = static_cast<DISPID>(i + 1);
      return &members_[i];
    }
  }
  return nullptr;
}

HRESULT FakeDispatch::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown || iid == IID_IDispatch) {
    *out = static_cast<IDispatch*>(this);
  } else {
    for (const auto& [known, interface_name] : interfaces_) {
      if (iid == known) {
        script_.calls.push_back(name_ + L" as " + interface_name);
        *out = static_cast<IDispatch*>(this);
        break;
      }
    }
  }
  if (!*out) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

ULONG FakeDispatch::AddRef() { return ++references_; }

ULONG FakeDispatch::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT FakeDispatch::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT FakeDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

HRESULT FakeDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!names || !ids || count != 1) return E_INVALIDARG;
  ids[0] = DISPID_UNKNOWN;
  ++script_.name_lookups;
  if (generation_ < script_.generation) return script_.gone_error;
  return names[0] && find(names[0], &ids[0]) ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT FakeDispatch::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                             VARIANT* result, EXCEPINFO*, UINT*) {
  if (id < 1 || static_cast<size_t>(id) > members_.size()) return DISP_E_MEMBERNOTFOUND;
  if (!params || (params->cArgs > 0 && !params->rgvarg)) return E_INVALIDARG;
  const Member& member = members_[static_cast<size_t>(id) - 1];
  // Invoke hands the arguments last to first.
  std::vector<VARIANT> args(params->rgvarg, params->rgvarg + params->cArgs);
  std::reverse(args.begin(), args.end());

  if (flags & DISPATCH_PROPERTYPUT) {
    const bool named_value = params->cNamedArgs == 1 && params->rgdispidNamedArgs &&
                             params->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT;
    if (!member.put) return DISP_E_MEMBERNOTFOUND;
    if (!named_value || args.size() != 1) return DISP_E_PARAMNOTOPTIONAL;
    return answer(member, Kind::put, args, nullptr);
  }
  if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
  if ((flags & DISPATCH_PROPERTYGET) && member.get) {
    if (!result) return E_POINTER;
    return answer(member, Kind::get, args, result);
  }
  if ((flags & DISPATCH_METHOD) && member.call) return answer(member, Kind::call, args, result);
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT FakeDispatch::answer(const Member& member, Kind kind, std::span<VARIANT> args,
                             VARIANT* result) {
  script_.calls.push_back(name_ + L"." + member.name + L" " + kind_word(kind));
  if (generation_ < script_.generation) return script_.gone_error;
  if (const auto failure = script_.failures.find(member.name); failure != script_.failures.end()) {
    return failure->second;
  }
  if (kind != Kind::put && result) {
    if (const auto replacement = script_.replacements.find(member.name);
        replacement != script_.replacements.end()) {
      return VariantCopy(result, const_cast<VARIANT*>(&replacement->second.get()));
    }
  }
  const Handler& handler = kind == Kind::get   ? *member.get
                           : kind == Kind::put ? *member.put
                                               : *member.call;
  return handler(args, result);
}

ComPtr<FakeClassFactory> FakeClassFactory::create(AutomationScript& script,
                                                  std::function<ComPtr<IDispatch>()> make) {
  return ComPtr<FakeClassFactory>(new FakeClassFactory(script, std::move(make)));
}

HRESULT FakeClassFactory::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
  *out = static_cast<IClassFactory*>(this);
  AddRef();
  return S_OK;
}

ULONG FakeClassFactory::AddRef() { return ++references_; }

ULONG FakeClassFactory::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT FakeClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  ComPtr<IDispatch> object = make_();
  if (!object) return E_OUTOFMEMORY;
  const HRESULT hr = object->QueryInterface(iid, out);
  if (SUCCEEDED(hr)) ++script_.objects_created;
  return hr;
}

ClassRegistration::ClassRegistration(const CLSID& clsid, IClassFactory* factory)
    : result_(CoRegisterClassObject(clsid, factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                                    &cookie_)) {}

ClassRegistration::~ClassRegistration() {
  if (SUCCEEDED(result_)) CoRevokeClassObject(cookie_);
}

std::optional<int32_t> long_argument(const VARIANT& value) {
  if (value.vt != VT_I4) return std::nullopt;
  return value.lVal;
}

std::optional<std::wstring> bstr_argument(const VARIANT& value) {
  if (value.vt != VT_BSTR) return std::nullopt;
  return value.bstrVal ? std::wstring(value.bstrVal, SysStringLen(value.bstrVal)) : std::wstring();
}

void set_long(VARIANT* result, int32_t value) {
  if (!result) return;
  VariantClear(result);
  result->vt = VT_I4;
  result->lVal = value;
}

void set_bstr(VARIANT* result, std::wstring_view text) {
  if (!result) return;
  VariantClear(result);
  result->vt = VT_BSTR;
  result->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

void set_object(VARIANT* result, ComPtr<IDispatch> object) {
  if (!result) return;
  VariantClear(result);
  result->vt = VT_DISPATCH;
  result->pdispVal = object.release();
}

UniqueVariant long_value(int32_t value) {
  UniqueVariant variant;
  set_long(variant.put(), value);
  return variant;
}

UniqueVariant bstr_value(std::wstring_view text) {
  UniqueVariant variant;
  set_bstr(variant.put(), text);
  return variant;
}

UniqueVariant typed_value(VARTYPE type, int64_t number) {
  UniqueVariant variant;
  VARIANT* value = variant.put();
  value->vt = type;
  switch (type) {
    case VT_UI1:
      value->bVal = static_cast<BYTE>(number);
      break;
    case VT_I2:
      value->iVal = static_cast<SHORT>(number);
      break;
    case VT_UI4:
      value->ulVal = static_cast<ULONG>(number);
      break;
    case VT_I8:
      value->llVal = number;
      break;
    case VT_R8:
      value->dblVal = static_cast<double>(number);
      break;
    default:
      value->vt = VT_I4;
      value->lVal = static_cast<LONG>(number);
      break;
  }
  return variant;
}

}  // namespace sabla::test
