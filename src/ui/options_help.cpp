#include "ui/options_help.h"

#include <array>

namespace sabla {
namespace {

struct TopicEntry {
  int32_t control_id;
  HelpTopic topic;
};

using P = OptionsPage;

constexpr std::array kTopics{
    TopicEntry{1, {501, P::kFrame}},          TopicEntry{2, {502, P::kFrame}},
    TopicEntry{4, {503, P::kFrame}},          TopicEntry{9, {504, P::kFrame}},
    TopicEntry{1002, {1001, P::kExternal, true}}, TopicEntry{1092, {1001, P::kInSong, true}},
    TopicEntry{1003, {1002, P::kExternal}},   TopicEntry{1101, {1002, P::kInSong}},
    TopicEntry{1033, {1003, P::kExternal}},   TopicEntry{1100, {1003, P::kInSong}},
    TopicEntry{1018, {1004, P::kExternal}},   TopicEntry{1099, {1004, P::kInSong}},
    TopicEntry{1036, {1006, P::kExternal}},   TopicEntry{1094, {1006, P::kInSong}},
    TopicEntry{1035, {1007, P::kExternal}},   TopicEntry{1013, {1008, P::kExternal}},
    TopicEntry{1039, {1009, P::kBasic}},      TopicEntry{1118, {1010, P::kBasic}},
    TopicEntry{1043, {1011, P::kExternal}},   TopicEntry{1044, {1011, P::kExternal}},
    TopicEntry{1042, {1012, P::kExternal}},   TopicEntry{1045, {1013, P::kExternal}},
    TopicEntry{1046, {1014, P::kExternal}},   TopicEntry{1096, {1014, P::kInSong}},
    TopicEntry{1084, {1015, P::kExternal}},   TopicEntry{1085, {1015, P::kExternal}},
    TopicEntry{1104, {1015, P::kInSong}},     TopicEntry{1105, {1015, P::kInSong}},
    TopicEntry{1086, {1016, P::kExternal}},   TopicEntry{1106, {1016, P::kInSong}},
    TopicEntry{1093, {1016, P::kInSong}},     TopicEntry{1107, {1016, P::kExternal}},
    TopicEntry{1095, {1017, P::kInSong}},     TopicEntry{1020, {1018, P::kExternal}},
    TopicEntry{1102, {1018, P::kInSong}},     TopicEntry{1103, {1019, P::kInSong}},
    // The basic settings page.
    TopicEntry{1007, {1101, P::kBasic}},      TopicEntry{1031, {1102, P::kBasic}},
    TopicEntry{1005, {1103, P::kBasic}},      TopicEntry{1015, {1104, P::kBasic}},
    TopicEntry{1016, {1104, P::kBasic}},      TopicEntry{1081, {1104, P::kBasic}},
    TopicEntry{1006, {1105, P::kBasic}},      TopicEntry{1034, {1106, P::kBasic}},
    TopicEntry{1038, {1107, P::kBasic}},      TopicEntry{1041, {1108, P::kBasic}},
    TopicEntry{1072, {1109, P::kBasic}},      TopicEntry{1082, {1110, P::kBasic}},
    TopicEntry{1113, {1111, P::kBasic}},      TopicEntry{1114, {1112, P::kBasic}},
    TopicEntry{1112, {1113, P::kBasic}},
    // The design page.
    TopicEntry{1022, {1201, P::kDesign}},     TopicEntry{1019, {1202, P::kDesign}},
    TopicEntry{1024, {1203, P::kDesign}},     TopicEntry{1023, {1204, P::kDesign}},
    TopicEntry{1025, {1205, P::kDesign}},     TopicEntry{1055, {1206, P::kDesign}},
    TopicEntry{1058, {1207, P::kDesign}},     TopicEntry{1054, {1208, P::kDesign}},
    TopicEntry{1057, {1209, P::kDesign}},     TopicEntry{1066, {1210, P::kDesign}},
    TopicEntry{1070, {1211, P::kDesign}},     TopicEntry{1073, {1212, P::kDesign}},
    TopicEntry{1074, {1213, P::kDesign}},     TopicEntry{1059, {1214, P::kDesign}},
    TopicEntry{1060, {1215, P::kDesign}},     TopicEntry{1109, {1219, P::kDesign}},
    TopicEntry{1026, {1221, P::kDesign}},     TopicEntry{1111, {1222, P::kDesign}},
};

}  // namespace

std::optional<HelpTopic> help_topic_for(int32_t control_id) {
  for (const TopicEntry& entry : kTopics) {
    if (entry.control_id == control_id) return entry.topic;
  }
  return std::nullopt;
}

std::u16string help_file_path(std::u16string_view module_path) {
  // The library may have been renamed; its folder is what counts.
  const size_t slash = module_path.find_last_of(u"\\/");
  std::u16string path(slash == std::u16string_view::npos ? std::u16string_view{}
                                                         : module_path.substr(0, slash + 1));
  path += kHelpFileName;
  return path;
}

}  // namespace sabla
