#include "fake_player_client.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <oleauto.h>

#include <vector>

#include "fake_log.h"

namespace fake {

namespace {

constexpr GUID kClsidItunesApp = {
    0xDC0C2640, 0x1415, 0x4644, {0x87, 0x5C, 0x6F, 0x4D, 0x76, 0x98, 0x39, 0xBA}};
constexpr GUID kIidItunes = {
    0x9DD6680B, 0x3EDC, 0x40DB, {0xA7, 0x71, 0xE6, 0xFE, 0x48, 0x32, 0xE3, 0x4A}};
constexpr GUID kIidObject = {
    0x9FAB0E27, 0x70D7, 0x4E3A, {0x99, 0x65, 0xB0, 0xC8, 0xB8, 0x86, 0x9B, 0xB6}};
constexpr GUID kIidFileTrack = {
    0x00D7FE99, 0x7868, 0x4CC7, {0xAD, 0x9E, 0xAC, 0xFD, 0x70, 0xD0, 0x95, 0x66}};

// One interface reference, released at the end of its scope.
struct Ref {
  IDispatch* p = nullptr;
  Ref() = default;
  explicit Ref(IDispatch* pointer) : p(pointer) {}
  ~Ref() {
    if (p) p->Release();
  }
  Ref(const Ref&) = delete;
  Ref& operator=(const Ref&) = delete;
  Ref(Ref&& o) noexcept : p(o.p) { o.p = nullptr; }
};

struct Variant {
  VARIANT v;
  Variant() { VariantInit(&v); }
  ~Variant() { VariantClear(&v); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
};

// Calls `name` by late binding; `args` in natural order.
HRESULT invoke(IDispatch* object, const wchar_t* name, WORD flags, std::vector<VARIANT> args,
               VARIANT* result) {
  if (!object) return E_POINTER;
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr,
                    static_cast<UINT>(reversed.size()), 0};
  if (flags == DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &put;
    params.cNamedArgs = 1;
  }
  return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr,
                        nullptr);
}

VARIANT long_value(int32_t value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = value;
  return v;
}

Ref object_property(IDispatch* object, const wchar_t* name, std::vector<VARIANT> args,
                    uint32_t& error) {
  Variant answer;
  HRESULT hr = invoke(object, name, DISPATCH_PROPERTYGET, std::move(args), &answer.v);
  if (SUCCEEDED(hr) && (answer.v.vt != VT_DISPATCH || !answer.v.pdispVal)) hr = E_NOINTERFACE;
  if (FAILED(hr)) {
    error = static_cast<uint32_t>(hr);
    return Ref();
  }
  answer.v.pdispVal->AddRef();
  return Ref(answer.v.pdispVal);
}

std::optional<int32_t> long_property(IDispatch* object, const wchar_t* name, uint32_t& error) {
  Variant answer;
  HRESULT hr = invoke(object, name, DISPATCH_PROPERTYGET, {}, &answer.v);
  if (SUCCEEDED(hr) && answer.v.vt != VT_I4) hr = DISP_E_TYPEMISMATCH;
  if (FAILED(hr)) {
    error = static_cast<uint32_t>(hr);
    return std::nullopt;
  }
  return answer.v.lVal;
}

std::optional<std::u16string> text_property(IDispatch* object, const wchar_t* name,
                                            uint32_t& error) {
  Variant answer;
  HRESULT hr = invoke(object, name, DISPATCH_PROPERTYGET, {}, &answer.v);
  if (SUCCEEDED(hr) && answer.v.vt != VT_BSTR) hr = DISP_E_TYPEMISMATCH;
  if (FAILED(hr)) {
    error = static_cast<uint32_t>(hr);
    return std::nullopt;
  }
  const BSTR text = answer.v.bstrVal;
  return std::u16string(reinterpret_cast<const char16_t*>(text ? text : L""),
                        text ? SysStringLen(text) : 0);
}

Ref query(const Ref& object, const GUID& iid, uint32_t& error) {
  if (!object.p) return Ref();
  void* out = nullptr;
  const HRESULT hr = object.p->QueryInterface(iid, &out);
  if (FAILED(hr)) {
    error = static_cast<uint32_t>(hr);
    return Ref();
  }
  return Ref(static_cast<IDispatch*>(out));
}

}  // namespace

PlayerClient::PlayerClient() {
  const HRESULT init = CoInitialize(nullptr);
  uninitialise_ = SUCCEEDED(init);
  void* out = nullptr;
  const HRESULT hr =
      CoCreateInstance(kClsidItunesApp, nullptr, CLSCTX_LOCAL_SERVER, kIidItunes, &out);
  player_ = SUCCEEDED(hr) ? static_cast<IDispatch*>(out) : nullptr;
  state_ = player_ ? "ok" : "no player object " + hex(static_cast<uint32_t>(hr));
}

