#pragma once
// The help file beside the library and the popup topics of the options window's controls.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sabla {

inline constexpr std::u16string_view kHelpFileName = u"Sabla.chm";
inline constexpr std::u16string_view kPopupTopicFile = u"::/popup.txt";

// The window a control's help popup is placed by: several pages reuse control ids, so the
// topic table also says whose control it means.
enum class OptionsPage { kFrame = -1, kInSong = 0, kExternal = 1, kBasic = 2, kDesign = 3 };

struct HelpTopic {
  int32_t topic = 0;
  OptionsPage page = OptionsPage::kFrame;
  // The two lyric editors are tall: their popup goes just below their top edge, not below them.
  bool below_top_edge = false;
};

// The popup topic of a control, or nothing for a control without one.
std::optional<HelpTopic> help_topic_for(int32_t control_id);


// The help file of the library at `module_path`: "Sabla.chm" in the library's own folder.
std::u16string help_file_path(std::u16string_view module_path);

}  // namespace sabla
