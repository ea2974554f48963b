#pragma once
#include <oaidl.h>
#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "player/com_ptr_win32.h"
#include "player/ole_values_win32.h"

namespace sabla {

// Member ids of one object, learnt on first use: for an object in another process every
// GetIDsOfNames is a round trip of its own. Valid only for the object they were learnt from.
class MemberIds {
 public:
  HRESULT id_of(IDispatch* object, const wchar_t* name, DISPID& id);
  void forget() noexcept { ids_.clear(); }

 private:
  std::vector<std::pair<std::wstring, DISPID>> ids_;
};

// Answers that mean the object's server is gone (it ended, crashed or disconnected its objects):
// a held object will never answer again, but a new one may.
bool is_server_gone(HRESULT hr);
// How many calls on this thread have ended with such an answer so far: a holder of an object
// compares the count before and after its calls to learn that it must let the object go.
uint32_t server_gone_count();

// Late binding: every member is looked up by name (GetIDsOfNames) and called through
// IDispatch::Invoke, so no vendor header or type library is needed. Arguments are given in
// their natural order. Any failure, including an unknown name, comes back as the HRESULT.
// With `ids`, the member's id is looked up there (and learnt) instead of asked for.
HRESULT invoke_by_name(IDispatch* object, const wchar_t* name, WORD flags,
                       std::span<const VARIANT> args, VARIANT* result, MemberIds* ids = nullptr);

HRESULT get_property(IDispatch* object, const wchar_t* name, UniqueVariant& value,
                     std::span<const VARIANT> args = {}, MemberIds* ids = nullptr);
HRESULT put_property(IDispatch* object, const wchar_t* name, const VARIANT& value,
                     MemberIds* ids = nullptr);
HRESULT call_method(IDispatch* object, const wchar_t* name, std::span<const VARIANT> args = {});
HRESULT call_method(IDispatch* object, const wchar_t* name, std::span<const VARIANT> args,
                    UniqueVariant& result);

// Argument values. A text argument borrows the BSTR, which must outlive the call.
VARIANT int32_argument(int32_t value);
VARIANT text_argument(const UniqueBstr& text);

// Answers read by the type the caller expects; anything else is no answer.
// An object: VT_DISPATCH, or VT_UNKNOWN that gives IDispatch; null when there is none.
ComPtr<IDispatch> object_of(const VARIANT& value);
// A whole number of any integer type that fits 32 signed bits.
std::optional<int32_t> int32_of(const VARIANT& value);
// A text (VT_BSTR; a null BSTR is the empty text), up to its first zero unit.
std::optional<std::wstring> text_of(const VARIANT& value);

}  // namespace sabla