PlayerClient::~PlayerClient() {
  if (player_) player_->Release();
  if (uninitialise_) CoUninitialize();
}

std::optional<int32_t> PlayerClient::position(uint32_t& error) {
  return long_property(player_, L"PlayerPosition", error);
}

bool PlayerClient::seek(int32_t seconds, uint32_t& error) {
  const HRESULT hr =
      invoke(player_, L"PlayerPosition", DISPATCH_PROPERTYPUT, {long_value(seconds)}, nullptr);
  error = static_cast<uint32_t>(hr);
  return SUCCEEDED(hr);
}

bool PlayerClient::call(const wchar_t* method, uint32_t& error) {
  const HRESULT hr = invoke(player_, method, DISPATCH_METHOD, {}, nullptr);
  error = static_cast<uint32_t>(hr);
  return SUCCEEDED(hr);
}

std::optional<std::u16string> PlayerClient::location(uint32_t& error) {
  const Ref track = object_property(player_, L"CurrentTrack", {}, error);
  const Ref file = query(track, kIidFileTrack, error);
  if (!file.p) return std::nullopt;
  return text_property(file.p, L"Location", error);
}

std::optional<TrackIds> PlayerClient::ids(uint32_t& error) {
  const Ref track = object_property(player_, L"CurrentTrack", {}, error);
  const Ref object = query(track, kIidObject, error);
  if (!object.p) return std::nullopt;
  const wchar_t* names[] = {L"sourceID", L"playlistID", L"trackID", L"TrackDatabaseID"};
  int32_t numbers[4] = {};
  for (int i = 0; i < 4; ++i) {
    const std::optional<int32_t> n = long_property(object.p, names[i], error);
    if (!n) return std::nullopt;
    numbers[i] = *n;
  }
  return TrackIds{numbers[0], numbers[1], numbers[2], numbers[3]};
}

std::optional<std::u16string> PlayerClient::lyrics(uint32_t& error) {
  const Ref track = object_property(player_, L"CurrentTrack", {}, error);
  const Ref file = query(track, kIidFileTrack, error);
  if (!file.p) return std::nullopt;
  return text_property(file.p, L"Lyrics", error);
}

bool PlayerClient::write_lyrics(const TrackIds& ids, const std::u16string& text, uint32_t& error) {
  Variant answer;
  HRESULT hr = invoke(player_, L"GetITObjectByID", DISPATCH_METHOD,
                      {long_value(ids.source), long_value(ids.playlist), long_value(ids.track),
                       long_value(ids.database)},
                      &answer.v);
  if (SUCCEEDED(hr) && (answer.v.vt != VT_DISPATCH || !answer.v.pdispVal)) hr = E_NOINTERFACE;
  if (FAILED(hr)) {
    error = static_cast<uint32_t>(hr);
    return false;
  }
  answer.v.pdispVal->AddRef();
  const Ref object(answer.v.pdispVal);
  const Ref file = query(object, kIidFileTrack, error);
  if (!file.p) return false;
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BSTR;
  value.bstrVal = SysAllocStringLen(reinterpret_cast<const wchar_t*>(text.data()),
                                    static_cast<UINT>(text.size()));
  hr = invoke(file.p, L"Lyrics", DISPATCH_PROPERTYPUT, {value}, nullptr);
  VariantClear(&value);
  error = static_cast<uint32_t>(hr);
  return SUCCEEDED(hr);
}

std::optional<uint64_t> PlayerClient::save_artwork(const std::u16string& path, uint32_t& error) {
  const Ref track = object_property(player_, L"CurrentTrack", {}, error);
  if (!track.p) return std::nullopt;
  const Ref artworks = object_property(track.p, L"Artwork", {}, error);
  if (!artworks.p) return std::nullopt;
  const Ref artwork = object_property(artworks.p, L"Item", {long_value(1)}, error);
  if (!artwork.p) return std::nullopt;
  const auto* wide = reinterpret_cast<const wchar_t*>(path.c_str());
  VARIANT target;
  VariantInit(&target);
  target.vt = VT_BSTR;
  target.bstrVal = SysAllocString(wide);
  const HRESULT hr = invoke(artwork.p, L"SaveArtworkToFile", DISPATCH_METHOD, {target}, nullptr);
  VariantClear(&target);
  if (FAILED(hr)) {
    error = static_cast<uint32_t>(hr);
    return std::nullopt;
  }
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(wide, GetFileExInfoStandard, &data)) {
    error = HRESULT_FROM_WIN32(GetLastError());
    return std::nullopt;
  }
  return static_cast<uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

}  // namespace fake
