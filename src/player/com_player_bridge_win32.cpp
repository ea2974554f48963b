#include "player/com_player_bridge_win32.h"

#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "player/com_apartment_win32.h"
#include "player/com_ptr_win32.h"
#include "player/dispatch_win32.h"
#include "player/itunes_ids_win32.h"
#include "player/ole_values_win32.h"
#include "player/player_text.h"

namespace sabla {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::wstring wide(std::u16string_view text) {
  return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

std::u16string utf16(std::wstring_view text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

// The application object, asked for the player's own interface; held as IDispatch, which that
// interface extends.
ComPtr<IDispatch> create_player() {
  ComPtr<IDispatch> player;
  if (FAILED(CoCreateInstance(CLSID_iTunesApp, nullptr, CLSCTX_LOCAL_SERVER, IID_IiTunes,
                              player.put_void()))) {
    player.reset();
  }
  return player;
}

ComPtr<IDispatch> object_property(IDispatch* object, const wchar_t* name,
                                  std::span<const VARIANT> args = {}) {
  UniqueVariant answer;
  if (FAILED(get_property(object, name, answer, args))) return {};
  return object_of(answer.get());
}

std::optional<int32_t> int32_property(IDispatch* object, const wchar_t* name,
                                      MemberIds* ids = nullptr) {
  UniqueVariant answer;
  if (FAILED(get_property(object, name, answer, {}, ids))) return std::nullopt;
  return int32_of(answer.get());
}

std::optional<std::wstring> text_property(IDispatch* object, const wchar_t* name) {
  UniqueVariant answer;
  if (FAILED(get_property(object, name, answer))) return std::nullopt;
  return text_of(answer.get());
}

ComPtr<IDispatch> current_track(IDispatch* player) {
  return object_property(player, L"CurrentTrack");
}

// The current track as a file track: tracks of other kinds (streams, shared tracks) have no
// location and no lyrics.
ComPtr<IDispatch> current_file_track(IDispatch* player) {
  ComPtr<IDispatch> file;
  current_track(player).query(IID_IITFileOrCDTrack, file);
  return file;
}

bool call(IDispatch* object, const wchar_t* method) {
  return SUCCEEDED(call_method(object, method));
}

// A track change, confirmed by the player answering for its position afterwards.
bool change_track(IDispatch* player, const wchar_t* method) {
  if (!call(player, method)) return false;
  UniqueVariant position;
  return SUCCEEDED(get_property(player, L"PlayerPosition", position));
}

bool save_track_artwork(IDispatch* player, std::u16string_view path) {
  const ComPtr<IDispatch> track = current_track(player);
  if (!track) return false;
  const ComPtr<IDispatch> collection = object_property(track.get(), L"Artwork");
  if (!collection) return false;
  const VARIANT first = int32_argument(1);
  const ComPtr<IDispatch> artwork =
      object_property(collection.get(), L"Item", std::span<const VARIANT>(&first, 1));
  if (!artwork) return false;
  const UniqueBstr target(wide(path));
  if (!target.get()) return false;
  const VARIANT argument = text_argument(target);
  return SUCCEEDED(
      call_method(artwork.get(), L"SaveArtworkToFile", std::span<const VARIANT>(&argument, 1)));
}

bool same_path(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// What stands in for a song without artwork. When the default picture is the target itself,
// deleting the target would lose it, so it stays as it is.
void put_default_artwork(std::u16string_view path, std::u16string_view default_artwork) {
  const std::wstring target = wide(path);
  const std::wstring source = wide(default_artwork);
  if (same_path(target, source)) return;
  DeleteFileW(target.c_str());
  CopyFileW(source.c_str(), target.c_str(), FALSE);
}

std::optional<std::wstring> current_track_lyrics(IDispatch* player) {
  const ComPtr<IDispatch> track = current_file_track(player);
  if (!track) return std::nullopt;
  return text_property(track.get(), L"Lyrics");
}

bool lyrics_supported(int32_t host_major_version) {
  return host_major_version >= kLyricsHostMajorVersion;
}

}  // namespace

void ComPlayerBridge::begin_session() {
  end_session();
  try {
    auto apartment = std::make_unique<ComApartment>();
    if (!apartment->usable()) return;
    apartment_ = std::move(apartment);
    session_thread_ = GetCurrentThreadId();
  } catch (...) {
    // Without a session every operation reaches the player on its own.
  }
}

void ComPlayerBridge::end_session() {
  if (!apartment_) return;
  player_ids_.forget();
  if (session_thread_ == GetCurrentThreadId()) {
    player_.reset();
    apartment_.reset();
  } else {
    // Another thread may neither release the object nor leave the session thread's apartment:
    // both are let go of untouched.
    static_cast<void>(player_.release());
    static_cast<void>(apartment_.release());
  }
  session_thread_ = 0;
}

// Runs `body` with the application object; `failure` when COM or the player cannot be reached.
// In the session's thread the kept object serves, created when there is none; elsewhere a COM
// apartment and an object of the operation's own, both gone before it returns.
template <class Result, class Body>
Result ComPlayerBridge::in_player(Result failure, Body&& body) {
  if (apartment_ && session_thread_ == GetCurrentThreadId()) {
    if (!player_) {
      player_ids_.forget();
      player_ = create_player();
      if (!player_) return failure;
    }
    const uint32_t gone_before = server_gone_count();
    // The body may end up in a message loop (a proxy waiting for its answer) that ends the
    // session; the reference held here keeps the object alive until the body is done.
    const ComPtr<IDispatch> player = ComPtr<IDispatch>::copy_of(player_.get());
    Result result = body(player.get());
    if (server_gone_count() != gone_before && player_.get() == player.get()) {
      player_ids_.forget();
      player_.reset();
    }
    return result;
  }
  ComApartment apartment;
  if (!apartment.usable()) return failure;
  ComPtr<IDispatch> player = create_player();
  if (!player) return failure;
  return body(player.get());
}

// The busy test, then `body` in the player. Nothing thrown gets past an operation.
template <class Result, class Body>
Result ComPlayerBridge::with_player(StatusMessage& status, Result failure, Body&& body) {
  try {
    if (check_player_busy(windows_, status)) return failure;
    return in_player(failure, body);
  } catch (...) {
    return failure;
  }
}

bool ComPlayerBridge::seek(int32_t seconds, StatusMessage& status) {
  return with_player(status, false, [&](IDispatch* player) {
    return SUCCEEDED(
        put_property(player, L"PlayerPosition", int32_argument(seconds), ids_for(player)));
  });
}

int32_t ComPlayerBridge::player_position(StatusMessage& status) {
  return with_player(status, int32_t{-1}, [this](IDispatch* player) {
    const std::optional<int32_t> seconds =
        int32_property(player, L"PlayerPosition", ids_for(player));
    return seconds && *seconds >= 0 ? *seconds : -1;
  });
}

bool ComPlayerBridge::has_current_track(StatusMessage& status) {
  return with_player(status, false,
                     [](IDispatch* player) { return static_cast<bool>(current_track(player)); });
}

bool ComPlayerBridge::play_current(StatusMessage& status) {
  return with_player(status, false, [](IDispatch* player) {
    return current_track(player) && call(player, L"Play");
  });
}

bool ComPlayerBridge::pause(StatusMessage& status) {
  return with_player(status, false,
                     [](IDispatch* player) { return call(player, L"Pause"); });
}

bool ComPlayerBridge::fast_forward(StatusMessage& status) {
  return with_player(status, false,
                     [](IDispatch* player) { return call(player, L"FastForward"); });
}

bool ComPlayerBridge::rewind(StatusMessage& status) {
  return with_player(status, false,
                     [](IDispatch* player) { return call(player, L"Rewind"); });
}

bool ComPlayerBridge::previous_track(StatusMessage& status) {
  return with_player(status, false,
                     [](IDispatch* player) { return change_track(player, L"PreviousTrack"); });
}

bool ComPlayerBridge::next_track(StatusMessage& status) {
  return with_player(status, false,
                     [](IDispatch* player) { return change_track(player, L"NextTrack"); });
}

bool ComPlayerBridge::current_track_ids(PlayerTrackIds& ids, StatusMessage& status) {
  // Stale numbers would later aim a lyrics write at another song, so they never survive a
  // failed read.
  ids = {};
  return with_player(status, false, [&](IDispatch* player) {
    ComPtr<IDispatch> object;
    current_track(player).query(IID_IITObject, object);
    if (!object) return false;
    const std::array<const wchar_t*, 4> names = {L"sourceID", L"playlistID", L"trackID",
                                                 L"TrackDatabaseID"};
    std::array<int32_t, 4> numbers = {};
    for (size_t i = 0; i < names.size(); ++i) {
      const std::optional<int32_t> number = int32_property(object.get(), names[i]);
      if (!number) return false;
      numbers[i] = *number;
    }
    ids = {numbers[0], numbers[1], numbers[2], numbers[3]};
    return true;
  });
}

bool ComPlayerBridge::current_track_location(std::u16string& path, StatusMessage& status) {
  path.clear();
  return with_player(status, false, [&](IDispatch* player) {
    const ComPtr<IDispatch> track = current_file_track(player);
    if (!track) return false;
    const std::optional<std::wstring> location = text_property(track.get(), L"Location");
    if (!location) return false;
    std::u16string found = fit_to_buffer(utf16(*location), kPathBufferUnits);
    if (is_stream_location(found)) return false;
    path = std::move(found);
    return true;
  });
}

bool ComPlayerBridge::save_artwork(std::u16string_view path, std::u16string_view default_artwork,
                                   StatusMessage& status) {
  try {
    if (check_player_busy(windows_, status)) return false;
    if (!in_player(false, [&](IDispatch* player) { return save_track_artwork(player, path); })) {
      put_default_artwork(path, default_artwork);
    }
    return true;
  } catch (...) {
    return false;
  }
}

bool ComPlayerBridge::write_lyrics(const PlayerTrackIds& ids, std::u16string_view lyrics,
                                   int32_t host_major_version, StatusMessage& status) {
  if (!lyrics_supported(host_major_version)) return false;
  return with_player(status, false, [&](IDispatch* player) {
    const std::array<VARIANT, 4> numbers = {
        int32_argument(ids.source_id), int32_argument(ids.playlist_id),
        int32_argument(ids.track_id), int32_argument(ids.database_id)};
    UniqueVariant answer;
    if (FAILED(call_method(player, L"GetITObjectByID", numbers, answer))) return false;
    ComPtr<IDispatch> track;
    object_of(answer.get()).query(IID_IITFileOrCDTrack, track);
    if (!track) return false;
    const UniqueBstr text(wide(lyrics_for_player(lyrics)));
    if (!text.get()) return false;
    return SUCCEEDED(put_property(track.get(), L"Lyrics", text_argument(text)));
  });
}

bool ComPlayerBridge::has_lyrics(int32_t host_major_version, StatusMessage& status) {
  if (!lyrics_supported(host_major_version)) return false;
  return with_player(status, false, [](IDispatch* player) {
    const std::optional<std::wstring> text = current_track_lyrics(player);
    return text && !text->empty();
  });
}

bool ComPlayerBridge::read_lyrics(SongLyrics& lyrics, int32_t host_major_version,
                                  StatusMessage& status) {
  lyrics = {};
  if (!lyrics_supported(host_major_version)) return false;
  return with_player(status, false, [&](IDispatch* player) {
    const std::optional<std::wstring> text = current_track_lyrics(player);
    if (!text) return false;
    lyrics.text = fit_to_buffer(utf16(*text), kLyricsBufferUnits);
    lyrics.has = !lyrics.text.empty();
    return lyrics.has;
  });
}

}  // namespace sabla
