#include "dispatch_object.h"

#include <algorithm>

#include "player/ole_values_win32.h"

namespace standin {

namespace {

bool same_name(const std::wstring& a, const wchar_t* b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b, -1, TRUE) == CSTR_EQUAL;
}

// VariantChangeType only reads its source, whatever its declaration says.
VARIANT* source(const VARIANT& value) { return const_cast<VARIANT*>(&value); }

}  // namespace

sabla::ComPtr<DispatchObject> DispatchObject::create(std::wstring name,
                                                     std::shared_ptr<CallHooks> hooks) {
  return sabla::ComPtr<DispatchObject>(new DispatchObject(std::move(name), std::move(hooks)));
}

void DispatchObject::add_interface(const IID& iid) { interfaces_.push_back(iid); }

void DispatchObject::on(MemberKind kind, const std::wstring& member, Handler handler) {
  DISPID id = 0;
  Member* entry = find(member.c_str(), &id);
  if (!entry) {
    members_.push_back({member, nullptr, nullptr, nullptr});
    entry = &members_.back();
  }
  (kind == MemberKind::kGet   ? entry->get
   : kind == MemberKind::kPut ? entry->put
                              : entry->call) = std::move(handler);
}

DispatchObject::Member* DispatchObject::find(const wchar_t* name, DISPID* id) {
  for (size_t i = 0; i < members_.size(); ++i) {
    if (same_name(members_[i].name, name)) {
      *id = static_cast<DISPID>(i + 1);
      return &members_[i];
    }
  }
  return nullptr;
}

HRESULT DispatchObject::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown || iid == IID_IDispatch ||
      std::find(interfaces_.begin(), interfaces_.end(), iid) != interfaces_.end()) {
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  return E_NOINTERFACE;
}

ULONG DispatchObject::AddRef() { return InterlockedIncrement(&references_); }

ULONG DispatchObject::Release() {
  const ULONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return left;
}

HRESULT DispatchObject::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT DispatchObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

HRESULT DispatchObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!names || !ids || count == 0) return E_INVALIDARG;
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  // Named arguments are not supported, so only the member's own name can be known.
  if (!names[0] || !find(names[0], &ids[0])) return DISP_E_UNKNOWNNAME;
  return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT DispatchObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                               VARIANT* result, EXCEPINFO*, UINT*) {
  try {
    if (id < 1 || static_cast<size_t>(id) > members_.size()) return DISP_E_MEMBERNOTFOUND;
    if (!params || (params->cArgs > 0 && !params->rgvarg)) return E_INVALIDARG;
    const Member& member = members_[static_cast<size_t>(id) - 1];
    // Invoke hands the arguments last to first.
    std::vector<VARIANT> args(params->rgvarg, params->rgvarg + params->cArgs);
    std::reverse(args.begin(), args.end());

    if (flags & DISPATCH_PROPERTYPUT) {
      if (!member.put) return DISP_E_MEMBERNOTFOUND;
      const bool named_value = params->cNamedArgs == 1 && params->rgdispidNamedArgs &&
                               params->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT;
      if (!named_value || args.size() != 1) return DISP_E_PARAMNOTOPTIONAL;
      return run(member, MemberKind::kPut, args, nullptr);
    }
    if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
    if ((flags & DISPATCH_PROPERTYGET) && member.get) {
      return run(member, MemberKind::kGet, args, result);
    }
    if ((flags & DISPATCH_METHOD) && member.call) {
      return run(member, MemberKind::kCall, args, result);
    }
    return DISP_E_MEMBERNOTFOUND;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

HRESULT DispatchObject::run(const Member& member, MemberKind kind, std::span<const VARIANT> args,
                            VARIANT* result) {
  const MemberCall call{name_, member.name, kind};
  HRESULT hr = hooks_ && hooks_->gate ? hooks_->gate(call) : S_OK;
  if (SUCCEEDED(hr)) {
    if (result) VariantInit(result);
    const Handler& handler = kind == MemberKind::kGet   ? member.get
                             : kind == MemberKind::kPut ? member.put
                                                        : member.call;
    hr = handler(args, result);
  }
  if (hooks_ && hooks_->report) hooks_->report(call, hr, SUCCEEDED(hr) ? result : nullptr);
  return hr;
}

std::optional<int32_t> int32_argument(const VARIANT& value) {
  sabla::UniqueVariant converted;
  if (FAILED(VariantChangeType(converted.put(), source(value), 0, VT_I4))) return std::nullopt;
  return converted.get().lVal;
}

std::optional<std::wstring> text_argument(const VARIANT& value) {
  sabla::UniqueVariant converted;
  if (FAILED(VariantChangeType(converted.put(), source(value), 0, VT_BSTR))) return std::nullopt;
  const BSTR text = converted.get().bstrVal;
  return text ? std::wstring(text, SysStringLen(text)) : std::wstring();
}

void answer_int32(VARIANT* result, int32_t value) {
  if (!result) return;
  VariantClear(result);
  result->vt = VT_I4;
  result->lVal = value;
}

void answer_text(VARIANT* result, std::wstring_view text) {
  if (!result) return;
  VariantClear(result);
  result->vt = VT_BSTR;
  result->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

void answer_object(VARIANT* result, sabla::ComPtr<IDispatch> object) {
  if (!result) return;
  VariantClear(result);
  result->vt = VT_DISPATCH;
  result->pdispVal = object.release();
}

}  // namespace standin
