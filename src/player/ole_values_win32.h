#pragma once
#include <oleauto.h>
#include <windows.h>

#include <string_view>
#include <utility>

namespace sabla {

// An owned BSTR, freed with SysFreeString. A null BSTR is the empty string.
class UniqueBstr {
 public:
  UniqueBstr() = default;
  explicit UniqueBstr(BSTR text) noexcept : text_(text) {}
  // A copy of `text`; null when memory ran out.
  explicit UniqueBstr(std::wstring_view text) noexcept
      : text_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  ~UniqueBstr() { reset(); }
  UniqueBstr(UniqueBstr&& other) noexcept : text_(other.release()) {}
  UniqueBstr& operator=(UniqueBstr&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueBstr(const UniqueBstr&) = delete;
  UniqueBstr& operator=(const UniqueBstr&) = delete;

  BSTR get() const noexcept { return text_; }
  BSTR* put() noexcept {
    reset();
    return &text_;
  }
  BSTR release() noexcept { return std::exchange(text_, nullptr); }
  void reset(BSTR text = nullptr) noexcept {
    BSTR old = std::exchange(text_, text);
    if (old) SysFreeString(old);
  }
  std::wstring_view view() const noexcept {
    return text_ ? std::wstring_view(text_, SysStringLen(text_)) : std::wstring_view();
  }

 private:
  BSTR text_ = nullptr;
};

// An owned VARIANT, cleared with VariantClear (which frees a BSTR or releases an interface it
// holds). Moving hands the content over and leaves VT_EMPTY behind.
class UniqueVariant {
 public:
  UniqueVariant() noexcept { VariantInit(&value_); }
  ~UniqueVariant() { reset(); }
  UniqueVariant(UniqueVariant&& other) noexcept : value_(other.value_) {
    VariantInit(&other.value_);
  }
  UniqueVariant& operator=(UniqueVariant&& other) noexcept {
    if (this != &other) {
      reset();
      value_ = other.value_;
      VariantInit(&other.value_);
    }
    return *this;
  }
  UniqueVariant(const UniqueVariant&) = delete;
  UniqueVariant& operator=(const UniqueVariant&) = delete;

  // Takes over `value`, leaving VT_EMPTY in it.
  static UniqueVariant adopt(VARIANT& value) noexcept {
    UniqueVariant owned;
    owned.value_ = value;
    VariantInit(&value);
    return owned;
  }

  const VARIANT& get() const noexcept { return value_; }
  VARIANT* put() noexcept {
    reset();
    return &value_;
  }
  VARTYPE type() const noexcept { return value_.vt; }
  void reset() noexcept {
    VariantClear(&value_);
    VariantInit(&value_);
  }

 private:
  VARIANT value_;
};

}  // namespace sabla
