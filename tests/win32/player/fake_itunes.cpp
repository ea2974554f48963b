#include "fake_itunes.h"

#include <algorithm>

#include "player/itunes_ids_win32.h"

namespace sabla::test {
namespace {

using Kind = FakeDispatch::Kind;

bool write_file(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size();
  CloseHandle(file);
  return ok;
}

// A member without arguments that only changes the model.
FakeDispatch::Handler action(std::function<void()> act) {
  return [act = std::move(act)](std::span<VARIANT> args, VARIANT*) {
    if (!args.empty()) return DISP_E_BADPARAMCOUNT;
    act();
    return S_OK;
  };
}

FakeDispatch::Handler long_getter(std::function<int32_t()> read) {
  return [read = std::move(read)](std::span<VARIANT> args, VARIANT* result) {
    if (!args.empty()) return DISP_E_BADPARAMCOUNT;
    set_long(result, read());
    return S_OK;
  };
}

}  // namespace

FakeItunes::FakeItunes()
    : factory_(FakeClassFactory::create(script, [this] { return make_player(); })) {}

ComPtr<IDispatch> FakeItunes::make_player() {
  ComPtr<FakeDispatch> player = FakeDispatch::create(script, L"iTunes");
  player->add_interface(IID_IiTunes, L"IiTunes");
  player->on(Kind::get, L"PlayerPosition", long_getter([this] { return position; }));
  player->on(Kind::put, L"PlayerPosition", [this](std::span<VARIANT> args, VARIANT*) {
    const std::optional<int32_t> seconds = long_argument(args[0]);
    if (!seconds) return DISP_E_TYPEMISMATCH;
    position = *seconds;
    return S_OK;
  });
  player->on(Kind::get, L"CurrentTrack", [this](std::span<VARIANT> args, VARIANT* result) {
    if (!args.empty()) return DISP_E_BADPARAMCOUNT;
    set_object(result,
               current >= 0 ? make_track(static_cast<size_t>(current)) : ComPtr<IDispatch>());
    return S_OK;
  });
  player->on(Kind::call, L"Play", action([this] { playing = current >= 0; }));
  player->on(Kind::call, L"Pause", action([this] { playing = false; }));
  player->on(Kind::call, L"FastForward", action([this] { position += 10; }));
  player->on(Kind::call, L"Rewind",
             action([this] { position = position > 10 ? position - 10 : 0; }));
  player->on(Kind::call, L"PreviousTrack", action([this] { change_track(-1); }));
  player->on(Kind::call, L"NextTrack", action([this] { change_track(1); }));
  player->on(Kind::call, L"GetITObjectByID", [this](std::span<VARIANT> args, VARIANT* result) {
    if (args.size() != 4) return DISP_E_BADPARAMCOUNT;
    int32_t numbers[4] = {};
    for (size_t i = 0; i < 4; ++i) {
      const std::optional<int32_t> number = long_argument(args[i]);
      if (!number) return DISP_E_TYPEMISMATCH;
      numbers[i] = *number;
    }
    const PlayerTrackIds wanted = {numbers[0], numbers[1], numbers[2], numbers[3]};
    for (size_t i = 0; i < tracks.size(); ++i) {
      if (tracks[i].ids == wanted) {
        set_object(result, make_track(i));
        return S_OK;
      }
    }
    set_object(result, ComPtr<IDispatch>());  // the player answers an unknown id with no object
    return S_OK;
  });
  return ComPtr<IDispatch>(player.release());
}

ComPtr<IDispatch> FakeItunes::make_track(size_t index) {
  ComPtr<FakeDispatch> track = FakeDispatch::create(script, L"Track");
  track->add_interface(IID_IITObject, L"IITObject");
  if (tracks[index].is_file) track->add_interface(IID_IITFileOrCDTrack, L"IITFileOrCDTrack");
  track->on(Kind::get, L"sourceID",
            long_getter([this, index] { return tracks[index].ids.source_id; }));
  track->on(Kind::get, L"playlistID",
            long_getter([this, index] { return tracks[index].ids.playlist_id; }));
  track->on(Kind::get, L"trackID",
            long_getter([this, index] { return tracks[index].ids.track_id; }));
  track->on(Kind::get, L"TrackDatabaseID",
            long_getter([this, index] { return tracks[index].ids.database_id; }));
  track->on(Kind::get, L"Location", [this, index](std::span<VARIANT> args, VARIANT* result) {
    if (!args.empty()) return DISP_E_BADPARAMCOUNT;
    set_bstr(result, tracks[index].location);
    return S_OK;
  });
  track->on(Kind::get, L"Lyrics", [this, index](std::span<VARIANT> args, VARIANT* result) {
    if (!args.empty()) return DISP_E_BADPARAMCOUNT;
    set_bstr(result, tracks[index].lyrics);
    return S_OK;
  });
  track->on(Kind::put, L"Lyrics", [this, index](std::span<VARIANT> args, VARIANT*) {
    const std::optional<std::wstring> text = bstr_argument(args[0]);
    if (!text) return DISP_E_TYPEMISMATCH;
    tracks[index].lyrics = *text;
    return S_OK;
  });
  track->on(Kind::get, L"Artwork", [this, index](std::span<VARIANT> args, VARIANT* result) {
    if (!args.empty()) return DISP_E_BADPARAMCOUNT;
    set_object(result, make_artworks(index));
    return S_OK;
  });
  return ComPtr<IDispatch>(track.release());
}

ComPtr<IDispatch> FakeItunes::make_artworks(size_t index) {
  ComPtr<FakeDispatch> artworks = FakeDispatch::create(script, L"Artworks");
  artworks->on(Kind::get, L"Count",
               long_getter([this, index] { return tracks[index].artwork ? 1 : 0; }));
  artworks->on(Kind::get, L"Item", [this, index](std::span<VARIANT> args, VARIANT* result) {
    if (args.size() != 1) return DISP_E_BADPARAMCOUNT;
    const std::optional<int32_t> position = long_argument(args[0]);
    if (!position) return DISP_E_TYPEMISMATCH;
    // The collection counts from 1.
    if (*position != 1 || !tracks[index].artwork) return E_INVALIDARG;
    set_object(result, make_artwork(index));
    return S_OK;
  });
  return ComPtr<IDispatch>(artworks.release());
}

ComPtr<IDispatch> FakeItunes::make_artwork(size_t index) {
  ComPtr<FakeDispatch> artwork = FakeDispatch::create(script, L"Artwork");
  artwork->on(Kind::call, L"SaveArtworkToFile", [this, index](std::span<VARIANT> args, VARIANT*) {
    if (args.size() != 1) return DISP_E_BADPARAMCOUNT;
    const std::optional<std::wstring> path = bstr_argument(args[0]);
    if (!path) return DISP_E_TYPEMISMATCH;
    return tracks[index].artwork && write_file(*path, *tracks[index].artwork) ? S_OK : E_FAIL;
  });
  return ComPtr<IDispatch>(artwork.release());
}

void FakeItunes::change_track(int step) {
  position = 0;
  if (current < 0 || tracks.empty()) return;
  const int last = static_cast<int>(tracks.size()) - 1;
  current = std::clamp(current + step, 0, last);
}

}  // namespace sabla::test
