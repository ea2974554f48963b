#include "automation_server.h"

#include <algorithm>

#include "byte_text.h"
#include "console.h"
#include "dispatch_object.h"
#include "player/itunes_ids_win32.h"

namespace standin {

using sabla::ComPtr;

struct PlayerAutomation::State {
  PlayerModel* model = nullptr;  // null once the server is gone
  std::vector<TrackFiles> files;
  int host_version = 0;
  Printer print;
  bool report_every_call = false;
  bool busy = false;
  std::map<std::wstring, int> usage;
  int objects_created = 0;
  std::shared_ptr<CallHooks> hooks;
};

namespace {

using State = PlayerAutomation::State;

constexpr size_t kShownTextLength = 60;
using Handler = DispatchObject::Handler;

const wchar_t* kind_word(MemberKind kind) {
  return kind == MemberKind::kGet ? L"get" : kind == MemberKind::kPut ? L"put" : L"call";
}

std::string answer_text_of(const VARIANT* answer) {
  if (!answer) return "";
  switch (answer->vt) {
    case VT_I4:
      return " " + std::to_string(answer->lVal);
    case VT_BSTR: {
      // Long texts (lyrics) are shown by their start and size.
      const std::wstring_view text =
          answer->bstrVal ? std::wstring_view(answer->bstrVal, SysStringLen(answer->bstrVal))
                          : std::wstring_view();
      if (text.size() <= kShownTextLength && text.find(L'\n') == text.npos) {
        return " \"" + to_utf8(text) + "\"";
      }
      return " \"" + to_utf8(text.substr(0, std::min(text.find(L'\n'), kShownTextLength))) +
             "...\" (" + std::to_string(text.size()) + " characters)";
    }
    case VT_DISPATCH:
      return answer->pdispVal ? " (object)" : " (no object)";
    default:
      return "";
  }
}

std::shared_ptr<CallHooks> make_hooks(const std::weak_ptr<State>& weak) {
  auto hooks = std::make_shared<CallHooks>();
  hooks->gate = [weak](const MemberCall& call) -> HRESULT {
    const std::shared_ptr<State> state = weak.lock();
    if (!state || !state->model) return CO_E_OBJNOTCONNECTED;
    if (!state->busy) return S_OK;
    state->print("automation call refused, the player is busy: " + to_utf8(call.object) + "." +
                 to_utf8(call.member) + " " + to_utf8(kind_word(call.kind)) + "\n");
    return RPC_E_CALL_REJECTED;
  };
  hooks->report = [weak](const MemberCall& call, HRESULT hr, const VARIANT* answer) {
    const std::shared_ptr<State> state = weak.lock();
    if (!state) return;
    const std::wstring name =
        std::wstring(call.object) + L"." + std::wstring(call.member) + L" " + kind_word(call.kind);
    ++state->usage[name];
    // Questions are many (the position at every idle call) and the plug-in reports what it was
    // told; changes and failures are always worth a line.
    if (call.kind == MemberKind::kGet && SUCCEEDED(hr) && !state->report_every_call) return;
    state->print("automation " + to_utf8(name) + " -> " +
                 (SUCCEEDED(hr) ? "ok" + answer_text_of(answer) : "error " + hex(hr)) + "\n");
  };
  return hooks;
}

// Every handler reaches the model through the state, which outlives no server.
PlayerModel& model_of(State& state) { return *state.model; }

Handler no_arguments(std::function<void(VARIANT*)> body) {
  return [body = std::move(body)](std::span<const VARIANT> args, VARIANT* result) {
    if (!args.empty()) return DISP_E_BADPARAMCOUNT;
    body(result);
    return S_OK;
  };
}

Handler transport(State& state, bool (PlayerModel::*action)()) {
  return no_arguments([&state, action](VARIANT*) { (model_of(state).*action)(); });
}

ComPtr<IDispatch> make_artwork(const std::shared_ptr<State>& state, size_t track) {
  ComPtr<DispatchObject> artwork = DispatchObject::create(L"Artwork", state->hooks);
  artwork->on(MemberKind::kCall, L"SaveArtworkToFile",
              [state, track](std::span<const VARIANT> args, VARIANT*) -> HRESULT {
                if (args.size() != 1) return DISP_E_BADPARAMCOUNT;
                const std::optional<std::wstring> path = text_argument(args[0]);
                if (!path || path->empty()) return DISP_E_TYPEMISMATCH;
                if (!CopyFileW(state->files[track].artwork.c_str(), path->c_str(), FALSE)) {
                  return HRESULT_FROM_WIN32(GetLastError());
                }
                return S_OK;
              });
  return ComPtr<IDispatch>(artwork.release());
}

ComPtr<IDispatch> make_artworks(const std::shared_ptr<State>& state, size_t track) {
  const bool has_artwork = !state->files[track].artwork.empty();
  ComPtr<DispatchObject> artworks = DispatchObject::create(L"Artworks", state->hooks);
  artworks->on(MemberKind::kGet, L"Count",
               no_arguments([has_artwork](VARIANT* r) { answer_int32(r, has_artwork ? 1 : 0); }));
  artworks->on(MemberKind::kGet, L"Item",
               [state, track, has_artwork](std::span<const VARIANT> args, VARIANT* r) -> HRESULT {
                 if (args.size() != 1) return DISP_E_BADPARAMCOUNT;
                 const std::optional<int32_t> index = int32_argument(args[0]);
                 if (!index) return DISP_E_TYPEMISMATCH;
                 // The collection counts from 1.
                 if (*index != 1 || !has_artwork) return E_INVALIDARG;
                 answer_object(r, make_artwork(state, track));
                 return S_OK;
               });
  return ComPtr<IDispatch>(artworks.release());
}

ComPtr<IDispatch> make_track(const std::shared_ptr<State>& state, size_t index) {
  ComPtr<DispatchObject> track = DispatchObject::create(L"Track", state->hooks);
  track->add_interface(sabla::IID_IITObject);
  track->add_interface(sabla::IID_IITFileOrCDTrack);
  const PlaylistTrack& t = state->model->tracks()[index];
  const struct {
    const wchar_t* name;
    int32_t value;
  } ids[] = {{L"sourceID", t.ids.source},
             {L"playlistID", t.ids.playlist},
             {L"trackID", t.ids.track},
             {L"TrackDatabaseID", t.ids.database}};
  for (const auto& id : ids) {
    const int32_t value = id.value;
    track->on(MemberKind::kGet, id.name,
              no_arguments([value](VARIANT* r) { answer_int32(r, value); }));
  }
  const struct {
    const wchar_t* name;
    std::wstring value;
  } texts[] = {{L"Name", from_utf8(t.title)},
               {L"Artist", from_utf8(t.artist)},
               {L"Album", from_utf8(t.album)},
               {L"Location", state->files[index].location}};
  for (const auto& text : texts) {
    track->on(MemberKind::kGet, text.name,
              no_arguments([value = text.value](VARIANT* r) { answer_text(r, value); }));
  }
  track->on(MemberKind::kGet, L"Duration",
            no_arguments([seconds = static_cast<int32_t>(t.length_ms / 1000)](VARIANT* r) {
              answer_int32(r, seconds);
            }));
  track->on(MemberKind::kGet, L"Artwork", no_arguments([state, index](VARIANT* r) {
              answer_object(r, make_artworks(state, index));
            }));
  if (state->host_version >= kLyricsHostVersion) {
    track->on(MemberKind::kGet, L"Lyrics", no_arguments([state, index](VARIANT* r) {
                const std::u16string& text = model_of(*state).lyrics(index);
                answer_text(r, std::wstring_view(reinterpret_cast<const wchar_t*>(text.data()),
                                                 text.size()));
              }));
    track->on(MemberKind::kPut, L"Lyrics",
              [state, index](std::span<const VARIANT> args, VARIANT*) -> HRESULT {
                const std::optional<std::wstring> text = text_argument(args[0]);
                if (!text) return DISP_E_TYPEMISMATCH;
                model_of(*state).set_lyrics(
                    index,
                    std::u16string(reinterpret_cast<const char16_t*>(text->data()), text->size()));
                state->print("player: lyrics of track " + std::to_string(index + 1) +
                             " replaced (" + std::to_string(text->size()) + " characters)\n");
                return S_OK;
              });
  }
  return ComPtr<IDispatch>(track.release());
}

ComPtr<IDispatch> make_application(const std::shared_ptr<State>& state) {
  ComPtr<DispatchObject> app = DispatchObject::create(L"iTunes", state->hooks);
  app->add_interface(sabla::IID_IiTunes);
  State& s = *state;
  app->on(MemberKind::kGet, L"PlayerPosition", no_arguments([&s](VARIANT* r) {
            answer_int32(r, static_cast<int32_t>(model_of(s).position_ms() / 1000));
          }));
  app->on(MemberKind::kPut, L"PlayerPosition",
          [&s](std::span<const VARIANT> args, VARIANT*) -> HRESULT {
            const std::optional<int32_t> seconds = int32_argument(args[0]);
            if (!seconds) return DISP_E_TYPEMISMATCH;
            if (*seconds < 0 || *seconds > static_cast<int32_t>(kMaxTrackLengthMs / 1000)) {
              return E_INVALIDARG;
            }
            model_of(s).seek(static_cast<uint32_t>(*seconds) * 1000);
            return S_OK;
          });
  app->on(MemberKind::kGet, L"CurrentTrack", no_arguments([state](VARIANT* r) {
            const PlayerModel& model = model_of(*state);
            answer_object(
                r, model.has_track() ? make_track(state, model.current()) : ComPtr<IDispatch>());
          }));
  app->on(MemberKind::kGet, L"Version", no_arguments([&s](VARIANT* r) {
            answer_text(r, std::to_wstring(s.host_version) + L".0.0.0");
          }));
  app->on(MemberKind::kCall, L"Play", transport(s, &PlayerModel::play));
  app->on(MemberKind::kCall, L"Pause", transport(s, &PlayerModel::pause));
  app->on(MemberKind::kCall, L"Resume", transport(s, &PlayerModel::resume));
  app->on(MemberKind::kCall, L"Stop", transport(s, &PlayerModel::stop));
  app->on(MemberKind::kCall, L"FastForward", transport(s, &PlayerModel::fast_forward));
  app->on(MemberKind::kCall, L"Rewind", transport(s, &PlayerModel::rewind));
  app->on(MemberKind::kCall, L"NextTrack", transport(s, &PlayerModel::next));
  app->on(MemberKind::kCall, L"PreviousTrack", transport(s, &PlayerModel::previous));
  app->on(MemberKind::kCall, L"PlayPause", no_arguments([&s](VARIANT*) {
            PlayerModel& model = model_of(s);
            model.state() == PlayState::kPlaying ? model.pause() : model.play();
          }));
  app->on(MemberKind::kCall, L"GetITObjectByID",
          [state](std::span<const VARIANT> args, VARIANT* r) -> HRESULT {
            if (args.size() != 4) return DISP_E_BADPARAMCOUNT;
            int32_t numbers[4] = {};
            for (size_t i = 0; i < 4; ++i) {
              const std::optional<int32_t> number = int32_argument(args[i]);
              if (!number) return DISP_E_TYPEMISMATCH;
              numbers[i] = *number;
            }
            const std::optional<size_t> found =
                model_of(*state).find({numbers[0], numbers[1], numbers[2], numbers[3]});
            // An unknown id is answered with no object, as the player answers it.
            answer_object(r, found ? make_track(state, *found) : ComPtr<IDispatch>());
            return S_OK;
          });
  return ComPtr<IDispatch>(app.release());
}

class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(std::shared_ptr<State> state) : state_(std::move(state)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    if (!state_->model) return CO_E_SERVER_STOPPING;
    try {
      const ComPtr<IDispatch> app = make_application(state_);
      const HRESULT hr = app->QueryInterface(iid, out);
      if (SUCCEEDED(hr)) ++state_->objects_created;
      return hr;
    } catch (...) {
      return E_OUTOFMEMORY;
    }
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  ~ClassFactory() = default;
  std::shared_ptr<State> state_;
  ULONG references_ = 1;
};

}  // namespace

PlayerAutomation::PlayerAutomation(PlayerModel& model, std::vector<TrackFiles> files,
                                   int host_version, Printer print, bool report_every_call)
    : state_(std::make_shared<State>()) {
  state_->model = &model;
  state_->files = std::move(files);
  state_->files.resize(model.tracks().size());
  state_->host_version = host_version;
  state_->print = std::move(print);
  state_->report_every_call = report_every_call;
  state_->hooks = make_hooks(state_);
}

PlayerAutomation::~PlayerAutomation() {
  if (registered_) CoRevokeClassObject(cookie_);
  state_->model = nullptr;
}

HRESULT PlayerAutomation::register_class() {
  if (registered_) return S_OK;
  const ComPtr<IClassFactory> factory(new ClassFactory(state_));
  const HRESULT hr = CoRegisterClassObject(sabla::CLSID_iTunesApp, factory.get(),
                                           CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie_);
  registered_ = SUCCEEDED(hr);
  return hr;
}

void PlayerAutomation::set_busy(bool busy) { state_->busy = busy; }

std::string PlayerAutomation::usage_report() const {
  std::string report =
      "automation objects created: " + std::to_string(state_->objects_created) + "\n";
  for (const auto& [name, count] : state_->usage) {
    report += "automation " + to_utf8(name) + ": " + std::to_string(count) + "\n";
  }
  return report;
}

}  // namespace standin
